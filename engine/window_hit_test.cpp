// The window system's move of the window: SDL's hit test, answered from a fixed copy of the areas
// (the test may run on the thread that handles the window's events).
#include <SDL2/SDL.h>

#include <memory>

#include "engine/drag_areas.h"
#include "engine/engine_impl.h"

namespace {

SDL_HitTestResult HitTest(SDL_Window* window, const SDL_Point* point, void* data) {
  const auto* region = static_cast<const DragRegion*>(data);
  if (region == nullptr || point == nullptr) return SDL_HITTEST_NORMAL;
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window, &width, &height);
  int x = point->x;
  int y = point->y;
  ToLogicalPixels(*region, width, height, &x, &y);
  return DragAreasHold(region->areas, region->count, x, y) ? SDL_HITTEST_DRAGGABLE
                                                           : SDL_HITTEST_NORMAL;
}

}  // namespace

void EngineImpl::ForgetDragAreas() {
  if (window != nullptr && dragRegion_) {
    SDL_SetWindowHitTest(static_cast<SDL_Window*>(window), nullptr, nullptr);
  }
  dragRegion_.reset();
}

bool EngineImpl::System_SetDragAreas(const DragArea* areas, int count) {
  ForgetDragAreas();
  if (areas == nullptr || count <= 0) return false;
  if (count > kMaxDragAreas) {
    System_Log("Window drag: %d areas are more than the %d the window system is given", count,
               kMaxDragAreas);
    return false;
  }
  if (window == nullptr) return false;
  auto region = std::make_unique<DragRegion>();
  for (int i = 0; i < count; ++i) region->areas[i] = areas[i];
  region->count = count;
  region->logicalWidth = screenWidth;
  region->logicalHeight = screenHeight;
  if (SDL_SetWindowHitTest(static_cast<SDL_Window*>(window), HitTest, region.get()) != 0) {
    System_Log("Window drag: the %s video driver cannot move the window (%s); the program does",
               SDL_GetCurrentVideoDriver(), SDL_GetError());
    return false;
  }
  dragRegion_ = std::move(region);
  System_Log("Window drag: the window system moves the window (%s video driver)",
             SDL_GetCurrentVideoDriver());
  return true;
}
