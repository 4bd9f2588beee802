#pragma once
// Which of SDL's video drivers the engine may open its window on. SDL falls back to a driver that
// draws nowhere when it finds no display; a window there is invisible and the program would run
// for ever unseen, so those drivers are used only when SDL_VIDEODRIVER asks for them by name.

// True for SDL's drivers that show nothing on a screen ("offscreen" and "dummy").
bool IsHeadlessVideoDriver(const char* driver);

// Whether `requested` (SDL_VIDEODRIVER's value: one driver name or several separated by commas,
// or null) names `driver`, in any case.
bool VideoDriverRequested(const char* requested, const char* driver);

// Whether the engine may use `driver`, the one SDL chose, when SDL_VIDEODRIVER is `requested`.
bool VideoDriverAcceptable(const char* driver, const char* requested);

// Whether a program may place the pointer on `driver`'s display (Wayland lets none).
bool VideoDriverPlacesPointer(const char* driver);
