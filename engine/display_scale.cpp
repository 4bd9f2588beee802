#include "engine/display_scale.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>

namespace {
constexpr int kDpiPerStep = 96;

SDL_Window* AsSdl(void* window) {
  return static_cast<SDL_Window*>(window);
}

bool IsX11(const char* driver) {
  return driver != nullptr && std::strcmp(driver, "x11") == 0;
}

// The compositor's scale: how many drawable pixels one window unit has.
int DrawableRatio(SDL_Window* window) {
  int windowWidth = 0, drawableWidth = 0;
  SDL_GetWindowSize(window, &windowWidth, nullptr);
  SDL_GL_GetDrawableSize(window, &drawableWidth, nullptr);
  return windowWidth > 0 ? drawableWidth / windowWidth : 1;
}

int X11DesktopScale(void* window) {
  if (const int gdk = ParseWindowScale(std::getenv("GDK_SCALE")); gdk != 0) return gdk;
  const int dpi = XftDpi(window);
  // 144 dpi (one and a half) rounds up: larger and sharp beats small.
  return dpi > 0 ? (dpi + kDpiPerStep / 2) / kDpiPerStep : 1;
}

int Clamp(int scale) {
  return scale < 1 ? 1 : scale > kMaxWindowScale ? kMaxWindowScale : scale;
}

// The largest scale up to `scale` at which the grown window fits the display it is on.
int FittingScale(SDL_Window* window, int scale, int width, int height) {
  SDL_Rect usable{};
  const int display = SDL_GetWindowDisplayIndex(window);
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0) return scale;
  while (scale > 1 && (width * scale > usable.w || height * scale > usable.h)) --scale;
  return scale;
}
}  // namespace

int ParseWindowScale(const char* text) {
  if (text == nullptr || text[0] < '1' || text[0] > '0' + kMaxWindowScale || text[1] != '\0')
    return 0;
  return text[0] - '0';
}

int WindowUnits(void* sdlWindow, int pixelScale) {
  if (sdlWindow == nullptr) return 1;
  const int units = pixelScale / DrawableRatio(AsSdl(sdlWindow));
  return units > 1 ? units : 1;
}

DisplayScale ChooseDisplayScale(void* sdlWindow, int forced, int screenWidth, int screenHeight) {
  SDL_Window* window = AsSdl(sdlWindow);
  DisplayScale chosen;
  if (window == nullptr) return chosen;
  int wanted = forced >= 1 && forced <= kMaxWindowScale ? forced : 0;
  if (wanted == 0) wanted = ParseWindowScale(std::getenv("CORSARO_SCALE"));
  const int ratio = DrawableRatio(window);
  if (wanted != 0) {
    chosen.pixels = wanted;
  } else if (IsX11(SDL_GetCurrentVideoDriver()) && ratio <= 1) {
    chosen.pixels =
        FittingScale(window, Clamp(X11DesktopScale(sdlWindow)), screenWidth, screenHeight);
  } else {
    chosen.pixels = Clamp(ratio);
  }
  chosen.windowUnits = WindowUnits(sdlWindow, chosen.pixels);
  return chosen;
}
