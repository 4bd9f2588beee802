#include "app/shell_engine.h"

#include "common/log.h"

namespace {

Engine* shellEngine = nullptr;

void WriteToEngineLog(const char* line) {
  if (shellEngine != nullptr) shellEngine->System_Log("%s", line);
}

}  // namespace

void SetShellEngine(Engine* engine) {
  shellEngine = engine;
  SetLogSink(engine != nullptr ? WriteToEngineLog : nullptr);
}

Engine* ShellEngine() {
  return shellEngine;
}

WindowHandle ShellWindow() {
  return shellEngine != nullptr ? shellEngine->System_GetState(STATE_WINDOW) : nullptr;
}
