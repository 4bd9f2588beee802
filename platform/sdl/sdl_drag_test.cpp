// The window system's move of the window: SDL's hit test, answered by the program's drag test.
#include "platform/sdl/sdl_platform.h"

namespace platform::sdl {
namespace {

SDL_HitTestResult HitTest(SDL_Window* window, const SDL_Point* point, void* data) {
  const auto* drag = static_cast<const SdlPlatform::InstalledDragTest*>(data);
  if (drag == nullptr || drag->test == nullptr || point == nullptr) return SDL_HITTEST_NORMAL;
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window, &width, &height);
  return drag->test(drag->context, point->x, point->y, width, height) ? SDL_HITTEST_DRAGGABLE
                                                                       : SDL_HITTEST_NORMAL;
}

}  // namespace

bool SdlPlatform::SetDragTest(NativeWindow window, DragTest test, const void* context) {
  if (window == nullptr) return false;
  auto* sdlWindow = static_cast<SDL_Window*>(window);
  if (test == nullptr) {
    SDL_SetWindowHitTest(sdlWindow, nullptr, nullptr);
    drag_ = {};
    return true;
  }
  drag_ = {test, context};
  if (SDL_SetWindowHitTest(sdlWindow, HitTest, &drag_) != 0) {
    drag_ = {};
    return false;
  }
  return true;
}

}  // namespace platform::sdl
