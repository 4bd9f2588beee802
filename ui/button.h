#pragma once
// UIButton: a push button made of three skin images at one place (normal, pressed, hover). A
// click is a release while the button is pressed over it; it calls the callback with
// EVENT_CLICKED.

#include "ui/base.h"
#include "ui/image.h"
#include "ui/image_stack.h"

class UIButton : public UIBase {
 public:
  // A button with its top-left at (x, y), sized by the normal region; notifyHover makes it send
  // EVENT_ENTER and EVENT_LEAVE.
  UIButton(int id, int normalRegion, int pressedRegion, int hoverRegion, int x, int y,
           bool notifyHover);

  // Runs the press, hover and release state machine; true for a press or a release over it.
  bool HandleMouse(int event, int x, int y) override;
  // Draws the shown images, normal then pressed then hover, at UiAlpha.
  void Draw() override;
  // Moves the button and its images to (x, y).
  void SetPosition(int x, int y) override;
  // Resizes the button and its images.
  void SetSize(int w, int h) override;
  // Sizes the button to its construction size times (fx, fy).
  void Scale(float fx, float fy) override;
  // Stores the flags; a visible button shows its normal or pressed look, dimmed when disabled; an
  // invisible one hides every image.
  void SetState(bool enabled, bool visible) override;

  // Calls the callback, if any, with (this, event, userValue).
  void Notify(int event);

  bool pressed = false;  // held down over the control
  UIImage normal, pressedImage, hover;

 private:
  void ShowReleased();
  void LeaveHover();

  UIImageStack looks_{&normal, &pressedImage, &hover};
};
