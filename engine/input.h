#pragma once
// The input part of the engine: the per-frame event queue and the polled values. The window
// procedure (engine_system.cpp) builds events here; EngineImpl forwards its Input_ operations.

#include "engine/engine.h"

class EngineImpl;

class Input {
 public:
  explicit Input(EngineImpl& engine) : engine_(engine) {}

  // Mouse position from the cursor, key bits cleared (during System_Initiate).
  void Initiate();
  // Builds one event. Keyboard messages pass x = y = -1; wheel events pass the notches as key
  // and the position in screen coordinates.
  void BuildEvent(int type, int key, int scanCode, int flags, float x, float y);
  // Once per frame-loop iteration, before the frame timing.
  void UpdateMouseInside();
  // After every frame and when System_Start or System_Shutdown ends.
  void ClearFrame();

 private:
  EngineImpl& engine_;
};
