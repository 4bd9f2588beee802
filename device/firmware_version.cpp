#include "device/firmware_version.h"

#include <cstdio>
#include <string_view>

namespace {

constexpr unsigned kMaxVersion = 0xFFFF;
constexpr int kVersionShift = 8;

// Whether `text` is 1 to `maxDigits` digits of base 16 (or 10) and nothing else (no signs, no
// spaces); sets `value`.
bool ParseDigits(std::string_view text, std::size_t maxDigits, unsigned base, unsigned& value) {
  if (text.empty() || text.size() > maxDigits) return false;
  value = 0;
  for (char c : text) {
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return false;
    }
    value = value * base + digit;
  }
  return true;
}

}  // namespace

bool IsFirmwareOutOfDate(std::int32_t version) {
  return version < kRequiredFirmwareVersion;
}

void FormatFirmwareVersion(std::int32_t version, char* out, std::size_t size) {
  std::snprintf(out, size, "%1x.%2x", static_cast<unsigned>(version >> 8) & 0xFFu,
                static_cast<unsigned>(version) & 0xFFu);
}

bool ParseFirmwareVersion(const char* text, std::uint16_t& version) {
  if (text == nullptr) return false;
  const std::string_view written(text);
  unsigned value = 0;
  if (const std::size_t dot = written.find('.'); dot != std::string_view::npos) {
    unsigned minor = 0;
    if (!ParseDigits(written.substr(0, dot), 2, 16, value) ||
        !ParseDigits(written.substr(dot + 1), 2, 16, minor)) {
      return false;
    }
    value = value << kVersionShift | minor;
  } else if (written.starts_with("0x") || written.starts_with("0X")) {
    if (!ParseDigits(written.substr(2), 4, 16, value)) return false;
  } else if (!ParseDigits(written, 5, 10, value) || value > kMaxVersion) {
    return false;
  }
  version = static_cast<std::uint16_t>(value);
  return true;
}
