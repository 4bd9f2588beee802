#include "engine/display_scale.h"

#include <cstdlib>

#include "engine/platform/platform.h"

namespace {

// The compositor's scale: how many drawable pixels one window unit has.
int DrawableRatio(platform::Platform& os, void* window) {
  int windowWidth = 0, drawableWidth = 0, height = 0;
  os.GetWindowSize(window, &windowWidth, &height);
  os.GetDrawableSize(window, &drawableWidth, &height);
  return windowWidth > 0 ? drawableWidth / windowWidth : 1;
}

int Clamp(int scale) {
  return scale < 1 ? 1 : scale > kMaxWindowScale ? kMaxWindowScale : scale;
}

// The largest scale up to `scale` at which the grown window fits the display it is on.
int FittingScale(platform::Platform& os, void* window, int scale, int width, int height) {
  platform::Rect usable;
  if (!os.UsableBounds(window, &usable)) return scale;
  while (scale > 1 && (width * scale > usable.width || height * scale > usable.height)) --scale;
  return scale;
}
}  // namespace

int ParseWindowScale(const char* text) {
  if (text == nullptr || text[0] < '1' || text[0] > '0' + kMaxWindowScale || text[1] != '\0')
    return 0;
  return text[0] - '0';
}

int WindowUnits(void* window, int pixelScale) {
  if (window == nullptr) return 1;
  const int units = pixelScale / DrawableRatio(platform::Current(), window);
  return units > 1 ? units : 1;
}

DisplayScale ChooseDisplayScale(void* window, int forced, int screenWidth, int screenHeight) {
  platform::Platform& os = platform::Current();
  DisplayScale chosen;
  if (window == nullptr) return chosen;
  int wanted = forced >= 1 && forced <= kMaxWindowScale ? forced : 0;
  if (wanted == 0) wanted = ParseWindowScale(std::getenv("CORSARO_SCALE"));
  const int ratio = DrawableRatio(os, window);
  int desktop = 1;
  if (wanted != 0) {
    chosen.pixels = wanted;
  } else if (ratio <= 1 && os.DesktopScale(window, &desktop)) {
    chosen.pixels = FittingScale(os, window, Clamp(desktop), screenWidth, screenHeight);
  } else {
    chosen.pixels = Clamp(ratio);
  }
  chosen.windowUnits = WindowUnits(window, chosen.pixels);
  return chosen;
}
