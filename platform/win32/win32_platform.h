#pragma once
// The Windows backend of the platform layer, on the Win32 API and WGL. Its operations live in one
// file per part:
//   win32_video.cpp         the window class, opening and closing windows, the timer period
//   win32_window_state.cpp  position, size, title, icon, focus and the other window state
//   win32_window_proc.cpp   the window procedure: messages as the platform's events, the drag band
//   win32_events.cpp        the message pump and events put into the queue
//   win32_keyboard.cpp      the keys and their characters; win32_pointer.cpp the pointer
//   win32_gl.cpp            WGL contexts and the swap
//   win32_desktop.cpp       message boxes, addresses, power, the program's folder
//   win32_clock.cpp         the clock
// Windows are HWNDs; each carries a WindowData of the backend's own.

#include <cstdint>
#include <deque>
#include <string>

// The platform's names first: <windows.h> makes MessageBox a macro, which is taken back here (the
// backend calls MessageBoxW by that name).
#include "engine/platform/platform.h"

#include <windows.h>
#undef MessageBox

namespace platform::win32 {

// What the backend keeps for each of its windows (GWLP_USERDATA).
struct WindowData {
  HDC dc = nullptr;  // the window's own device context (CS_OWNDC), for GL
  DragTest dragTest = nullptr;
  const void* dragContext = nullptr;
  int wheelRemainder = 0;  // wheel delta below a notch, kept for the next message
  bool fullscreen = false;
  RECT windowedBounds{};
};

// UTF-8 and UTF-16, as the program's texts and the W functions take them.
std::wstring Wide(const char* utf8);
std::string Utf8(const wchar_t* wide);

// The engine's virtual key for a key message's wParam, or 0 for a key the SDL backend gives no
// code either. Numpad keys already follow Num Lock on Windows.
int VirtualKeyFromMessage(WPARAM wParam, LPARAM lParam);

// The window procedure of the backend's windows (win32_window_proc.cpp).
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The process's clock at a 1 ms timer period, counted from its first use.
MillisecondClock& PreciseClock();

class Win32Platform final : public Platform {
 public:
  const char* Name() override { return "Win32"; }
  const char* LastError() override { return error_.c_str(); }
  void SetLog(LogSink* sink) override { log_ = sink; }

  bool StartVideo() override;
  void StopVideo() override;
  bool VideoDriverAcceptable() override { return true; }
  bool HasSystemPointer() override { return true; }
  bool DisplayBounds(Rect* bounds) override;
  NativeWindow OpenWindow(const WindowSpec& spec) override;
  void CloseWindow(NativeWindow window) override;
  std::uint32_t WindowId(NativeWindow window) override;

  void SetWindowPosition(NativeWindow window, int left, int top) override;
  void GetWindowPosition(NativeWindow window, int* left, int* top) override;
  void SetWindowSize(NativeWindow window, int width, int height) override;
  void GetWindowSize(NativeWindow window, int* width, int* height) override;
  void GetDrawableSize(NativeWindow window, int* width, int* height) override;
  bool UsableBounds(NativeWindow window, Rect* bounds) override;
  bool DesktopScale(NativeWindow, int*) override { return false; }
  void SetTitle(NativeWindow window, const char* title) override;
  void SetFullscreen(NativeWindow window, bool fullscreen) override;
  bool SetIcon(NativeWindow window, const std::uint32_t* argb, int width, int height) override;
  void HideWindow(NativeWindow window) override;
  void MinimizeWindow(NativeWindow window) override;
  bool IsMinimized(NativeWindow window) override;
  void BringToFront(NativeWindow window) override;
  bool HasInputFocus(NativeWindow window) override;
  void TakeInputFocus(NativeWindow window) override;
  bool SetDragTest(NativeWindow window, DragTest test, const void* context) override;
  const char* VideoDriver() override { return "win32"; }

  void ShowCursor(bool shown) override;
  void PointerOnDesktop(int* x, int* y) override;
  bool PointerOver(NativeWindow window) override;
  bool WarpPointer(NativeWindow window, int x, int y) override;
  void CapturePointer(bool on) override;

  int Modifiers() override;
  int CharacterFromKey(int virtualKey, int scanCode, int modifiers) override;
  bool HasKey(int virtualKey) override;

  bool PollEvent(Event* event) override;
  bool PostEvent(NativeWindow window, const Event& event) override;

  GlContext CreateGlContext(NativeWindow window) override;
  void DeleteGlContext(GlContext context) override;
  void SetSwapInterval(int interval) override;
  void SwapWindow(NativeWindow window) override;

  bool ShowMessageBox(NativeWindow owner, const MessageBox& box, BoxAnswer* answer) override;
  bool OpenUrl(const char* url) override;
  PowerReading Power() override;
  const char* ProgramFolder() override;

  MillisecondClock& Clock() override { return PreciseClock(); }

  // The window procedure's way in: an event for the program, in arrival order.
  void Queue(const Event& event) { events_.push_back(event); }

 private:
  // Keeps the reason of a failed call of `what` (GetLastError's text) for LastError.
  void Fail(const char* what);

  LogSink* log_ = nullptr;
  std::deque<Event> events_;
  int videoStarts_ = 0;
  HWND mainWindow_ = nullptr;  // the last window opened: the one capture and posted events go to
  bool cursorShown_ = true;
  std::string programFolder_;
  std::string error_;
};

// The window procedure's platform: the one the program links.
Win32Platform& LinkedWin32();

}  // namespace platform::win32
