#include "ui/panel.h"

#include <cassert>

namespace {
constexpr float kFullAlpha = 255.0f;
}  // namespace

bool DeliverMouse(UIBase* control, int event, int x, int y) {
  if (control->kind == KIND_PANEL) return static_cast<UIPanel*>(control)->Dispatch(event, x, y);
  return control->HandleMouse(event, x, y);
}

UIPanel::UIPanel(int panelX, int panelY) {
  kind = KIND_PANEL;
  x = panelX;
  y = panelY;
}

UIPanel::~UIPanel() {
  UIBase* child = first;
  while (child) {
    UIBase* following = child->next;
    delete child;
    child = following;
  }
}

void UIPanel::SetPosition(int newX, int newY) {
  const int dx = newX - x;
  const int dy = newY - y;
  x = newX;
  y = newY;
  for (UIBase* child = first; child; child = child->next) {
    child->SetPosition(child->x + dx, child->y + dy);
  }
}

void UIPanel::SetState(bool isEnabled, bool isVisible) {
  for (UIBase* child = first; child; child = child->next) child->SetState(isEnabled, isVisible);
}

bool UIPanel::Dispatch(int event, int mouseX, int mouseY) {
  if (capture && DeliverMouse(capture, event, mouseX, mouseY)) return true;
  for (UIBase* child = first; child; child = child->next) {
    if (DeliverMouse(child, event, mouseX, mouseY)) return true;
  }
  return false;
}

void UIPanel::DrawAll(int alpha) {
  UiAlpha = alpha / kFullAlpha;
  for (UIBase* child = first; child; child = child->next) {
    if (child->kind == KIND_PANEL) {
      static_cast<UIPanel*>(child)->DrawAll(alpha);
    } else {
      child->Draw();
    }
  }
}

void UIPanel::AddChild(UIBase* control) {
  assert(control && control != this);
  if (!control) return;
  control->next = first;
  first = control;
}
