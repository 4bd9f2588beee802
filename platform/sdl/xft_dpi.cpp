// The desktop's scale on X11, which does not scale windows itself: GDK_SCALE, else Xft.dpi, the
// scale that X11 desktops (GNOME, KDE, Xfce) publish in the X resources (96 per step).
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>

#include "platform/sdl/sdl_platform.h"

namespace platform::sdl {
namespace {
constexpr char kResource[] = "Xft.dpi:";
constexpr int kDpiPerStep = 96;
// The whole-number scales GDK_SCALE may ask for here.
constexpr char kFirstGdkScale = '1';
constexpr char kLastGdkScale = '3';

// The value of "Xft.dpi:\t192" among the resource lines, or 0.
int DpiFromResources(const char* resources) {
  for (const char* line = resources; line != nullptr && *line != '\0';) {
    if (std::strncmp(line, kResource, sizeof kResource - 1) == 0) {
      const double dpi = std::strtod(line + sizeof kResource - 1, nullptr);
      return dpi > 0 && dpi < 10000 ? static_cast<int>(dpi + 0.5) : 0;
    }
    line = std::strchr(line, '\n');
    if (line != nullptr) ++line;
  }
  return 0;
}

// The value of GDK_SCALE when it is one of the scales, else 0.
int GdkScale() {
  const char* text = std::getenv("GDK_SCALE");
  if (text == nullptr || text[0] < kFirstGdkScale || text[0] > kLastGdkScale || text[1] != '\0')
    return 0;
  return text[0] - '0';
}

// The X11 display of the window, or null for windows of other window systems.
Display* X11Display(NativeWindow window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(static_cast<SDL_Window*>(window), &info) ||
      info.subsystem != SDL_SYSWM_X11)
    return nullptr;
  return info.info.x11.display;
}
}  // namespace

bool SdlPlatform::DesktopScale(NativeWindow window, int* scale) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "x11") != 0) return false;
  if (const int gdk = GdkScale(); gdk != 0) {
    *scale = gdk;
    return true;
  }
  Display* display = X11Display(window);
  const int dpi = display != nullptr ? DpiFromResources(XResourceManagerString(display)) : 0;
  // 144 dpi (one and a half) rounds up: larger and sharp beats small.
  *scale = dpi > 0 ? (dpi + kDpiPerStep / 2) / kDpiPerStep : 1;
  return true;
}

}  // namespace platform::sdl
