#include "device/engine_log.h"

#include <cstdarg>
#include <cstdio>

#include "engine/engine.h"

void LogToEngine(const char* format, ...) {
  Engine* engine = Engine_Create(ENGINE_VERSION);
  if (engine == nullptr) return;
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  engine->System_Log("%s", line);
  engine->Release();
}
