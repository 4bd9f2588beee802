#pragma once
// A small reader and writer of ini files ("[section]" lines followed by "key=value" lines), in the
// manner of the classic private-profile functions: names compare without regard to case, spaces
// around names and values are dropped, a value in matching quotes loses them.

#include <cstddef>
#include <string>

namespace ini_file {

// The value of the key, or nothing when the file, the section or the key is missing.
bool Read(const char* path, const char* section, const char* key, std::string& value);
// Sets the key to the value, adding the section and the key when they are missing and creating
// the file when needed. The file is replaced whole, so a failed write leaves the old one intact.
// Names and values that would break the line structure (a newline, a '=' in a key, a ']' in a
// section) are refused.
bool Write(const char* path, const char* section, const char* key, const char* value);

}  // namespace ini_file
