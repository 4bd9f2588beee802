#include <windows.h>

#include <string>

#include "engine/program_name.h"

const char* ProgramShortName() {
  // The executable's name without its folder and ".exe", read once.
  static const std::string name = [] {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path, length < MAX_PATH ? length : 0);
    const std::size_t slash = file.find_last_of("\\/");
    if (slash != std::string::npos) file.erase(0, slash + 1);
    const std::size_t dot = file.rfind('.');
    if (dot != std::string::npos) file.erase(dot);
    return file;
  }();
  return name.c_str();
}
