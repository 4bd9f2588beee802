#pragma once
// The platform in memory, for tests: windows are records of their state, events wait in a queue
// of its own, message boxes and addresses are written down and answered as the test says, and
// nothing is ever shown. There is no GL: a window for it opens, its context does not.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/platform.h"

namespace platform::null {

// A window's state as the null platform keeps it.
struct NullWindow {
  std::string title;
  Rect bounds;
  bool borderless = false;
  bool fullscreen = false;
  bool hidden = false;
  bool minimized = false;
  bool inputFocus = false;
  int raised = 0;  // how often it was brought to the front
  int iconWidth = 0, iconHeight = 0;
  DragTest dragTest = nullptr;
  const void* dragContext = nullptr;
};

// A message box as it was asked for.
struct ShownBox {
  BoxIcon icon = BoxIcon::kInformation;
  std::string caption;
  std::string text;
  bool question = false;
  bool defaultNo = false;
};

// A clock that never waits: each reading moves it on by a millisecond (so that a loop waiting for
// time ends), and Sleep and SleepUntil jump to the time they wait for.
class SteppedClock final : public MillisecondClock {
 public:
  std::uint32_t Now() override { return now_++; }
  void Sleep(std::uint32_t milliseconds) override { now_ += milliseconds; }
  void SleepUntil(std::uint32_t deadline) override;

 private:
  std::uint32_t now_ = 0;
};

class NullPlatform final : public Platform {
 public:
  NullPlatform();
  ~NullPlatform() override;

  // What the test sees and sets.
  NullWindow* Window(NativeWindow window) const;
  int OpenWindows() const { return static_cast<int>(windows_.size()); }
  const std::vector<std::string>& OpenedUrls() const { return urls_; }
  const std::vector<ShownBox>& Boxes() const { return boxes_; }
  // Events put in with PostEvent and not yet taken, oldest first.
  const std::deque<Event>& Queue() const { return queue_; }
  void AnswerBoxesWith(BoxAnswer answer) { answer_ = answer; }
  void SetUrlsOpen(bool open) { urlsOpen_ = open; }
  void SetPointer(int x, int y) { pointerX_ = x, pointerY_ = y; }
  // Whether WarpPointer places the pointer, as on X11, or leaves it, as on Wayland.
  void SetPointerPlaceable(bool placeable) { pointerPlaceable_ = placeable; }
  void SetModifiers(int bits) { modifiers_ = bits; }
  void SetPower(PowerReading reading) { power_ = reading; }
  void SetDisplay(Rect bounds) { display_ = bounds; }

  const char* Name() override { return "null"; }
  const char* LastError() override { return error_.c_str(); }
  void SetLog(LogSink* sink) override { log_ = sink; }

  bool StartVideo() override;
  void StopVideo() override { videoStarts_ = videoStarts_ > 0 ? videoStarts_ - 1 : 0; }
  bool VideoDriverAcceptable() override { return true; }
  bool HasSystemPointer() override { return false; }
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
  bool DesktopScale(NativeWindow /*window*/, int* /*scale*/) override { return false; }
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
  const char* VideoDriver() override { return "null"; }

  void ShowCursor(bool shown) override { cursorShown_ = shown; }
  void PointerOnDesktop(int* x, int* y) override;
  bool PointerOver(NativeWindow window) override;
  bool WarpPointer(NativeWindow window, int x, int y) override;
  void CapturePointer(bool on) override { captured_ = on; }

  int Modifiers() override { return modifiers_; }
  int CharacterFromKey(int virtualKey, int scanCode, int modifiers) override;
  bool HasKey(int virtualKey) override;

  bool PollEvent(Event* event) override;
  bool PostEvent(NativeWindow window, const Event& event) override;

  GlContext CreateGlContext(NativeWindow window) override;
  void DeleteGlContext(GlContext /*context*/) override {}
  void SetSwapInterval(int /*interval*/) override {}
  void SwapWindow(NativeWindow /*window*/) override {}

  bool ShowMessageBox(NativeWindow owner, const MessageBox& box, BoxAnswer* answer) override;
  bool OpenUrl(const char* url) override;
  PowerReading Power() override { return power_; }
  const char* ProgramFolder() override { return ""; }

  MillisecondClock& Clock() override { return clock_; }

  bool CursorShown() const { return cursorShown_; }
  bool Captured() const { return captured_; }

 private:
  std::vector<std::unique_ptr<NullWindow>> windows_;
  std::deque<Event> queue_;
  std::vector<std::string> urls_;
  std::vector<ShownBox> boxes_;
  std::string error_;
  LogSink* log_ = nullptr;
  SteppedClock clock_;
  Rect display_{0, 0, 1920, 1080};
  PowerReading power_;
  BoxAnswer answer_ = BoxAnswer::kNo;
  bool urlsOpen_ = true;
  int videoStarts_ = 0;
  bool cursorShown_ = true;
  bool captured_ = false;
  bool pointerPlaceable_ = true;
  int pointerX_ = 0, pointerY_ = 0;
  int modifiers_ = 0;
};

// Puts a null platform in place for as long as it lives (platform::Use), the linked one after.
class ScopedNullPlatform {
 public:
  ScopedNullPlatform() { Use(&platform_); }
  ~ScopedNullPlatform() { Use(nullptr); }
  ScopedNullPlatform(const ScopedNullPlatform&) = delete;
  ScopedNullPlatform& operator=(const ScopedNullPlatform&) = delete;
  NullPlatform& operator*() { return platform_; }
  NullPlatform* operator->() { return &platform_; }

 private:
  NullPlatform platform_;
};

}  // namespace platform::null
