#include "app/drag_band.h"

#include <algorithm>
#include <cmath>

#include "app/frame_functions.h"
#include "app/main_screen.h"
#include "ui/radio_group.h"

namespace {

// A widget's edge row and column count as its own (images hit their bottom row too).
constexpr int kHoleMargin = 1;
constexpr double kDegToRad = 0.0174532925;

class BandWriter {
 public:
  BandWriter(DragArea* areas, int capacity) : areas_(areas), capacity_(capacity) {}

  void Add(int x, int y, int w, int h, bool draggable) {
    if (count_ >= capacity_) return;
    areas_[count_++] = DragArea{x, y, w, h, draggable};
  }
  // A hole for the rectangle, with a margin, when it reaches into the band.
  void Hole(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0 || y >= kDragBandHeight || y + h < 0) return;
    Add(x - kHoleMargin, y - kHoleMargin, w + 2 * kHoleMargin, h + 2 * kHoleMargin, false);
  }
  int count() const { return count_; }

 private:
  DragArea* areas_;
  int capacity_;
  int count_ = 0;
};

void HoleForControl(BandWriter& band, const UIBase* control) {
  if (control->kind == KIND_RADIO_GROUP) {
    const auto* group = static_cast<const UIRadioGroup*>(control);
    for (const UIBase* member = group->first; member != nullptr; member = member->next) {
      band.Hole(member->x, member->y, member->w, member->h);
    }
    return;
  }
  band.Hole(control->x, control->y, control->w, control->h);
}

// Every place a handle's hover image covers in the band, over the slider's whole range.
void HoleForSlider(BandWriter& band, const UIClockSlider& slider) {
  const int w = slider.hover1.w;
  const int h = slider.hover1.h;
  int left = 0, top = 0, right = -1, bottom = -1;
  bool any = false;
  const int from = static_cast<int>(std::floor(std::min(slider.lower, slider.upper)));
  const int to = static_cast<int>(std::ceil(std::max(slider.lower, slider.upper)));
  for (int angle = from; angle <= to; ++angle) {
    const double radians = angle * kDegToRad;
    const int cx = static_cast<int>(slider.cx + std::sin(radians) * slider.radius);
    const int cy = static_cast<int>(slider.cy - std::cos(radians) * slider.radius);
    const int x = cx - w / 2;
    const int y = cy - h / 2;
    if (y >= kDragBandHeight) continue;
    left = any ? std::min(left, x) : x;
    top = any ? std::min(top, y) : y;
    right = any ? std::max(right, x + w) : x + w;
    bottom = any ? std::max(bottom, y + h) : y + h;
    any = true;
  }
  // A degree's step moves a handle by up to four pixels on this radius: widen by that much.
  const int step = static_cast<int>(std::ceil(slider.radius * kDegToRad));
  if (any) band.Hole(left - step, top - step, right - left + 2 * step, bottom - top + 2 * step);
}

}  // namespace

int BuildDragBand(DragArea* areas, int capacity) {
  BandWriter band(areas, capacity);
  band.Add(0, 0, kDragBandWidth, kDragBandHeight, true);
  for (const UIPanel* panel : {WindowButtonsPanel, ProfileBarPanel, ProfileSelectionPanel}) {
    if (panel == nullptr) continue;
    for (const UIBase* control = panel->first; control != nullptr; control = control->next) {
      HoleForControl(band, control);
    }
  }
  if (AngleSlider != nullptr) HoleForSlider(band, *AngleSlider);
  return band.count();
}

void TakeDragBandFromScreen() {
  WindowDragBand.count = BuildDragBand(WindowDragBand.areas, kMaxDragAreas);
}

void InstallDragBand(Engine& engine) {
  DragBand& band = WindowDragBand;
  band.movedBySystem = engine.System_SetDragAreas(band.areas, band.count);
}
