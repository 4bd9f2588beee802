#include "engine/offscreen_render.h"

#include <cstdio>
#include <cstdlib>

#include "engine/engine_impl.h"

bool SaveBackBufferPng(Engine* engine, const char* path) {
  return engine != nullptr && static_cast<EngineImpl*>(engine)->graphics.SaveBackBufferPng(path);
}

bool RenderOffscreenPng(int width, int height, void (*frame)(Engine* engine, void* context),
                        void* context, const char* path) {
#if !defined(_WIN32)
  // SDL's display-less driver, unless the caller chose one; Windows always has a desktop.
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
#endif
  Engine* engine = Engine_Create(ENGINE_VERSION);
  if (engine == nullptr) {
    std::fprintf(stderr, "offscreen render: no engine\n");
    return false;
  }
  engine->System_SetState(STATE_SCREEN_WIDTH, width);
  engine->System_SetState(STATE_SCREEN_HEIGHT, height);
  engine->System_SetState(STATE_WINDOWED, true);
  engine->System_SetState(STATE_SPLASH, false);
  engine->System_SetState(STATE_SOUND, false);
  bool saved = false;
  if (!engine->System_Initiate(false)) {
    std::fprintf(stderr, "offscreen render: %s\n", engine->System_LastError());
  } else {
    if (frame != nullptr) frame(engine, context);
    saved = SaveBackBufferPng(engine, path);
    if (!saved) std::fprintf(stderr, "offscreen render: can't write %s\n", path);
  }
  engine->System_Shutdown();
  engine->Release();
  return saved;
}
