#pragma once
// The shell's reference to the engine, set once at start-up, which also routes the program's log
// into the engine's log file.

#include "engine/engine.h"

// Makes `engine` the engine the shell's functions work with and the one Log writes to; null
// forgets it and drops log lines from then on.
void SetShellEngine(Engine* engine);
// The engine set at start-up, or null.
Engine* ShellEngine();
// The engine's window, which owns message boxes and is moved by dragging; null without one.
WindowHandle ShellWindow();
