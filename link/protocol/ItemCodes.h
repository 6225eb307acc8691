// The data items as they travel on the line: four upper-case hex digits each.
#pragma once

#include <array>

namespace ItemCodes {

inline constexpr char Presence[] = "00A0";
inline constexpr char InputOption[] = "00A1";
inline constexpr char PV[] = "0080";
inline constexpr char HeatMV[] = "0081";
inline constexpr char HeaterCurrent[] = "0082";
inline constexpr char Status[] = "0083";
// The first parameter: the set value.
inline constexpr char SV[] = "0001";
// Written only: the factory-initialisation command.
inline constexpr char FactoryInit[] = "0040";

// Every item the monitor reads, in the order of its item table: the six monitoring and
// inquiry items, then the 32 parameters "0001".."0020".
inline constexpr std::array<const char*, 38> All = {
    "00A0", "00A1", "0080", "0081", "0082", "0083", "0001", "0002", "0003", "0004",
    "0005", "0006", "0007", "0008", "0009", "000A", "000B", "000C", "000D", "000E",
    "000F", "0010", "0011", "0012", "0013", "0014", "0015", "0016", "0017", "0018",
    "0019", "001A", "001B", "001C", "001D", "001E", "001F", "0020"};

}  // namespace ItemCodes
