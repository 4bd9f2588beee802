#pragma once
// The desktop backend of the platform layer, on SDL2 (with X11 for the desktop's scale and
// libwayland-client for a look at the compositor). Its operations live in one file per part:
//   sdl_video.cpp         the video driver, its fallback to X11, opening and closing windows
//   sdl_window_state.cpp  position, size, title, icon, focus and the other window state
//   sdl_drag_test.cpp     the window system's move of the window (SDL's hit test)
//   xft_dpi.cpp           the desktop's scale on X11
//   sdl_pointer.cpp       the pointer; sdl_keyboard.cpp the keys and their characters
//   sdl_events.cpp        SDL's events as the platform's, and synthetic ones into SDL's queue
//   sdl_gl.cpp            GL contexts and the swap
//   sdl_desktop.cpp       message boxes, addresses, power, the program's folder
//   monotonic_clock.cpp   the clock

#include <SDL2/SDL.h>

#include <string>

#include "engine/platform/platform.h"

namespace platform::sdl {

// The platform's event for an SDL event (kOther for those the engine does not handle).
Event FromSdlEvent(const SDL_Event& event);
// The SDL key that the backend reads as virtual key `vk`; false when no key gives it.
bool KeysymForVirtualKey(int vk, SDL_Keysym* key);
// The reading for what SDL reports (percent is -1 when SDL does not know it).
PowerReading PowerFromSdl(SDL_PowerState state, int percent);
// The process's monotonic clock, counted from its first use.
MillisecondClock& MonotonicClock();

class SdlPlatform final : public Platform {
 public:
  const char* Name() override { return "SDL"; }
  const char* LastError() override;
  void SetLog(LogSink* sink) override { log_ = sink; }

  bool StartVideo() override;
  void StopVideo() override;
  bool VideoDriverAcceptable() override;
  bool HasSystemPointer() override;
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
  bool DesktopScale(NativeWindow window, int* scale) override;
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
  const char* VideoDriver() override;

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

  MillisecondClock& Clock() override { return MonotonicClock(); }

  // What SDL's hit test is given: the test and its context together.
  struct InstalledDragTest {
    DragTest test = nullptr;
    const void* context = nullptr;
  };

 private:
  bool OnWayland();
  // Logs why Wayland failed and starts the video on X11 (`started`: in place of the one started),
  // once per process. False when X11 fails too.
  bool FallBackToX11(const char* reason, bool started);
  void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

  LogSink* log_ = nullptr;
  // Replaced only while no hit test is installed: SDL may read it on its event thread.
  InstalledDragTest drag_;
  bool triedX11_ = false;
  bool folderKnown_ = false;
  std::string programFolder_;
  std::string error_;
};

}  // namespace platform::sdl
