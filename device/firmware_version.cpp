#include "device/firmware_version.h"

#include <cstdio>

bool IsFirmwareOutOfDate(std::int32_t version) {
  return version < kRequiredFirmwareVersion;
}

void FormatFirmwareVersion(std::int32_t version, char* out, std::size_t size) {
  std::snprintf(out, size, "%1x.%2x", static_cast<unsigned>(version >> 8) & 0xFFu,
                static_cast<unsigned>(version) & 0xFFu);
}
