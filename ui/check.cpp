#include "ui/check.h"

#include "ui/pixels.h"

UICheck::UICheck(int checkId, int uncheckedRegion, int checkedRegion, int hoverRegion,
                 int hoverCheckedRegion, int atX, int atY)
    : unchecked(uncheckedRegion),
      checkedImage(checkedRegion),
      hoverUnchecked(hoverRegion),
      hoverChecked(hoverCheckedRegion == -1 ? hoverRegion : hoverCheckedRegion) {
  kind = KIND_CHECK;
  id = checkId;
  w = baseW = unchecked.w;
  h = baseH = unchecked.h;
  checkedImage.hidden = hoverUnchecked.hidden = hoverChecked.hidden = true;
  SetPosition(atX, atY);
}

bool UICheck::HandleMouse(int event, int mouseX, int mouseY) {
  if (!visible || !enabled) return false;
  if (!unchecked.Contains(mouseX, mouseY)) {
    ShowPlain();
    return false;
  }
  switch (event) {
    case EVENT_HELD:
      ShowPressed();
      return true;
    case EVENT_HOVER:
      ShowHover(true);
      return false;
    case EVENT_RELEASED:
      // Toggles whether or not the press started over the box.
      if (radioMember) return true;
      SetChecked(!checked);
      if (callback) callback(this, EVENT_CLICKED, userValue);
      return true;
    default:
      return false;
  }
}

void UICheck::ShowPlain() {
  hoverUnchecked.hidden = hoverChecked.hidden = true;
  checkedImage.hidden = !checked;
  unchecked.hidden = checked;
}

void UICheck::SetChecked(bool value) {
  checked = value;
  if (visible) ShowPlain();
}

void UICheck::ShowHover(bool on) {
  if (!visible) return;
  if (!on) {
    ShowPlain();
    return;
  }
  unchecked.hidden = checkedImage.hidden = true;
  hoverChecked.hidden = !checked;
  hoverUnchecked.hidden = checked;
}

void UICheck::ShowPressed() {
  checkedImage.hidden = false;
  unchecked.hidden = hoverUnchecked.hidden = hoverChecked.hidden = true;
}

void UICheck::Draw() {
  looks_.Draw(UiAlpha);
}

void UICheck::SetPosition(int newX, int newY) {
  UIBase::SetPosition(newX, newY);
  looks_.Place(newX, newY);
}

void UICheck::SetSize(int newW, int newH) {
  UIBase::SetSize(newW, newH);
  looks_.Resize(newW, newH);
}

void UICheck::Scale(float fx, float fy) {
  SetSize(TruncToInt(baseW * fx), TruncToInt(baseH * fy));
}

void UICheck::SetState(bool isEnabled, bool isVisible) {
  UIBase::SetState(isEnabled, isVisible);
  if (!isVisible) {
    looks_.HideAll();
    return;
  }
  looks_.ShowEnabled(isEnabled);
  ShowPlain();
}
