#include "online/settings_document.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#include "common/log.h"
#include "online/http_download.h"

#ifndef CORSARO_PRESET_HOST
#define CORSARO_PRESET_HOST "presets.corsaro270.example"
#endif

const char kSettingsAddress[] = "http://" CORSARO_PRESET_HOST "/tarnwick270/settings.xml";
const char kSettingsDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";

SettingsDocument Settings;

namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return false;
  }
  return true;
}

bool IsCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Copies text into a field of size bytes, cut so no character is split, and terminates it.
void CopyField(char* field, std::size_t size, const char* text) {
  std::size_t length = text != nullptr ? std::strlen(text) : 0;
  if (length >= size) {
    length = size - 1;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  if (length > 0) std::memcpy(field, text, length);
  field[length] = '\0';
}

const char* FirstText(const XmlNode& parent, const char* name) {
  const char* text = Text(Child(parent, name), 0);
  return text != nullptr ? text : "";
}

// True when address starts with a scheme such as "http:".
bool HasScheme(const char* address) {
  const char* p = address;
  if (!((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z'))) return false;
  while ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || IsDigit(*p) || *p == '+' ||
         *p == '-' || *p == '.') {
    ++p;
  }
  return *p == ':';
}

bool IsNetworkAddress(const char* address) {
  return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

void FillPreset(const XmlNode& preset, const std::string& base, PresetEntry& entry) {
  CopyField(entry.name, sizeof entry.name, FirstText(preset, "name"));
  CopyField(entry.note, sizeof entry.note, FirstText(preset, "note"));
  for (char& c : entry.note) {
    if (c == '~') c = '\n';
  }
  entry.type = ReadDecimal(FirstText(preset, "type"));

  // A file named relative to the document is fetched from beside it, wherever it is served.
  const char* file = FirstText(preset, "file");
  std::string resolved;
  if (*file != '\0' && !HasScheme(file) && !base.empty() &&
      ResolveAddress(base.c_str(), file, resolved)) {
    file = resolved.c_str();
  }
  // A document from the network must not make us read local files (or block on a device).
  if (IsNetworkAddress(base.c_str()) && *file != '\0' && !IsNetworkAddress(file)) {
    Log("Preset \"%s\" ignored: its file is not on the network", entry.name);
    file = "";
  }
  CopyField(entry.file, sizeof entry.file, file);
}

}  // namespace

std::int32_t ReadDecimal(const char* text) {
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  while (IsCSpace(*text)) ++text;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  std::int64_t value = 0;
  for (; IsDigit(*text); ++text) value = std::min(value * 10 + (*text - '0'), kLimit);
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(std::min(value, kLimit - 1));
}

bool DownloadSettings(SettingsDocument& document, const char* address, std::string& error) {
  return DownloadSettings(document, address, GetDownloadTimeouts(), error);
}

bool DownloadSettings(SettingsDocument& document, const char* address,
                      const DownloadTimeouts& timeouts, std::string& error) {
  std::string body;
  if (!HttpGet(address, kSettingsLimit, timeouts, body, error)) return false;
  document.address = address;
  document.text = std::move(body);
  if (!StartsWithNoCase(document.text, kSettingsDeclaration)) {
    error = "the document does not start with the expected XML declaration";
    return false;
  }
  return true;
}

bool ParseSettings(SettingsDocument& document, XmlResults& results) {
  XmlNode root = Parse(document.text.c_str(), "settings", results);
  if (results.error != XML_ERROR_NONE) return false;

  document.version = FirstText(root, "version");
  document.downloadPage = FirstText(root, "download");
  document.supportPage = FirstText(root, "support");
  if (ReadDecimal(document.version.c_str()) > kAppVersionNumber) {
    document.newerAppAvailable = true;
  }

  XmlNode presets = Child(root, "presets");
  int count = Count(presets, "preset");
  document.presets.assign(static_cast<std::size_t>(count), PresetEntry{});
  for (int i = 0; i < count; ++i) {
    FillPreset(Child(presets, "preset", i), document.address,
               document.presets[static_cast<std::size_t>(i)]);
  }
  return true;
}

bool DownloadSettings(const char* address) {
  SettingsDocument downloaded;
  std::string error;
  const bool succeeded = DownloadSettings(downloaded, address, error);
  return AdoptSettingsDownload(address, downloaded, succeeded, error);
}

bool AdoptSettingsDownload(const char* address, SettingsDocument& downloaded, bool succeeded,
                           const std::string& error) {
  if (!succeeded) {
    Log("Settings download from %s failed: %s", address != nullptr ? address : "(none)",
        error.c_str());
    return false;
  }
  Settings.address = std::move(downloaded.address);
  Settings.text = std::move(downloaded.text);
  return true;
}

void ParseSettings() {
  XmlResults results;
  if (!ParseSettings(Settings, results)) {
    Log("Settings document not read: XML error %d at line %d, column %d", results.error,
        results.line, results.column);
  }
}
