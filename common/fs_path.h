#pragma once
// std::filesystem paths from and to the program's UTF-8 text, alike on every platform: a path
// made from a plain std::string would be read in the system's code page on Windows.

#include <filesystem>
#include <string>

inline std::filesystem::path PathOfUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8OfPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}
