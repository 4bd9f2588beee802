#pragma once
// The control base class of the widget toolkit: every control derives from UIBase, is driven by one
// mouse event per frame and reports to the application through a plain function pointer.

#include <cstdint>

// Mouse event codes handed to UIBase::HandleMouse once per frame.
enum MouseEvent : int {
  EVENT_HELD = 1,          // the left button is down this frame (every frame while held)
  EVENT_HOVER = 2,         // the button is up and was up in the previous frame
  EVENT_RELEASED = 3,      // the button is up and was down in the previous frame
  EVENT_WHEEL_UP = 0x10,   // added to 2 or 3 when the wheel moved up this frame
  EVENT_WHEEL_DOWN = 0x20  // added to 2 or 3 when the wheel moved down this frame
};

// Event codes a control hands to its WidgetCallback.
enum WidgetEvent : int {
  EVENT_CLICKED = 3,  // clicked, toggled or changed
  EVENT_ENTER = 4,    // the mouse came onto a button
  EVENT_LEAVE = 5     // the mouse left a button
};

// The class of a control; panels read it to recurse into sub-panels.
enum UIKind : std::int32_t {
  KIND_BASE = 0,
  KIND_PANEL = 1,
  KIND_CHECK = 2,
  KIND_RADIO_GROUP = 3,
  KIND_BUTTON = 4,
  KIND_CLOCK_SLIDER = 6,
  KIND_LIST = 13
};

class UIBase;

// Called by a control with (the control, a WidgetEvent code, the control's user value).
using WidgetCallback = void (*)(UIBase* control, int event, int userValue);

// The factor 0 to 1 by which buttons and check boxes multiply their image alpha when drawing.
// Constructing any control sets it to 1; UIPanel::DrawAll sets it before drawing.
extern float UiAlpha;

class UIBase {
 public:
  // Sets UiAlpha to 1, like every control constructor.
  UIBase();
  virtual ~UIBase() = default;
  UIBase(const UIBase&) = delete;
  UIBase& operator=(const UIBase&) = delete;

  // Offers a mouse event at window position (x, y); true when the control consumed it.
  virtual bool HandleMouse(int event, int x, int y);
  // Per-frame hook; empty in every control and never called by the toolkit.
  virtual void Update();
  // Draws the control through the skin sheet.
  virtual void Draw();
  // Moves the control to (x, y).
  virtual void SetPosition(int x, int y);
  // Sets the control's size.
  virtual void SetSize(int w, int h);
  // Scales the current size by (fx, fy), truncating toward zero.
  virtual void Scale(float fx, float fy);
  // Enables or disables the control and shows or hides it.
  virtual void SetState(bool enabled, bool visible);

  std::int32_t kind = KIND_BASE;
  std::int32_t x = 0, y = 0;
  std::int32_t w = 0, h = 0;
  std::int32_t baseW = 0, baseH = 0;  // size at construction; Scale of some controls starts here
  std::int32_t id = -1;
  bool hovering = false;     // the mouse is over a button
  bool notifyHover = false;  // a button sends EVENT_ENTER and EVENT_LEAVE
  bool enabled = true;
  bool visible = true;
  std::int32_t userValue = 0;
  WidgetCallback callback = nullptr;
  UIBase* next = nullptr;  // next control in the parent's list
};
