#pragma once
// An engine for drawing tests: a windowed, splash-less and silent engine of the given size on
// SDL's off-screen driver (unless the environment names another driver), initiated. Null, with
// a test failure saying why, when it cannot start.

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/engine.h"

inline Engine* StartOffscreenEngine(int width, int height, bool textureFilter = true) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  Engine* engine = Engine_Create(ENGINE_VERSION);
  if (engine == nullptr) {
    ADD_FAILURE() << "Engine_Create gave no engine";
    return nullptr;
  }
  engine->System_SetState(STATE_SCREEN_WIDTH, width);
  engine->System_SetState(STATE_SCREEN_HEIGHT, height);
  engine->System_SetState(STATE_WINDOWED, true);
  engine->System_SetState(STATE_SPLASH, false);
  engine->System_SetState(STATE_SOUND, false);
  engine->System_SetState(STATE_TEXTURE_FILTER, textureFilter);
  if (!engine->System_Initiate(false)) {
    ADD_FAILURE() << engine->System_LastError();
    engine->Release();
    return nullptr;
  }
  return engine;
}
