#pragma once
// Pictures of what the window shows: the next frame presented on the screen, saved as a PNG just
// before it is presented, for scripted runs and for looking at the program without a display.

#include "engine/engine.h"

enum class FrameCaptureStatus {
  kNone,     // nothing was asked for
  kPending,  // waiting for the next frame presented on the screen
  kSaved,    // the last request was written
  kFailed,   // the last request could not be read back or written
};

// Asks the engine to save the next frame it presents on the screen (the scene that Gfx_EndScene
// ends on render target 0) as a PNG file at `path`, with the window's pixels as they are about to
// be shown. A request not yet served is replaced. False without an engine or a path.
bool CaptureNextFrame(Engine* engine, const char* path);
// How the last request stands.
FrameCaptureStatus CaptureStatus(Engine* engine);
