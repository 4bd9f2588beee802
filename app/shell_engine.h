#pragma once
// The shell's reference to the engine, set once at start-up, and the shell's log.

#include "engine/engine.h"

// Makes `engine` the engine the shell's functions work with; null forgets it.
void SetShellEngine(Engine* engine);
// The engine set at start-up, or null.
Engine* ShellEngine();
// The engine's window, which owns message boxes and is moved by dragging; null without one.
WindowHandle ShellWindow();
// Writes one line to the engine's log; nothing happens without an engine.
void ShellLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
