#include "ui/base.h"

#include "ui/pixels.h"

float UiAlpha = 1.0f;

UIBase::UIBase() {
  UiAlpha = 1.0f;
}

bool UIBase::HandleMouse(int, int, int) {
  return false;
}

void UIBase::Update() {}

void UIBase::Draw() {}

void UIBase::SetPosition(int newX, int newY) {
  x = newX;
  y = newY;
}

void UIBase::SetSize(int newW, int newH) {
  w = newW;
  h = newH;
}

void UIBase::Scale(float fx, float fy) {
  w = TruncToInt(w * fx);
  h = TruncToInt(h * fy);
}

void UIBase::SetState(bool isEnabled, bool isVisible) {
  enabled = isEnabled;
  visible = isVisible;
}
