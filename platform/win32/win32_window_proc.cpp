// The window procedure: the messages the engine handles become the platform's events, queued in
// arrival order for PollEvent; WM_NCHITTEST answers the drag test.
#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

constexpr int kWheelNotch = 120;  // WHEEL_DELTA
constexpr int kVkF4 = 0x73;
constexpr LPARAM kRepeatBit = 1 << 30;
constexpr LPARAM kAltContextBit = 1 << 29;
constexpr int kScanCodeShift = 16;
constexpr LPARAM kScanCodeMask = 0xFF;
constexpr LPARAM kExtendedBit = 1 << 24;
constexpr int kExtendedScanCode = 0x100;

WindowData* DataOf(HWND window) {
  return reinterpret_cast<WindowData*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

int SignedLow(LPARAM value) {
  return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(value)));
}
int SignedHigh(LPARAM value) {
  return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(value)));
}

void QueueKind(EventKind kind) {
  Event event;
  event.kind = kind;
  LinkedWin32().Queue(event);
}

void QueueKey(bool down, WPARAM wParam, LPARAM lParam) {
  Event event;
  event.kind = down ? EventKind::kKeyDown : EventKind::kKeyUp;
  event.virtualKey = VirtualKeyFromMessage(wParam, lParam);
  event.scanCode = static_cast<int>((lParam >> kScanCodeShift) & kScanCodeMask) |
                   ((lParam & kExtendedBit) != 0 ? kExtendedScanCode : 0);
  event.modifiers = (lParam & kAltContextBit) != 0 ? kAltDown : 0;
  event.repeat = down && (lParam & kRepeatBit) != 0;
  LinkedWin32().Queue(event);
}

void QueueButton(bool down, int virtualKey, int clicks, LPARAM lParam) {
  Event event;
  event.kind = down ? EventKind::kButtonDown : EventKind::kButtonUp;
  event.virtualKey = virtualKey;
  event.clicks = clicks;
  event.x = SignedLow(lParam);
  event.y = SignedHigh(lParam);
  LinkedWin32().Queue(event);
}

void QueueMove(EventKind kind, int x, int y) {
  Event event;
  event.kind = kind;
  event.x = x;
  event.y = y;
  LinkedWin32().Queue(event);
}

// Whole notches only; what is left of a fine-grained wheel's delta waits for the next message.
void QueueWheel(HWND window, WindowData* data, WPARAM wParam, LPARAM lParam) {
  if (data == nullptr) return;
  data->wheelRemainder += static_cast<short>(HIWORD(wParam));
  const int notches = data->wheelRemainder / kWheelNotch;
  if (notches == 0) return;
  data->wheelRemainder -= notches * kWheelNotch;
  POINT point{SignedLow(lParam), SignedHigh(lParam)};  // on the desktop
  ScreenToClient(window, &point);
  Event event;
  event.kind = EventKind::kWheel;
  event.notches = notches;
  event.x = point.x;
  event.y = point.y;
  LinkedWin32().Queue(event);
}

LRESULT HitTest(HWND window, WPARAM wParam, LPARAM lParam) {
  const LRESULT hit = DefWindowProcW(window, WM_NCHITTEST, wParam, lParam);
  const WindowData* data = DataOf(window);
  if (hit != HTCLIENT || data == nullptr || data->dragTest == nullptr) return hit;
  POINT point{SignedLow(lParam), SignedHigh(lParam)};
  ScreenToClient(window, &point);
  RECT client{};
  GetClientRect(window, &client);
  const bool band =
      data->dragTest(data->dragContext, point.x, point.y, client.right, client.bottom);
  return band ? HTCAPTION : HTCLIENT;
}

LRESULT Created(HWND window, LPARAM lParam) {
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  return 0;
}

void Sized(WPARAM wParam) {
  QueueKind(wParam == SIZE_MINIMIZED ? EventKind::kMinimized : EventKind::kWindowOther);
}

void Moved(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  QueueMove(EventKind::kMoved, bounds.left, bounds.top);
}

void Painted(HWND window) {
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
  QueueKind(EventKind::kExposed);
}

// Keys with Alt or F10 come as system keys; the program handles them itself, so the window
// enters no menu loop. Alt+F4 still asks the window to close.
LRESULT SystemKey(bool down, WPARAM wParam, LPARAM lParam) {
  if (down && wParam == kVkF4 && (lParam & kAltContextBit) != 0) {
    QueueKind(EventKind::kClose);
    return 0;
  }
  QueueKey(down, wParam, lParam);
  return 0;
}

// Input messages; false when `message` is none of them.
bool HandleInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      QueueKey(message == WM_KEYDOWN, wParam, lParam);
      return true;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      SystemKey(message == WM_SYSKEYDOWN, wParam, lParam);
      return true;
    case WM_MOUSEMOVE:
      QueueMove(EventKind::kPointerMove, SignedLow(lParam), SignedHigh(lParam));
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      QueueButton(true, VK_LBUTTON, message == WM_LBUTTONDBLCLK ? 2 : 1, lParam);
      return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      QueueButton(true, VK_RBUTTON, message == WM_RBUTTONDBLCLK ? 2 : 1, lParam);
      return true;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      QueueButton(true, VK_MBUTTON, message == WM_MBUTTONDBLCLK ? 2 : 1, lParam);
      return true;
    case WM_LBUTTONUP:
      QueueButton(false, VK_LBUTTON, 1, lParam);
      return true;
    case WM_RBUTTONUP:
      QueueButton(false, VK_RBUTTON, 1, lParam);
      return true;
    case WM_MBUTTONUP:
      QueueButton(false, VK_MBUTTON, 1, lParam);
      return true;
    case WM_MOUSEWHEEL:
      QueueWheel(window, DataOf(window), wParam, lParam);
      return true;
    default:
      return false;
  }
}

}  // namespace

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleInput(window, message, wParam, lParam)) return 0;
  switch (message) {
    case WM_NCCREATE:
      Created(window, lParam);
      break;
    case WM_NCHITTEST:
      return HitTest(window, wParam, lParam);
    case WM_CLOSE:
      // The program decides; DefWindowProc would destroy the window.
      QueueKind(EventKind::kClose);
      return 0;
    case WM_SETFOCUS:
      QueueKind(EventKind::kFocusGained);
      return 0;
    case WM_KILLFOCUS:
      QueueKind(EventKind::kFocusLost);
      return 0;
    case WM_SIZE:
      Sized(wParam);
      return 0;
    case WM_MOVE:
      Moved(window);
      return 0;
    case WM_SHOWWINDOW:
      QueueKind(EventKind::kWindowOther);
      break;
    case WM_PAINT:
      Painted(window);
      return 0;
    case WM_ERASEBKGND:
      // The next frame covers the whole client area.
      return 1;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace platform::win32
