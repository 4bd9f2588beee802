// The window system's move of the window: the platform's drag test, answered from a fixed copy of
// the areas (the test may run on the thread that handles the window's events).
#include <memory>

#include "engine/drag_areas.h"
#include "engine/engine_impl.h"

namespace {

bool DragTest(const void* context, int x, int y, int width, int height) {
  const auto* region = static_cast<const DragRegion*>(context);
  if (region == nullptr) return false;
  ToLogicalPixels(*region, width, height, &x, &y);
  return DragAreasHold(region->areas, region->count, x, y);
}

}  // namespace

void EngineImpl::ForgetDragAreas() {
  if (window != nullptr && dragRegion_) os.SetDragTest(window, nullptr, nullptr);
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
  if (!os.SetDragTest(window, DragTest, region.get())) {
    System_Log(
        "Window drag: the %s video driver cannot move the window (%s); the program moves it itself",
        os.VideoDriver(), os.LastError());
    return false;
  }
  dragRegion_ = std::move(region);
  System_Log("Window drag: the window system moves the window (%s video driver)", os.VideoDriver());
  return true;
}
