#include "device/firmware_version.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr unsigned long kMaxVersion = 0xFFFF;
constexpr unsigned long kMaxVersionByte = 0xFF;
constexpr int kVersionShift = 8;
}  // namespace

bool IsFirmwareOutOfDate(std::int32_t version) {
  return version < kRequiredFirmwareVersion;
}

void FormatFirmwareVersion(std::int32_t version, char* out, std::size_t size) {
  std::snprintf(out, size, "%1x.%2x", static_cast<unsigned>(version >> 8) & 0xFFu,
                static_cast<unsigned>(version) & 0xFFu);
}

bool ParseFirmwareVersion(const char* text, std::uint16_t& version) {
  // strtoul would take blanks and signs in front of the digits too.
  if (text == nullptr || !std::isxdigit(static_cast<unsigned char>(text[0]))) return false;
  char* end = nullptr;
  if (const char* dot = std::strchr(text, '.')) {
    if (!std::isxdigit(static_cast<unsigned char>(dot[1]))) return false;
    const unsigned long major = std::strtoul(text, &end, 16);
    if (end == text || end != dot || major > kMaxVersionByte) return false;
    const unsigned long minor = std::strtoul(dot + 1, &end, 16);
    if (end == dot + 1 || *end != '\0' || minor > kMaxVersionByte) return false;
    version = static_cast<std::uint16_t>(major << kVersionShift | minor);
    return true;
  }
  if (!std::isdigit(static_cast<unsigned char>(text[0]))) return false;
  const unsigned long value = std::strtoul(text, &end, 0);
  if (end == text || *end != '\0' || value > kMaxVersion) return false;
  version = static_cast<std::uint16_t>(value);
  return true;
}
