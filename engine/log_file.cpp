#include "engine/log_file.h"

#include <cstdio>
#include <cstring>

#include "engine/own_file.h"

bool LogFile::SetPath(const char* fullPath) {
  path_[0] = '\0';
  if (fullPath == nullptr || fullPath[0] == '\0') return false;
  if (std::strlen(fullPath) >= sizeof path_) return false;
  std::FILE* file = OpenOwnFileForWriting(fullPath, false);
  if (file == nullptr) return false;
  std::fclose(file);
  std::strcpy(path_, fullPath);
  return true;
}

const char* LogFile::Path() const {
  return path_[0] != '\0' ? path_ : nullptr;
}

void LogFile::Write(const char* format, std::va_list args) const {
  if (path_[0] == '\0') return;
  std::FILE* file = OpenOwnFileForWriting(path_, true);
  if (file == nullptr) return;
  std::vfprintf(file, format, args);
  std::fputc('\n', file);
  std::fclose(file);
}
