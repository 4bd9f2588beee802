// Position, size, title, icon, focus and the other state of a window.
#include <vector>

#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

HWND AsHwnd(NativeWindow window) {
  return static_cast<HWND>(window);
}

WindowData* DataOf(NativeWindow window) {
  return reinterpret_cast<WindowData*>(GetWindowLongPtrW(AsHwnd(window), GWLP_USERDATA));
}

constexpr UINT kKeepPlace = SWP_NOZORDER | SWP_NOACTIVATE;

// A 32-bit icon from ARGB rows, top first; null when it cannot be made.
HICON IconFromPixels(const std::uint32_t* argb, int width, int height) {
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = width;
  header.bV5Height = -height;  // top-down rows
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (colour == nullptr) return nullptr;
  std::copy(argb, argb + static_cast<std::size_t>(width) * height,
            static_cast<std::uint32_t*>(bits));
  // The alpha channel decides; the mask is only required to be there.
  std::vector<BYTE> maskBits(static_cast<std::size_t>((width + 15) / 16 * 2) * height, 0);
  HBITMAP mask = CreateBitmap(width, height, 1, 1, maskBits.data());
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = mask;
  HICON icon = mask != nullptr ? CreateIconIndirect(&info) : nullptr;
  DeleteObject(colour);
  if (mask != nullptr) DeleteObject(mask);
  return icon;
}

}  // namespace

void Win32Platform::SetWindowPosition(NativeWindow window, int left, int top) {
  if (window != nullptr)
    SetWindowPos(AsHwnd(window), nullptr, left, top, 0, 0, kKeepPlace | SWP_NOSIZE);
}

void Win32Platform::GetWindowPosition(NativeWindow window, int* left, int* top) {
  if (window == nullptr) return;
  RECT bounds{};
  GetWindowRect(AsHwnd(window), &bounds);
  *left = bounds.left;
  *top = bounds.top;
}

void Win32Platform::SetWindowSize(NativeWindow window, int width, int height) {
  if (window == nullptr) return;
  // The size asked for is the client area's.
  RECT outer{0, 0, width, height};
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(AsHwnd(window), GWL_STYLE));
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  SetWindowPos(AsHwnd(window), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               kKeepPlace | SWP_NOMOVE);
}

void Win32Platform::GetWindowSize(NativeWindow window, int* width, int* height) {
  if (window == nullptr) return;
  RECT client{};
  GetClientRect(AsHwnd(window), &client);
  *width = client.right;
  *height = client.bottom;
}

void Win32Platform::GetDrawableSize(NativeWindow window, int* width, int* height) {
  // The program is not DPI-aware: Windows scales its window, and pixels are window units.
  GetWindowSize(window, width, height);
}

bool Win32Platform::UsableBounds(NativeWindow window, Rect* bounds) {
  if (window == nullptr) return false;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromWindow(AsHwnd(window), MONITOR_DEFAULTTOPRIMARY), &info))
    return false;
  const RECT& work = info.rcWork;
  *bounds = {work.left, work.top, work.right - work.left, work.bottom - work.top};
  return true;
}

void Win32Platform::SetTitle(NativeWindow window, const char* title) {
  if (window != nullptr) SetWindowTextW(AsHwnd(window), Wide(title).c_str());
}

void Win32Platform::SetFullscreen(NativeWindow window, bool fullscreen) {
  WindowData* data = window != nullptr ? DataOf(window) : nullptr;
  if (data == nullptr || data->fullscreen == fullscreen) return;
  HWND handle = AsHwnd(window);
  if (fullscreen) {
    GetWindowRect(handle, &data->windowedBounds);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(handle, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& screen = info.rcMonitor;
    SetWindowPos(handle, HWND_TOP, screen.left, screen.top, screen.right - screen.left,
                 screen.bottom - screen.top, SWP_NOACTIVATE);
  } else {
    const RECT& was = data->windowedBounds;
    SetWindowPos(handle, nullptr, was.left, was.top, was.right - was.left, was.bottom - was.top,
                 kKeepPlace);
  }
  data->fullscreen = fullscreen;
}

bool Win32Platform::SetIcon(NativeWindow window, const std::uint32_t* argb, int width, int height) {
  if (window == nullptr || argb == nullptr || width <= 0 || height <= 0) return false;
  HICON icon = IconFromPixels(argb, width, height);
  if (icon == nullptr) {
    Fail("CreateIconIndirect");
    return false;
  }
  // The window keeps the icon until it is destroyed; an earlier one of ours is freed.
  for (WPARAM which : {static_cast<WPARAM>(ICON_BIG), static_cast<WPARAM>(ICON_SMALL)}) {
    HICON previous = reinterpret_cast<HICON>(
        SendMessageW(AsHwnd(window), WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
    if (previous != nullptr && previous != icon &&
        previous != reinterpret_cast<HICON>(GetClassLongPtrW(AsHwnd(window), GCLP_HICON))) {
      DestroyIcon(previous);
    }
  }
  return true;
}

void Win32Platform::HideWindow(NativeWindow window) {
  if (window != nullptr) ShowWindow(AsHwnd(window), SW_HIDE);
}

void Win32Platform::MinimizeWindow(NativeWindow window) {
  if (window != nullptr) ShowWindow(AsHwnd(window), SW_MINIMIZE);
}

bool Win32Platform::IsMinimized(NativeWindow window) {
  return window != nullptr && IsIconic(AsHwnd(window));
}

void Win32Platform::BringToFront(NativeWindow window) {
  if (window == nullptr) return;
  if (IsIconic(AsHwnd(window))) ShowWindow(AsHwnd(window), SW_RESTORE);
  SetForegroundWindow(AsHwnd(window));
}

bool Win32Platform::HasInputFocus(NativeWindow window) {
  return window != nullptr && GetFocus() == AsHwnd(window);
}

void Win32Platform::TakeInputFocus(NativeWindow window) {
  if (window != nullptr) SetFocus(AsHwnd(window));
}

bool Win32Platform::SetDragTest(NativeWindow window, DragTest test, const void* context) {
  WindowData* data = window != nullptr ? DataOf(window) : nullptr;
  if (data == nullptr) {
    error_ = "no window";
    return false;
  }
  // WM_NCHITTEST is handled on this thread, so the test may change at any time.
  data->dragTest = test;
  data->dragContext = context;
  return true;
}

}  // namespace platform::win32
