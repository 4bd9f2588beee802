// The pointer: the cursor, its position, the window under it, warps and capture.
#include "platform/win32/win32_platform.h"

namespace platform::win32 {

void Win32Platform::ShowCursor(bool shown) {
  // ShowCursor counts; one step each way keeps the count at the desktop's own.
  if (shown == cursorShown_) return;
  ::ShowCursor(shown ? TRUE : FALSE);
  cursorShown_ = shown;
}

void Win32Platform::PointerOnDesktop(int* x, int* y) {
  POINT point{};
  GetCursorPos(&point);
  *x = point.x;
  *y = point.y;
}

bool Win32Platform::PointerOver(NativeWindow window) {
  if (window == nullptr) return false;
  POINT point{};
  if (!GetCursorPos(&point)) return false;
  // The window under the pointer, so a window lying over ours takes the pointer away.
  return WindowFromPoint(point) == static_cast<HWND>(window);
}

bool Win32Platform::WarpPointer(NativeWindow window, int x, int y) {
  if (window == nullptr) return false;
  POINT point{x, y};
  ClientToScreen(static_cast<HWND>(window), &point);
  if (!SetCursorPos(point.x, point.y)) return false;
  // The system's own move message may come later than the input that follows the warp; the
  // move is reported now, in order, as SDL reports its warps.
  Event moved{EventKind::kPointerMove};
  moved.x = x;
  moved.y = y;
  Queue(moved);
  return true;
}

void Win32Platform::CapturePointer(bool on) {
  if (!on) {
    ReleaseCapture();
  } else if (mainWindow_ != nullptr) {
    SetCapture(mainWindow_);
  }
}

}  // namespace platform::win32
