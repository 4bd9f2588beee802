#pragma once
// One frame rendered off screen and saved as a PNG, for tests and for people who want to look at
// the program's pictures without a display.

#include "engine/engine.h"

// Saves the engine's current back buffer as a PNG file. False without a device or on a write
// error.
bool SaveBackBufferPng(Engine* engine, const char* path);

// Starts an engine of width x height on SDL's offscreen driver (unless another driver is asked
// for in SDL_VIDEODRIVER), lets frame(engine, context) draw one whole frame (Gfx_BeginScene to
// Gfx_EndScene), saves it as a PNG and shuts the engine down again. False, with the reason on
// stderr, when any step fails.
bool RenderOffscreenPng(int width, int height, void (*frame)(Engine* engine, void* context),
                        void* context, const char* path);
