#include "engine/input.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "engine/engine_impl.h"

namespace {

constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kVkAlt = 18;
constexpr float kNoPosition = -1.0f;

}  // namespace

Input::~Input() {
  ClearFrame();
}

void Input::Initiate() {
  std::memset(keyBits_, 0, sizeof keyBits_);
  std::memset(held_, 0, sizeof held_);
  int x = 0;
  int y = 0;
  engine_.os.PointerOnDesktop(&x, &y);
  mouseX_ = static_cast<float>(x);
  mouseY_ = static_cast<float>(y);
  ScreenToClient(&mouseX_, &mouseY_);
  mouseX_ = std::floor(mouseX_ / static_cast<float>(units_));
  mouseY_ = std::floor(mouseY_ / static_cast<float>(units_));
}

void Input::BuildEvent(int type, int key, int scanCode, int flags, float x, float y) {
  Node* node = new (std::nothrow) Node{};
  if (node == nullptr) return;  // the event is dropped, as documented
  InputEvent& event = node->event;
  event.type = type;

  switch (type) {
    case EVENT_KEY_DOWN:
    case EVENT_KEY_UP: {
      bool down = type == EVENT_KEY_DOWN;
      // A repeated key-down is not a new press, but it is still held.
      if (!down || (flags & MOD_REPEAT) == 0) MarkKey(key, down ? kWentDown : kWentUp, down);
      const int modifierFlags = ModifierFlags();
      int modifiers = 0;
      if ((modifierFlags & MOD_SHIFT) != 0) modifiers |= platform::kShiftDown;
      if ((modifierFlags & MOD_CTRL) != 0) modifiers |= platform::kCtrlDown;
      if ((modifierFlags & MOD_ALT) != 0) modifiers |= platform::kAltDown;
      if ((modifierFlags & MOD_CAPS_LOCK) != 0) modifiers |= platform::kCapsLockOn;
      event.chr = engine_.os.CharacterFromKey(key, scanCode, modifiers);
      event.key = key;
      break;
    }
    case EVENT_WHEEL:
      event.wheel = key;
      ScreenToClient(&x, &y);
      break;
    case EVENT_BUTTON_DOWN:
      event.key = key;
      MarkKey(key, kWentDown, true);
      Capture(true);
      break;
    case EVENT_BUTTON_UP:
      event.key = key;
      MarkKey(key, kWentUp, false);
      Capture(false);
      // The cursor goes back to where the clamped position left it, after a drag outside.
      SetMousePosition(mouseX_, mouseY_);
      x = std::trunc(mouseX_);
      y = std::trunc(mouseY_);
      break;
    case EVENT_MOUSE_MOVE:
      event.key = key;
      NoteCursor(x, y);
      break;
    default:
      event.key = key;
      break;
  }

  event.flags = flags | ModifierFlags();
  if (x == kNoPosition) {
    event.x = mouseX_;
    event.y = mouseY_;
  } else {
    ClampToScreen(&x, &y);
    event.x = x;
    event.y = y;
  }
  Append(node);

  if (type == EVENT_KEY_DOWN || type == EVENT_BUTTON_DOWN) {
    lastKey_ = event.key;
    lastChar_ = event.chr;
  } else if (type == EVENT_MOUSE_MOVE) {
    mouseX_ = event.x;
    mouseY_ = event.y;
  } else if (type == EVENT_WHEEL) {
    wheel_ += event.wheel;
  }
}

void Input::UpdateMouseInside() {
  WindowHandle window = engine_.window;
  // The window system knows the window under the pointer, so a window lying over ours takes the
  // pointer away as well. Without a system pointer (the off-screen driver) there are no
  // crossings and no other windows: the last move alone tells.
  const bool over = HasSystemPointer() ? engine_.os.PointerOver(window) : pointerInClient_;
  mouseInside_ = captured_ || (window != nullptr && over);
}

void Input::WindowMoved(int left, int top) {
  // Platforms need not send a move when the window moves under a still pointer (X11 sends
  // none), and a release would then put the pointer back by the window's last step.
  if (!captured_ && !mouseInside_) return;
  if (!cursorSeen_ && !HasSystemPointer()) return;
  int x = 0;
  int y = 0;
  CursorOnScreen(&x, &y);
  BuildEvent(EVENT_MOUSE_MOVE, 0, 0, 0, std::floor(static_cast<float>(x - left) / units_),
             std::floor(static_cast<float>(y - top) / units_));
}

