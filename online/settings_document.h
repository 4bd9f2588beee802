#pragma once
// The settings document of the preset server: the latest program version, the pages to download
// it from and to get support, and the presets the preset dialog offers. It is fetched once at
// start-up; when that fails the program runs without it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "online/http_download.h"
#include "online/xml_reader.h"

// The running program's version as the document writes it ("1.3" is 103).
constexpr int kAppVersionNumber = 103;
// Most bytes of a settings document that are kept.
constexpr std::size_t kSettingsLimit = 65536;

// Where the program looks for its settings document.
extern const char kSettingsAddress[];
// The start every settings document must have (compared without regard to letter case).
extern const char kSettingsDeclaration[];

// One preset of the settings document. Texts are cut to fit their field, always at a character
// boundary, and always terminated.
struct PresetEntry {
  char name[64];
  char note[256];  // each tilde of the document is a line break here
  char file[256];  // address of the preset file; relative ones are resolved against the document
  std::int32_t type;
};

struct SettingsDocument {
  std::string address;  // where the text came from
  std::string text;
  std::string version;
  std::string downloadPage;
  std::string supportPage;  // the caller's built-in page until a document replaces it
  bool newerAppAvailable = false;
  std::vector<PresetEntry> presets;
};

// The document of this program run.
extern SettingsDocument Settings;

// Downloads the document at address into document (address and text). Succeeds only when the
// text starts with kSettingsDeclaration; otherwise error says why.
bool DownloadSettings(SettingsDocument& document, const char* address, std::string& error);
// The same within time-outs of its own; safe to call from any thread.
bool DownloadSettings(SettingsDocument& document, const char* address,
                      const DownloadTimeouts& timeouts, std::string& error);

// Reads version, pages and presets from document's text. When the XML reader reports any error,
// returns false with results telling which and where, and changes nothing.
bool ParseSettings(SettingsDocument& document, XmlResults& results);

// Start-up: downloads into Settings from address; a failure is logged and leaves Settings empty.
bool DownloadSettings(const char* address = kSettingsAddress);
// Start-up, once a download from address into `downloaded` has ended: on success takes its
// address and text into Settings; otherwise logs `error` and leaves Settings as it was. Returns
// `succeeded`.
bool AdoptSettingsDownload(const char* address, SettingsDocument& downloaded, bool succeeded,
                           const std::string& error);
// Start-up, after a successful download: parses Settings; a failure is logged.
void ParseSettings();

// Whether the settings document of this run names a version above kAppVersionNumber.
inline bool NewerAppAvailable() {
  return Settings.newerAppAvailable;
}

// Reads text as a decimal integer: leading white space and a sign allowed, stops at the first
// other character, 0 without digits, limited to the 32-bit range.
std::int32_t ReadDecimal(const char* text);
