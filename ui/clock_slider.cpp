#include "ui/clock_slider.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/panel.h"
#include "ui/pixels.h"
#include "ui/skin_link.h"

namespace {
constexpr double kDegToRad = 0.0174532925;
constexpr double kRadToDeg = 57.2957795;
constexpr int kCentred = ALIGN_HCENTER | ALIGN_VCENTER;
constexpr double kHubScale = 1.5;
constexpr double kHoverScale = 1.25;
constexpr double kMarkGap = 10;  // limit marks sit this far outside the handle circle

constexpr int kMarkHalfWidth = 3;
constexpr int kHandleHalfWidth = 2;
constexpr std::uint32_t kMirrorMarkColour = 0x3F7F7F7F;
constexpr std::uint32_t kMarkColour = 0x7F7F7F7F;
constexpr std::uint32_t kMirrorHandleColour = 0x7FFFFFFF;
constexpr std::uint32_t kHandleColour = 0xFFFFFFFF;
constexpr int kMirrorFanAlpha = 70;

// Where a point at clock angle `degrees` and distance `distance` from the centre lies.
void PointAt(double cx, double cy, double degrees, double distance, int* px, int* py) {
  const double radians = degrees * kDegToRad;
  *px = TruncPixel(std::sin(radians) * distance + cx);
  *py = TruncPixel(cy - std::cos(radians) * distance);
}

void ScaleImage(UIImage* image, double factor) {
  image->Resize(TruncToInt(image->w * factor), TruncToInt(image->h * factor));
}

// Shows the hover image instead of the handle, or the reverse.
void ShowHover(UIImage* handle, UIImage* hover, bool on) {
  handle->hidden = on;
  hover->hidden = !on;
}
}  // namespace

UIClockSlider::UIClockSlider(int sliderId, int hubRegion, int handleRegion, int hoverRegion,
                             int centreX, int centreY, UIPanel* owner)
    : hub(hubRegion, kCentred),
      handle1(handleRegion, kCentred),
      hover1(hoverRegion, kCentred),
      handle2(handleRegion, kCentred),
      hover2(hoverRegion, kCentred),
      panel(owner),
      cx(centreX),
      cy(centreY) {
  kind = KIND_CLOCK_SLIDER;
  id = sliderId;
  x = centreX;
  y = centreY;
  for (UIImage* image : {&hub, &handle1, &hover1, &handle2, &hover2}) image->Place(x, y);
  ScaleImage(&hub, kHubScale);
  ScaleImage(&hover1, kHoverScale);
  ScaleImage(&hover2, kHoverScale);
  hover1.hidden = hover2.hidden = true;
  Layout();
}

UIClockSlider::~UIClockSlider() {
  if (dragging && panel && panel->capture == this) panel->capture = nullptr;
}

void UIClockSlider::SetRange(int lowerLimit, int upperLimit) {
  lower = lowerLimit;
  upper = upperLimit;
  Layout();
  reverse = lowerLimit < 0;
}

void UIClockSlider::SetAngles(double first, double second) {
  angle1 = first;
  angle2 = second;
  Layout();
}

void UIClockSlider::Layout() {
  const double markDistance = radius + kMarkGap;
  int px = 0;
  int py = 0;
  PointAt(cx, cy, lower, markDistance, &px, &py);
  mark1X = px;
  mark1Y = py;
  PointAt(cx, cy, upper, markDistance, &px, &py);
  mark2X = px;
  mark2Y = py;
  PlaceHandles();
}

void UIClockSlider::PlaceHandles() {
  int px = 0;
  int py = 0;
  PointAt(cx, cy, angle1, radius, &px, &py);
  handle1.Place(px, py);
  hover1.Place(px, py);
  PointAt(cx, cy, angle2, radius, &px, &py);
  handle2.Place(px, py);
  hover2.Place(px, py);
}

void UIClockSlider::SetPosition(int newX, int newY) {
  UIBase::SetPosition(newX, newY);
  cx = newX;
  cy = newY;
  for (UIImage* image : {&hub, &handle1, &hover1, &handle2, &hover2}) image->Place(x, y);
  Layout();
}

void UIClockSlider::SetState(bool, bool) {}

bool UIClockSlider::HandleMouse(int event, int mouseX, int mouseY) {
  if (!visible || !enabled) return false;
  const bool overHandle1 = hover1.Contains(mouseX, mouseY);
  const bool overHandle2 = hover2.Contains(mouseX, mouseY);
  ShowHover(&handle1, &hover1, overHandle1);
  ShowHover(&handle2, &hover2, overHandle2);

  // A drag starts only on a frame in which the button is held over a handle.
  if (!dragging && event == EVENT_HELD && (overHandle1 || overHandle2)) {
    dragging = true;
    which = overHandle1 ? 1 : 2;
    if (panel) panel->capture = this;
  }
  if (!dragging) return false;

  // Not std::clamp: a range set with lower above upper must not be undefined behaviour.
  const double pointed = std::atan2(mouseX - x, y - mouseY) * kRadToDeg;
  const double angle = std::min(std::max(pointed, lower), upper);
  if (which == 1) {
    angle1 = angle;
    ShowHover(&handle1, &hover1, true);
  } else {
    angle2 = angle;
    ShowHover(&handle2, &hover2, true);
  }
  PlaceHandles();

  if (event == EVENT_RELEASED) EndDrag();
  return true;
}

void UIClockSlider::EndDrag() {
  if (!dragging) return;
  // The handles may cross while dragging; a finished drag leaves angle1 <= angle2.
  if (angle1 > angle2) {
    std::swap(angle1, angle2);
    PlaceHandles();
  }
  if (panel && panel->capture == this) panel->capture = nullptr;
  dragging = false;
  which = 0;
}

void UIClockSlider::DrawMirror() const {
  const int r = TruncToInt(radius);
  UiSkin.drawThickLine(x, y, 2 * x - TruncToInt(mark2X), TruncToInt(mark2Y), kMarkHalfWidth,
                       kMirrorMarkColour);
  UiSkin.drawArcFan(x, y, r, static_cast<float>(-angle1), static_cast<float>(-angle2),
                    kMirrorFanAlpha, 1);
  UiSkin.drawThickLine(x, y, 2 * x - handle1.anchorX, handle1.anchorY, kHandleHalfWidth,
                       kMirrorHandleColour);
  UiSkin.drawThickLine(x, y, 2 * x - handle2.anchorX, handle2.anchorY, kHandleHalfWidth,
                       kMirrorHandleColour);
}

void UIClockSlider::DrawImages() const {
  for (const UIImage* image : {&hub, &handle1, &hover1, &handle2, &hover2}) image->Draw(1.0f);
}

void UIClockSlider::Draw() {
  if (mirror) DrawMirror();
  UiSkin.drawThickLine(x, y, TruncToInt(mark1X), TruncToInt(mark1Y), kMarkHalfWidth, kMarkColour);
  UiSkin.drawThickLine(x, y, TruncToInt(mark2X), TruncToInt(mark2Y), kMarkHalfWidth, kMarkColour);
  UiSkin.drawArcFan(x, y, TruncToInt(radius), static_cast<float>(angle1),
                    static_cast<float>(angle2), fanAlpha, reverse ? 1 : 0);
  UiSkin.drawThickLine(x, y, handle1.anchorX, handle1.anchorY, kHandleHalfWidth, kHandleColour);
  UiSkin.drawThickLine(x, y, handle2.anchorX, handle2.anchorY, kHandleHalfWidth, kHandleColour);
  DrawImages();
}
