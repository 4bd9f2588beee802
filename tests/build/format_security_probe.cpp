// Never built with the program: tests/build/check_format_security.sh compiles it and expects the
// compiler to refuse each line marked REFUSED, because text from outside must not become a format.
#include "common/log.h"
#include "engine/bitmap_font.h"
#include "engine/engine_impl.h"

void PassOutsideTextAsFormat(const char* outside, EngineImpl& engine, BitmapFont& font) {
  Log(outside);                                      // REFUSED
  engine.System_Log(outside);                        // REFUSED
  engine.PostError(outside);                         // REFUSED
  font.Print(0, 0, 0, outside);                      // REFUSED
  font.PrintBox(0, 0, 10, 10, 0, outside);           // REFUSED
  static_cast<Engine&>(engine).System_Log(outside);  // REFUSED
}
