#pragma once
// UIClockSlider: picks a range of clock angles on a dial. Two handles ride on a circle around the
// centre, each dragged between a lower and an upper limit; the slice between them is filled with
// a red-to-yellow fan, optionally mirrored on the left. Angles are degrees, 0 up and 90 right.
// The slider has no callback: the application reads and sets angle1 and angle2.

#include <cstdint>

#include "ui/base.h"
#include "ui/image.h"

class UIPanel;

class UIClockSlider : public UIBase {
 public:
  // A slider centred at (cx, cy) with a hub image 1.5 times its region's size, two handles at
  // their regions' size and two hover images 1.25 times theirs; range 0 to 90, angles 10 and 80,
  // radius 132. While a handle is dragged the slider is the capture control of `panel`.
  UIClockSlider(int id, int hubRegion, int handleRegion, int hoverRegion, int cx, int cy,
                UIPanel* panel);
  // Leaves the panel's capture if a drag is still in progress.
  ~UIClockSlider() override;

  // Shows hover looks and drags a handle, clamped to the range; on release the angles are put in
  // order. True while a drag is in progress.
  bool HandleMouse(int event, int x, int y) override;
  // Draws the limit lines, the fan, the handle lines and the images, with the mirror first.
  void Draw() override;
  // Moves the centre to (x, y).
  void SetPosition(int x, int y) override;
  // Does nothing: disabling or hiding the slider's panel leaves the slider active and drawn.
  void SetState(bool enabled, bool visible) override;

  // Sets the limit angles of dragging; a lower limit below 0 reverses the fan's gradient.
  void SetRange(int lower, int upper);
  // Sets both handle angles as given (no clamping, no ordering).
  void SetAngles(double angle1, double angle2);
  // Recomputes the limit marks and places the handles from the angles, radius and centre.
  void Layout();
  // Ends a drag in progress where the handles stand, as a release would: the angles are put in
  // order and the panel's capture is let go. Nothing happens when no handle is dragged.
  void EndDrag();

  UIImage hub, handle1, hover1, handle2, hover2;
  UIPanel* panel = nullptr;  // not owned
  double cx = 0, cy = 0;
  double radius = 132;
  double lower = 0, upper = 90;
  double angle1 = 10, angle2 = 80;
  bool dragging = false;
  bool mirror = false;
  bool reverse = false;
  std::int32_t which = 0;  // handle being dragged: 0 none, 1, 2
  double mark1X = 0, mark1Y = 0, mark2X = 0, mark2Y = 0;
  std::int32_t fanAlpha = 180;

 private:
  void PlaceHandles();
  void DrawMirror() const;
  void DrawImages() const;
};
