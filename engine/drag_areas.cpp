#include "engine/drag_areas.h"

bool DragAreasHold(const DragArea* areas, int count, int x, int y) {
  bool draggable = false;
  for (int i = 0; i < count; ++i) {
    const DragArea& area = areas[i];
    if (x >= area.x && y >= area.y && x < area.x + area.width && y < area.y + area.height) {
      draggable = area.draggable;
    }
  }
  return draggable;
}

void ToLogicalPixels(const DragRegion& region, int windowWidth, int windowHeight, int* x, int* y) {
  if (windowWidth > 0 && region.logicalWidth > 0 && windowWidth != region.logicalWidth) {
    *x = static_cast<int>(static_cast<long long>(*x) * region.logicalWidth / windowWidth);
  }
  if (windowHeight > 0 && region.logicalHeight > 0 && windowHeight != region.logicalHeight) {
    *y = static_cast<int>(static_cast<long long>(*y) * region.logicalHeight / windowHeight);
  }
}
