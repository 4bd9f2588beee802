#pragma once
// The version rules the program applies to the receiver's firmware and to itself.

#include <cstddef>
#include <cstdint>

// The version of the firmware image the program carries (shown as 1.96).
constexpr std::int32_t kRequiredFirmwareVersion = 0x0196;
// The program's own version "1.3" as a number.
constexpr std::int32_t kProgramVersionNumber = 103;

// Whether a receiver reporting `version` must be upgraded.
bool IsFirmwareOutOfDate(std::int32_t version);

// Whether the settings document's version text, read as a decimal integer (missing, empty or
// unreadable reads as 0), names a newer program than this one.
bool IsNewerProgramVersion(const char* versionText);

// Formats a firmware version as the about box shows it: major and minor in hexadecimal, the
// minor padded to two characters with a space ("1.96", "0. 0").
void FormatFirmwareVersion(std::int32_t version, char* out, std::size_t size);
