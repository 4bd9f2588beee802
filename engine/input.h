#pragma once
// The input part of the engine: the per-frame event queue and the polled values. The window
// procedure (engine_system.cpp) builds events here; EngineImpl forwards its Input_ operations.

#include <cstdint>

#include "engine/engine.h"

class EngineImpl;

class Input {
 public:
  explicit Input(EngineImpl& engine) : engine_(engine) {}
  ~Input();
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;

  // Mouse position from the cursor, key bits cleared (during System_Initiate).
  void Initiate();
  // Builds one event. Keyboard messages pass x = y = -1 and the key's position (the platform's scan code); wheel events
  // pass the notches as key and the position in screen coordinates; mouse events pass client
  // coordinates. flags carries MOD_REPEAT for repeated keys and double clicks.
  void BuildEvent(int type, int key, int scanCode, int flags, float x, float y);
  // Once per frame-loop iteration, before the frame timing. Inside while captured, else while the
  // pointer is over the window (where the video driver has no system pointer: while the last
  // move was inside the client area).
  void UpdateMouseInside();
  // The window moved to (left, top) on the screen. The pointer stayed where it was, so over the
  // window it now has another client position, which becomes a move event as if it had moved.
  void WindowMoved(int left, int top);
  // Window-system units per screen pixel, where the window grew to the physical pixels.
  void SetWindowUnits(int units) { units_ = units > 0 ? units : 1; }
  // After every frame and when System_Start or System_Shutdown ends: the queue, the key bits,
  // the last key and character and the wheel go; position, inside and capture stay.
  void ClearFrame();

  // The polled values behind the engine's Input_ operations.
  void MousePosition(float* x, float* y) const;
  // Moves the system cursor to a client position; the position changes with the move that follows.
  void SetMousePosition(float x, float y);
  int WheelDelta() const { return wheel_; }
  bool MouseInside() const { return mouseInside_; }
  bool KeyPressed(int key) const;
  bool KeyReleased(int key) const;
  // Whether the key is down as of the last event built.
  bool KeyHeld(int key) const;
  int LastKey() const { return lastKey_; }
  int LastChar() const { return lastChar_; }
  // Copies out and removes the oldest event; false, output untouched, when there is none.
  bool NextEvent(InputEvent* event);
  // The system cursor's position on the screen. Where the video driver has no system pointer
  // (the off-screen driver), where the pointer was at the last mouse move: the window's position
  // then plus the move's unclamped client position.
  void CursorOnScreen(int* x, int* y) const;

 private:
  struct Node {
    InputEvent event;
    Node* next;
  };

  static constexpr int kKeyCount = 256;
  static constexpr std::uint8_t kWentDown = 1;
  static constexpr std::uint8_t kWentUp = 2;

  void MarkKey(int key, std::uint8_t bit, bool held);
  int ModifierFlags() const;
  void ScreenToClient(float* x, float* y) const;
  bool HasSystemPointer() const;
  void NoteCursor(float clientX, float clientY);
  void ClampToScreen(float* x, float* y) const;
  void Capture(bool on);
  void Append(Node* node);

  EngineImpl& engine_;
  int lastKey_ = 0;
  int lastChar_ = 0;
  int wheel_ = 0;
  float mouseX_ = 0;
  int units_ = 1;
  float mouseY_ = 0;
  bool mouseInside_ = false;
  bool captured_ = false;
  bool cursorSeen_ = false;
  bool pointerInClient_ = false;  // the last move was inside the client area
  int cursorX_ = 0;
  int cursorY_ = 0;
  std::uint8_t keyBits_[kKeyCount] = {};
  bool held_[kKeyCount] = {};
  Node* head_ = nullptr;
  Node* tail_ = nullptr;
};
