#pragma once
// Setting an environment variable from a test, alike on Linux and Windows.

#include <cstdlib>
#include <string>

inline void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}
