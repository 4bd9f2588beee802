#pragma once
// The program's spine: creates and configures the engine, builds everything the screens need,
// runs the frame loop and tears everything down again in a fixed order.

#include "engine/engine.h"

// The engine, from start-up until tear-down; every part of the program logs and draws through it.
extern Engine* engine;
// The engine's window: owner of message boxes, target of window moves.
extern WindowHandle MainWindow;

// The application's version text, shown in the window title and the about box.
constexpr const char* kApplicationVersion = "1.3";

// Writes the window title (" Corsaro 270 Setup", the year-and-maker notice, " v1.3") into out,
// cut at size - 1 characters and always terminated.
void FormatWindowTitle(char* out, int size);

// Runs the whole program: start-up, the frame loop, tear-down. Returns the exit code, 0.
int RunCustomiser();
