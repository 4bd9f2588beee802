#include "device/firmware_version.h"

#include <cctype>
#include <cstdio>

namespace {

// Larger settings versions are all "newer"; stop before the number overflows.
constexpr long kVersionCeiling = 1000000000L;

}  // namespace

bool IsFirmwareOutOfDate(std::int32_t version) {
  return version < kRequiredFirmwareVersion;
}

bool IsNewerProgramVersion(const char* versionText) {
  if (versionText == nullptr) return false;
  const char* at = versionText;
  while (std::isspace(static_cast<unsigned char>(*at))) ++at;
  bool negative = false;
  if (*at == '+' || *at == '-') negative = *at++ == '-';
  long value = 0;
  while (std::isdigit(static_cast<unsigned char>(*at)) && value < kVersionCeiling) {
    value = value * 10 + (*at++ - '0');
  }
  if (negative) value = -value;
  return value > kProgramVersionNumber;
}

void FormatFirmwareVersion(std::int32_t version, char* out, std::size_t size) {
  std::snprintf(out, size, "%1x.%2x", static_cast<unsigned>(version >> 8) & 0xFFu,
                static_cast<unsigned>(version) & 0xFFu);
}
