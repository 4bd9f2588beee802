#pragma once
// The program's spine: creates and configures the engine, builds everything the screens need,
// runs the frame loop and tears everything down again in a fixed order.

#include "engine/engine.h"

// The engine's window: owner of message boxes, target of window moves.
extern WindowHandle MainWindow;

// Writes the window title (" Corsaro 270 Setup", the year-and-maker notice, " v1.3") into out,
// cut at size - 1 characters and always terminated.
void FormatWindowTitle(char* out, int size);

// Empties the settings document and gives it the built-in support page, as before the download.
void ResetSettings();

// Runs the whole program: start-up, the frame loop, tear-down. Returns the exit code, 0.
int RunCustomiser();
