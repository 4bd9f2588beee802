#include "demo/bundled_presets.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace {

constexpr const char* kSettingsFile = "tarnwick270/settings.xml";

bool IsPlainInAddress(unsigned char c) {
  return std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
}

}  // namespace

std::string BundledSettingsAddress(const std::string& programFolder,
                                   const std::string& sourceFolder) {
  namespace fs = std::filesystem;
  const fs::path candidates[] = {
      fs::path(programFolder) / "presets",
      fs::path(programFolder) / ".." / "share" / "corsaro270" / "presets",
      fs::path(programFolder) / ".." / ".." / "assets" / "presets",
      fs::path(sourceFolder) / "assets" / "presets",
  };
  for (const fs::path& folder : candidates) {
    if (folder.empty()) continue;
    std::error_code error;
    const fs::path settings = fs::weakly_canonical(fs::absolute(folder / kSettingsFile), error);
    if (!error && fs::is_regular_file(settings, error)) {
      return FileAddress(settings.generic_string());
    }
  }
  return {};
}

std::string FileAddress(const std::string& absolutePath) {
  std::string address = "file://";
  std::size_t start = 0;
  // A Windows path begins with its drive, which the address keeps as it stands: file:///C:/...
  if (absolutePath.size() >= 2 && absolutePath[1] == ':' &&
      std::isalpha(static_cast<unsigned char>(absolutePath[0]))) {
    address += "/" + absolutePath.substr(0, 2);
    start = 2;
  }
  for (unsigned char c : absolutePath.substr(start)) {
    if (IsPlainInAddress(c)) {
      address += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      address += escaped;
    }
  }
  return address;
}
