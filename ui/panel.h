#pragma once
// UIPanel: a container that owns a list of controls and hands them mouse events and drawing. The
// most recently added child sees events first and is drawn first (so the first added ends on top).

#include "ui/base.h"

class UIPanel : public UIBase {
 public:
  // An empty panel at (x, y).
  UIPanel(int x, int y);
  // Destroys every child in list order.
  ~UIPanel() override;

  // Moves the panel to (x, y) and every child by the same offset.
  void SetPosition(int x, int y) override;
  // Passes the flags to every child; the panel's own flags stay as they are.
  void SetState(bool enabled, bool visible) override;

  // Offers a mouse event to the capture control, then to each child from the front of the list,
  // until one consumes it; true when one did.
  bool Dispatch(int event, int x, int y);
  // Sets UiAlpha to alpha / 255 and draws every child from the front of the list.
  void DrawAll(int alpha);
  // Puts `control` at the front of the list; the panel owns it from now on.
  void AddChild(UIBase* control);

  UIBase* first = nullptr;    // first child, null when empty
  UIBase* capture = nullptr;  // gets events before the children during a drag
};

// Hands an event to a control the way a panel does: sub-panels through Dispatch.
bool DeliverMouse(UIBase* control, int event, int x, int y);
