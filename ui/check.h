#pragma once
// UICheck: a check box made of four skin images at one place (unchecked, checked, hover-unchecked,
// hover-checked). Any release over it toggles it and calls the callback with EVENT_CLICKED,
// unless it is a radio member, whose group decides instead.

#include "ui/base.h"
#include "ui/image.h"
#include "ui/image_stack.h"

class UICheck : public UIBase {
 public:
  // An unchecked box with its top-left at (x, y), sized by the unchecked region; a
  // hoverCheckedRegion of -1 reuses hoverRegion.
  UICheck(int id, int uncheckedRegion, int checkedRegion, int hoverRegion, int hoverCheckedRegion,
          int x, int y);

  // Runs the press, hover and release state machine; true for a press or a release over it.
  bool HandleMouse(int event, int x, int y) override;
  // Draws the shown images, in stack order, at UiAlpha.
  void Draw() override;
  // Moves the box and its images to (x, y).
  void SetPosition(int x, int y) override;
  // Resizes the box and its images.
  void SetSize(int w, int h) override;
  // Sizes the box to its construction size times (fx, fy).
  void Scale(float fx, float fy) override;
  // Stores the flags; a visible box shows its checked or unchecked look, dimmed when disabled; an
  // invisible one hides every image.
  void SetState(bool enabled, bool visible) override;

  // Sets the checked flag and, when visible, shows the matching look. No callback.
  void SetChecked(bool value);
  // When visible, shows the hover look (on) or the plain look (off) for the current flag.
  void ShowHover(bool on);
  // Shows the pressed look, which is the checked image.
  void ShowPressed();

  bool checked = false;
  bool radioMember = false;  // a release does not toggle; the radio group selects
  UIImage unchecked, checkedImage, hoverUnchecked, hoverChecked;

 private:
  void ShowPlain();

  UIImageStack looks_{&unchecked, &checkedImage, &hoverUnchecked, &hoverChecked};
};
