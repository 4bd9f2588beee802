#include "online/preset_download.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "common/log.h"
#include "online/http_download.h"

namespace {

constexpr int kLoggedMessageLength = 63;

int FetchInto(const char* address, std::span<unsigned char> buffer, std::string& error,
              const std::atomic<bool>* cancel = nullptr) {
  std::string body;
  if (!HttpGet(address, std::min(buffer.size(), kDownloadFileLimit), body, error, cancel)) {
    return -1;
  }
  std::memcpy(buffer.data(), body.data(), body.size());
  return static_cast<int>(body.size());
}

}  // namespace

int DownloadFile(const char* address, std::span<unsigned char> buffer,
                 const std::atomic<bool>* cancel) {
  std::string error;
  int count = FetchInto(address, buffer, error, cancel);
  if (count < 0) Log("%.*s", kLoggedMessageLength, error.c_str());
  return count;
}

bool FetchPresetList(const char* address, std::vector<PresetEntry>& out, std::string& error) {
  SettingsDocument document;
  if (!DownloadSettings(document, address, error)) {
    error = "cannot read the settings document: " + error;
    return false;
  }
  XmlResults results;
  if (!ParseSettings(document, results)) {
    char detail[96];
    std::snprintf(detail, sizeof detail, "XML error %d at line %d, column %d", results.error,
                  results.line, results.column);
    error = std::string("the settings document is not valid: ") + detail;
    return false;
  }
  out = std::move(document.presets);
  return true;
}

bool DownloadPreset(const char* address, std::vector<unsigned char>& out, std::string& error) {
  std::array<unsigned char, kDownloadFileLimit> buffer;
  int count = FetchInto(address, buffer, error);
  if (count < 0) {
    error = "cannot download the preset: " + error;
    return false;
  }
  if (static_cast<std::size_t>(count) > kPresetFileLimit) {
    error = "the preset file is larger than " + std::to_string(kPresetFileLimit) + " bytes";
    return false;
  }
  out.assign(buffer.begin(), buffer.begin() + count);
  return true;
}
