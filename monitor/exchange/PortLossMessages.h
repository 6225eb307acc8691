// What the operator is told when the port is gone while settings are to go out. The
// engine tells them during a write; the set-data dialogs refuse a load with the same
// words before it changes any table.
#pragma once

namespace PortLossMsg {

inline constexpr char WriteNotSent[] =
    "通信が切れているため、設定値を送信できませんでした。通信が回復してから、もう一度操作してください。";
inline constexpr char WriteCut[] =
    "通信が切れたため、設定値の送信を確認できませんでした。通信が回復したら設定値を確認してください。";
inline constexpr char AlarmValuesWait[] = "通信が切れました。警報設定値は通信が回復してから送信します。";

}  // namespace PortLossMsg
