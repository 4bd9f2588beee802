// Reads Xft.dpi, the scale that X11 desktops (GNOME, KDE, Xfce) publish in the X resources.
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>

#include "engine/display_scale.h"

namespace {
constexpr char kResource[] = "Xft.dpi:";

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
}  // namespace

int XftDpi(void* sdlWindow) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (sdlWindow == nullptr || !SDL_GetWindowWMInfo(static_cast<SDL_Window*>(sdlWindow), &info) ||
      info.subsystem != SDL_SYSWM_X11)
    return 0;
  return DpiFromResources(XResourceManagerString(info.info.x11.display));
}
