#include "ui/button.h"

#include "ui/pixels.h"

UIButton::UIButton(int buttonId, int normalRegion, int pressedRegion, int hoverRegion, int atX,
                   int atY, bool notify)
    : normal(normalRegion), pressedImage(pressedRegion), hover(hoverRegion) {
  kind = KIND_BUTTON;
  id = buttonId;
  notifyHover = notify;
  w = baseW = normal.w;
  h = baseH = normal.h;
  pressedImage.hidden = true;
  hover.hidden = true;
  SetPosition(atX, atY);
}

bool UIButton::HandleMouse(int event, int mouseX, int mouseY) {
  if (!visible || !enabled) return false;
  if (!normal.Contains(mouseX, mouseY)) {
    ShowReleased();
    LeaveHover();
    return false;
  }
  if (!hovering) {
    hovering = true;
    if (notifyHover) Notify(EVENT_ENTER);
  }
  switch (event) {
    case EVENT_HELD:
      // Also when the press started elsewhere and the mouse moved on with the button held.
      if (!pressed) {
        normal.hidden = true;
        pressedImage.hidden = false;
      }
      hover.hidden = true;
      pressed = true;
      return true;
    case EVENT_HOVER:
      hover.hidden = false;
      return false;
    case EVENT_RELEASED:
      // The callback sees the button still pressed.
      if (callback && pressed) callback(this, EVENT_CLICKED, userValue);
      ShowReleased();
      return true;
    default:
      return false;
  }
}

void UIButton::ShowReleased() {
  if (pressed) {
    normal.hidden = false;
    pressedImage.hidden = true;
  }
  hover.hidden = true;
  pressed = false;
}

void UIButton::LeaveHover() {
  if (!hovering) return;
  hovering = false;
  if (notifyHover) Notify(EVENT_LEAVE);
}

void UIButton::Draw() {
  looks_.Draw(UiAlpha);
}

void UIButton::SetPosition(int newX, int newY) {
  UIBase::SetPosition(newX, newY);
  looks_.Place(newX, newY);
}

void UIButton::SetSize(int newW, int newH) {
  UIBase::SetSize(newW, newH);
  looks_.Resize(newW, newH);
}

void UIButton::Scale(float fx, float fy) {
  SetSize(TruncToInt(baseW * fx), TruncToInt(baseH * fy));
}

void UIButton::SetState(bool isEnabled, bool isVisible) {
  UIBase::SetState(isEnabled, isVisible);
  if (!isVisible) {
    looks_.HideAll();
    return;
  }
  looks_.ShowEnabled(isEnabled);
  hover.hidden = true;
  normal.hidden = pressed;
  pressedImage.hidden = !pressed;
}

void UIButton::Notify(int event) {
  if (callback) callback(this, event, userValue);
}
