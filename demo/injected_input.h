#pragma once
// Input put into the window's event queue as the desktop puts a user's there (through the
// platform), so that the engine's message pump turns it into engine input exactly as it does a
// user's: Input_MousePosition, Input_MouseInside, Input_KeyHeld, Input_WheelDelta and
// Input_LastKey all see it.

#include <string>

#include "engine/engine.h"

// The virtual key that the engine names `name` ("Escape", "F5", "Left Arrow"), or 0 when no key
// of the keyboard has that name (mouse buttons have names but are not keys).
int VirtualKeyNamed(const std::string& name);

class InputInjector {
 public:
  // Moves the pointer to (x, y) in the window. The desktop moves it and reports the move and the
  // pointer's entry; a video driver without a system pointer reports the move itself. Where the
  // desktop lets no program place the pointer (Wayland), the move alone is reported: the
  // pointer's entry stays the real pointer's.
  void MovePointer(WindowHandle window, int x, int y);
  // Presses or releases the left button where the pointer is.
  void PressButton(WindowHandle window, bool down);
  // Turns the wheel by `notches` where the pointer is, positive away from the user.
  void TurnWheel(WindowHandle window, int notches);
  // Presses or releases the key the engine reads as virtual key `vk`; false when there is none.
  bool PressKey(WindowHandle window, int vk, bool down);
  // Asks the program to end, as the desktop does when the session ends.
  void AskToQuit(WindowHandle window);
  // Window-system units per screen pixel: positions are given in screen pixels and put into the
  // queue in the window's units, as the desktop reports them.
  void SetWindowUnits(int units) { units_ = units > 0 ? units : 1; }

 private:
  int units_ = 1;
  int x_ = 0;
  int y_ = 0;
};
