// Feeds arbitrary text to ParseSettings as if the preset server had sent it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "online/settings_document.h"

namespace {

template <std::size_t N>
void CheckField(const char (&field)[N]) {
  if (std::memchr(field, '\0', N) == nullptr) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SettingsDocument document;
  document.address = "http://127.0.0.1/tarnwick270/settings.xml";
  document.text.assign(reinterpret_cast<const char*>(data), size);
  XmlResults results;
  if (!ParseSettings(document, results)) {
    if (!document.presets.empty() || !document.version.empty()) std::abort();
    return 0;
  }
  for (const PresetEntry& preset : document.presets) {
    CheckField(preset.name);
    CheckField(preset.note);
    CheckField(preset.file);
    if (std::strchr(preset.note, '~') != nullptr) std::abort();
  }
  return 0;
}
