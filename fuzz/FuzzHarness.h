// The fuzz harnesses: each takes one input of arbitrary bytes, runs it through the code
// that meets such bytes in the field and checks what must hold whatever the bytes are.
// They return an empty string when every check held, otherwise what broke. The libFuzzer
// programs abort on a non-empty answer; the replay test of the normal suite runs the
// committed corpora and every past finding through the same functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A byte stream as the link reads it off the line: reply assembly, the checksum check,
// field cutting and the engine's storing of a read reply into the channel tables.
std::string FuzzReplyStream(const std::uint8_t* data, std::size_t size);

// A set-data file of any content: channel file, block file, all-channel file and the
// value reader with the text rules the channel loader applies.
std::string FuzzSetDataFile(const std::uint8_t* data, std::size_t size);

// The settings store's file of any content, then the reads of the start-up: port and
// speed, the scaling of every channel, names, chart, logging and view choices.
std::string FuzzSettingsFile(const std::uint8_t* data, std::size_t size);

// Points the settings store at a temporary folder of its own (XDG_CONFIG_HOME), once per
// process and before its first use, so no harness ever touches the user's settings.
void UseFuzzSettingsStore();
