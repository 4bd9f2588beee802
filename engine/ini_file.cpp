#include "engine/ini_file.h"

#include <strings.h>

#include <cstdio>
#include <fstream>
#include <string_view>
#include <vector>

namespace ini_file {
namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  // An empty name ("[]") has no characters to compare, and may have no storage at all.
  return a.size() == b.size() && (a.empty() || strncasecmp(a.data(), b.data(), a.size()) == 0);
}

// The section name of a "[name]" line, or false for any other line.
bool SectionOf(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return false;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

// The key and value of a "key=value" line, or false for any other line.
bool EntryOf(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return false;
  const auto equals = trimmed.find('=');
  if (equals == std::string_view::npos) return false;
  key = Trim(trimmed.substr(0, equals));
  value = Trim(trimmed.substr(equals + 1));
  return true;
}

std::vector<std::string> ReadLines(const char* path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool WriteLines(const char* path, const std::vector<std::string>& lines) {
  const std::string temporary = std::string(path) + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    for (const std::string& line : lines) out << line << '\n';
    out.flush();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool Breaks(std::string_view text, std::string_view forbidden) {
  return text.find_first_of(forbidden) != std::string_view::npos;
}

}  // namespace

bool Read(const char* path, const char* section, const char* key, std::string& value) {
  if (path == nullptr || section == nullptr || key == nullptr) return false;
  bool inSection = false;
  for (const std::string& line : ReadLines(path)) {
    std::string_view name, entryKey, entryValue;
    if (SectionOf(line, name)) {
      inSection = SameName(name, section);
    } else if (inSection && EntryOf(line, entryKey, entryValue) && SameName(entryKey, key)) {
      if (entryValue.size() >= 2 && (entryValue.front() == '"' || entryValue.front() == '\'') &&
          entryValue.back() == entryValue.front()) {
        entryValue = entryValue.substr(1, entryValue.size() - 2);
      }
      value.assign(entryValue);
      return true;
    }
  }
  return false;
}

bool Write(const char* path, const char* section, const char* key, const char* value) {
  if (path == nullptr || section == nullptr || key == nullptr || value == nullptr) return false;
  if (Breaks(section, "]\r\n") || Breaks(key, "=\r\n") || Breaks(value, "\r\n")) return false;
  if (Trim(section).empty() || Trim(key).empty()) return false;

  std::vector<std::string> lines = ReadLines(path);
  const std::string entry = std::string(Trim(key)) + "=" + value;
  bool inSection = false;
  std::size_t insertAt = lines.size();
  bool sectionFound = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view name, entryKey, entryValue;
    if (SectionOf(lines[i], name)) {
      if (inSection) break;
      inSection = SameName(name, Trim(section));
      if (inSection) {
        sectionFound = true;
        insertAt = i + 1;
      }
    } else if (inSection) {
      if (EntryOf(lines[i], entryKey, entryValue) && SameName(entryKey, Trim(key))) {
        lines[i] = entry;
        return WriteLines(path, lines);
      }
      if (!Trim(lines[i]).empty()) insertAt = i + 1;
    }
  }
  if (!sectionFound) {
    lines.push_back("[" + std::string(Trim(section)) + "]");
    insertAt = lines.size();
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
  return WriteLines(path, lines);
}

}  // namespace ini_file
