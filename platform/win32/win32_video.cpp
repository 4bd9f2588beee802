// The window class, opening and closing windows, and the 1 ms timer period while video runs.
#include "platform/win32/win32_platform.h"

#include <timeapi.h>

namespace platform::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Corsaro270Window";
// The program's icon among its resources (packaging/windows).
constexpr int kIconResource = 107;

bool RegisterWindowClass() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  // A device context of its own keeps the GL pixel format for the window's life.
  windowClass.style = CS_OWNDC | CS_DBLCLKS;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

DWORD WindowStyle(const WindowSpec& spec) {
  DWORD style = spec.borderless || spec.fullscreen
                    ? WS_POPUP
                    : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!spec.hidden) style |= WS_VISIBLE;
  return style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
}

}  // namespace

void Win32Platform::Fail(const char* what) {
  const DWORD code = GetLastError();
  if (code == ERROR_SUCCESS) {
    error_ = std::string(what) + " failed, giving no reason";
    return;
  }
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string reason = text != nullptr ? Utf8(text) : std::string();
  if (text != nullptr) LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
  error_ = std::string(what) + " failed (" + std::to_string(code) + ")" +
           (reason.empty() ? "" : ": " + reason);
}

bool Win32Platform::StartVideo() {
  if (videoStarts_ == 0) {
    if (!RegisterWindowClass()) {
      Fail("RegisterClassExW");
      return false;
    }
    // The frame timer sleeps in steps of a millisecond, not of the default 15.6 ms tick.
    timeBeginPeriod(1);
  }
  ++videoStarts_;
  return true;
}

void Win32Platform::StopVideo() {
  if (videoStarts_ == 0) return;
  if (--videoStarts_ == 0) {
    timeEndPeriod(1);
    events_.clear();
  }
}

bool Win32Platform::DisplayBounds(Rect* bounds) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (width <= 0 || height <= 0) return false;
  *bounds = {0, 0, width, height};
  return true;
}

NativeWindow Win32Platform::OpenWindow(const WindowSpec& spec) {
  const DWORD style = WindowStyle(spec);
  // The bounds are the client area's; a frame, when there is one, goes around it.
  RECT outer{spec.bounds.left, spec.bounds.top, spec.bounds.left + spec.bounds.width,
             spec.bounds.top + spec.bounds.height};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  auto* data = new WindowData;
  const std::wstring title = Wide(spec.title);
  // CreateWindowExW may fail without setting an error of its own (no desktop to put the window
  // on); a code left from an earlier call must not stand in for the reason.
  SetLastError(ERROR_SUCCESS);
  HWND window = CreateWindowExW(0, kWindowClass, title.c_str(), style, outer.left, outer.top,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                nullptr, GetModuleHandleW(nullptr), data);
  if (window == nullptr) {
    Fail("CreateWindowExW");
    delete data;
    return nullptr;
  }
  data->dc = GetDC(window);
  mainWindow_ = window;
  if (spec.fullscreen) SetFullscreen(window, true);
  return window;
}

void Win32Platform::CloseWindow(NativeWindow window) {
  if (window == nullptr) return;
  HWND handle = static_cast<HWND>(window);
  auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  if (mainWindow_ == handle) mainWindow_ = nullptr;
  DestroyWindow(handle);
  delete data;
  // Its messages are gone with it; what it queued must not reach the next window.
  events_.clear();
}

std::uint32_t Win32Platform::WindowId(NativeWindow window) {
  // Window handles are 32-bit values even in 64-bit processes.
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace platform::win32
