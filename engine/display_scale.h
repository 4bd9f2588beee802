#pragma once
// The whole-number scale the window is drawn at, from a forced value, CORSARO_SCALE or the
// desktop: Wayland's output scale shows as a drawable larger than the window (high-DPI windows);
// X11 does not scale, so the platform tells the desktop's scale there.

constexpr int kMaxWindowScale = 3;

struct DisplayScale {
  int pixels = 1;       // physical pixels per screen pixel
  int windowUnits = 1;  // window-system units per screen pixel (1 where the desktop scales)
};

// Parses a scale setting: "1" to "3" give the number, anything else 0 (not set).
int ParseWindowScale(const char* text);

// The scale for a window just created at the screen's size. `forced` 1 to 3 wins; else
// CORSARO_SCALE, else the desktop. Where the window system does not scale, the window must grow
// to windowUnits times the screen's size; a scale from the desktop then shrinks until that fits
// the display, a forced one is kept.
DisplayScale ChooseDisplayScale(void* window, int forced, int screenWidth, int screenHeight);

// Window-system units per screen pixel for a window drawn at pixelScale: the scale beyond what
// the window system scales itself (at least 1).
int WindowUnits(void* window, int pixelScale);