void Input::ClearFrame() {
  std::memset(keyBits_, 0, sizeof keyBits_);
  while (head_ != nullptr) {
    Node* next = head_->next;
    delete head_;
    head_ = next;
  }
  tail_ = nullptr;
  lastKey_ = 0;
  lastChar_ = 0;
  wheel_ = 0;
}

void Input::MousePosition(float* x, float* y) const {
  if (x != nullptr) *x = mouseX_;
  if (y != nullptr) *y = mouseY_;
}

void Input::SetMousePosition(float x, float y) {
  if (engine_.window == nullptr) return;
  engine_.os.WarpPointer(engine_.window, static_cast<int>(x) * units_,
                         static_cast<int>(y) * units_);
}

bool Input::KeyPressed(int key) const {
  return key >= 0 && key < kKeyCount && (keyBits_[key] & kWentDown) != 0;
}

bool Input::KeyReleased(int key) const {
  return key >= 0 && key < kKeyCount && (keyBits_[key] & kWentUp) != 0;
}

bool Input::KeyHeld(int key) const {
  if (key < 0 || key >= kKeyCount) return false;
  // Either Shift (Ctrl, Alt) keeps the shared code down, which one key's events cannot tell.
  const int mod = engine_.os.Modifiers();
  if (key == kVkShift && (mod & platform::kShiftDown) != 0) return true;
  if (key == kVkControl && (mod & platform::kCtrlDown) != 0) return true;
  if (key == kVkAlt && (mod & platform::kAltDown) != 0) return true;
  return held_[key];
}

bool Input::NextEvent(InputEvent* event) {
  if (head_ == nullptr) return false;
  Node* node = head_;
  if (event != nullptr) *event = node->event;
  head_ = node->next;
  if (head_ == nullptr) tail_ = nullptr;
  delete node;
  return true;
}

void Input::CursorOnScreen(int* x, int* y) const {
  // A position worked out from the window's own moves lags one move behind while the window
  // itself is being dragged, so the system pointer is asked wherever there is one.
  if (cursorSeen_ && !HasSystemPointer()) {
    *x = cursorX_;
    *y = cursorY_;
    return;
  }
  engine_.os.PointerOnDesktop(x, y);
}

bool Input::HasSystemPointer() const {
  return engine_.os.HasSystemPointer();
}

void Input::NoteCursor(float clientX, float clientY) {
  int left = 0;
  int top = 0;
  engine_.os.GetWindowPosition(engine_.window, &left, &top);
  cursorX_ = left + static_cast<int>(clientX * units_);
  cursorY_ = top + static_cast<int>(clientY * units_);
  cursorSeen_ = true;
  pointerInClient_ = clientX >= 0 && clientY >= 0 && clientX < engine_.screenWidth &&
                     clientY < engine_.screenHeight;
}

void Input::MarkKey(int key, std::uint8_t bit, bool held) {
  if (key < 0 || key >= kKeyCount) return;
  keyBits_[key] |= bit;
  held_[key] = held;
}

int Input::ModifierFlags() const {
  const int mod = engine_.os.Modifiers();
  int flags = 0;
  if (KeyHeld(kVkShift)) flags |= MOD_SHIFT;
  if (KeyHeld(kVkControl)) flags |= MOD_CTRL;
  if (KeyHeld(kVkAlt)) flags |= MOD_ALT;
  if ((mod & platform::kCapsLockOn) != 0) flags |= MOD_CAPS_LOCK;
  if ((mod & platform::kScrollLockOn) != 0) flags |= MOD_SCROLL_LOCK;
  if ((mod & platform::kNumLockOn) != 0) flags |= MOD_NUM_LOCK;
  return flags;
}

void Input::ScreenToClient(float* x, float* y) const {
  if (engine_.window == nullptr) return;
  int left = 0;
  int top = 0;
  engine_.os.GetWindowPosition(engine_.window, &left, &top);
  *x -= static_cast<float>(left);
  *y -= static_cast<float>(top);
}

void Input::ClampToScreen(float* x, float* y) const {
  float right = static_cast<float>(std::max(engine_.screenWidth - 1, 0));
  float bottom = static_cast<float>(std::max(engine_.screenHeight - 1, 0));
  *x = std::clamp(*x, 0.0f, right);
  *y = std::clamp(*y, 0.0f, bottom);
}

void Input::Capture(bool on) {
  captured_ = on;
  // Capturing follows the focused window, so there is nothing to capture without ours.
  if (engine_.window != nullptr) engine_.os.CapturePointer(on);
}

void Input::Append(Node* node) {
  if (tail_ == nullptr) {
    head_ = node;
  } else {
    tail_->next = node;
  }
  tail_ = node;
}
