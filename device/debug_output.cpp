#include "device/debug_output.h"

#include <cstdio>
#include <cstdlib>

void DebugOutput(const char* text) {
  static const bool enabled = std::getenv("CORSARO_DEBUG") != nullptr;
  if (enabled) std::fputs(text, stderr);
}
