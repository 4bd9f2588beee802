// Feeds arbitrary bytes to the ini reader as the content of an ini file, asking for keys named
// in the file itself as well as fixed ones.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/fuzz/scratch_file.h"
#include "engine/ini_file.h"

namespace {

// A value comes from one line of the file: it holds no line feed and is part of the text.
void CheckValue(const std::string& value, const std::string& text) {
  if (value.find('\n') != std::string::npos) std::abort();
  if (text.find(value) == std::string::npos) std::abort();
}

void Ask(const char* path, const std::string& text, const std::string& section,
         const std::string& key) {
  std::string value = "unchanged";
  if (ini_file::Read(path, section.c_str(), key.c_str(), value)) {
    CheckValue(value, text);
  } else if (value != "unchanged") {
    std::abort();
  }
}

// The text of the first "[...]" and of the first "...=" in the data, for names that exist.
void NamesIn(const std::string& text, std::string& section, std::string& key) {
  const auto open = text.find('[');
  const auto close = text.find(']', open == std::string::npos ? 0 : open);
  if (open != std::string::npos && close != std::string::npos) {
    section = text.substr(open + 1, close - open - 1);
  }
  const auto equals = text.find('=');
  if (equals != std::string::npos) {
    const auto lineStart = text.rfind('\n', equals);
    key = text.substr(lineStart == std::string::npos ? 0 : lineStart + 1,
                      equals - (lineStart == std::string::npos ? 0 : lineStart + 1));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ScratchFile file(".ini");
  const char* path = file.Hold(data, size);
  const std::string text(reinterpret_cast<const char*>(data), size);
  Ask(path, text, "Settings", "Volume");
  std::string section, key;
  NamesIn(text, section, key);
  Ask(path, text, section, key);
  Ask(path, text, "", "");
  return 0;
}
