#pragma once
// The version rules the program applies to the receiver's firmware and to itself.

#include <cstddef>
#include <cstdint>

// The version of the firmware image the program carries (shown as 1.96).
constexpr std::int32_t kRequiredFirmwareVersion = 0x0196;

// Whether a receiver reporting `version` must be upgraded.
bool IsFirmwareOutOfDate(std::int32_t version);

// Reads a firmware version written as the about box shows it, major and minor in hexadecimal
// ("1.96"), or as one number ("0x0196", "406"). False, `version` unchanged, for anything else.
bool ParseFirmwareVersion(const char* text, std::uint16_t& version);

// Formats a firmware version as the about box shows it: major and minor in hexadecimal, the
// minor padded to two characters with a space ("1.96", "0. 0").
void FormatFirmwareVersion(std::int32_t version, char* out, std::size_t size);
