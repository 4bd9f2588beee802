#include "app/shell_engine.h"

#include <cstdarg>
#include <cstdio>

namespace {

Engine* shellEngine = nullptr;
constexpr int kLogLineSize = 1024;

}  // namespace

void SetShellEngine(Engine* engine) {
  shellEngine = engine;
}

Engine* ShellEngine() {
  return shellEngine;
}

WindowHandle ShellWindow() {
  return shellEngine != nullptr ? shellEngine->System_GetState(STATE_WINDOW) : nullptr;
}

void ShellLog(const char* format, ...) {
  if (shellEngine == nullptr) return;
  char line[kLogLineSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  shellEngine->System_Log("%s", line);
}
