#pragma once
// The engine's log: one line per Write, the file opened for appending and closed again each time
// so that nothing is lost if the program stops. It is written only as a file of the user's own,
// never through a link (OpenOwnFileForWriting).

#include <cstdarg>

#include "engine/full_path.h"

class LogFile {
 public:
  // Sets the log to this full path and empties the file. When the file cannot be written the log
  // is switched off (false). Null or empty switches it off.
  bool SetPath(const char* fullPath);
  // The full path, or null when the log is off.
  const char* Path() const;
  // Appends the formatted text and one newline; nothing when the log is off or unwritable.
  void Write(const char* format, std::va_list args) const __attribute__((format(printf, 2, 0)));

 private:
  char path_[kMaxPath] = {};
};
