#pragma once
// What the engine asks of the system: the window and its events, the GL context and its swap,
// the clock, the pointer and the keys, message boxes, opening an address, the power status and
// the program's folder. One backend answers it: platform/sdl/ (the desktop, through SDL) or
// platform/null/ (memory only, for tests). Nothing above the engine reaches the system any other
// way; the engine reaches it through Current().
//
// The parts keep a fixed order, grouped as: video and windows, window state, pointer, keyboard,
// events, GL, desktop, clock. Windows are the backend's own handles (an SDL_Window* through SDL),
// passed around as opaque pointers; every operation on a null window does nothing and answers 0,
// false or an empty value.

#include <cstdint>

namespace platform {

using NativeWindow = void*;
using GlContext = void*;

// A rectangle on the desktop, in window-system units.
struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

// How a window opens.
struct WindowSpec {
  const char* title = "";
  Rect bounds;
  bool borderless = false;
  bool fullscreen = false;
  bool hidden = false;
  // A window for a GL core context of this version, double-buffered, colour only (0: no GL).
  int glMajor = 0;
  int glMinor = 0;
};

// Whether a press at (x, y) of a window `width` by `height` (window units) moves the window. It
// may be asked on the thread that handles the window's events, so it reads only fixed data.
using DragTest = bool (*)(const void* context, int x, int y, int width, int height);

// Keyboard state bits (Modifiers) and the modifiers that decide a key's character.
enum ModifierBits : int {
  kShiftDown = 1,
  kCtrlDown = 2,
  kAltDown = 4,
  kCapsLockOn = 8,
  kScrollLockOn = 16,
  kNumLockOn = 32,
};

// One message of the window system. Keys carry the Windows virtual-key code of the key
// (numpad keys following Num Lock), buttons 1, 2 or 4; a key or button without one carries 0.
enum class EventKind {
  kOther,         // nothing the engine handles
  kQuit,          // the desktop asks the program to end
  kClose,         // the window's close was asked for
  kFocusGained,
  kFocusLost,
  kMinimized,
  kMoved,         // the window's new position in x, y
  kExposed,       // what the window showed must be drawn again
  kWindowOther,   // shown, resized, restored and the like: the window may have lost its picture
  kKeyDown,
  kKeyUp,
  kPointerMove,   // client position in x, y
  kButtonDown,    // client position in x, y
  kButtonUp,
  kWheel,         // notches positive away from the user; client position in x, y
};

struct Event {
  EventKind kind = EventKind::kOther;
  int virtualKey = 0;
  int scanCode = 0;      // keys: the key's position, as CharacterFromKey takes it
  int modifiers = 0;     // keys: ModifierBits at the key (only kAltDown is set)
  bool repeat = false;   // keys: held down and repeating
  int clicks = 0;        // buttons: 1, 2 for a double click, ...
  int notches = 0;       // wheel
  int x = 0, y = 0;      // window units
};

// What the power supply reports.
enum class PowerSource { kUnknown, kMains, kBattery };
struct PowerReading {
  PowerSource source = PowerSource::kUnknown;
  int percent = -1;  // battery charge 0 to 100, -1 when not known
};

// Message boxes: a text with OK, or a question with Yes and No.
enum class BoxIcon { kInformation, kError, kQuestion };
enum class BoxAnswer { kOk, kYes, kNo };
struct MessageBox {
  BoxIcon icon = BoxIcon::kInformation;
  const char* caption = "";
  const char* text = "";
  bool question = false;   // Yes and No, else OK
  bool defaultNo = false;  // Enter answers No
};

// The millisecond clock the frame loop paces itself by.
class MillisecondClock {
 public:
  virtual ~MillisecondClock() = default;
  // Milliseconds since an arbitrary start; wraps after about 49.7 days.
  virtual std::uint32_t Now() = 0;
  // Gives up the processor for about this many milliseconds.
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // Gives up the processor until Now() reads `deadline` (compared across the wrap); returns at
  // once when it already does.
  virtual void SleepUntil(std::uint32_t deadline) = 0;
};

// Where a backend's own log lines go (the engine's log).
class LogSink {
 public:
  virtual void Line(const char* text) = 0;

 protected:
  ~LogSink() = default;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The backend's name, as log lines about its failures begin ("SDL").
  virtual const char* Name() = 0;
  // The reason of the last failure, or "".
  virtual const char* LastError() = 0;
  // Where the backend logs what it does on its own (falling back to another display); null for
  // nowhere.
  virtual void SetLog(LogSink* sink) = 0;

  // Video and windows.

  // Starts the video; a display asked for that cannot be used gives way to another once. False
  // when none can be had. Starts are counted: each successful one is ended by one StopVideo.
  virtual bool StartVideo() = 0;
  virtual void StopVideo() = 0;
  // Whether the video driver in use may carry the program's window: one that shows nothing on a
  // screen only when it was asked for by name, so that the program never runs for ever unseen.
  virtual bool VideoDriverAcceptable() = 0;
  // Whether the pointer is the desktop's own (false where nothing is shown on a screen).
  virtual bool HasSystemPointer() = 0;
  // The first display's bounds; false when not known.
  virtual bool DisplayBounds(Rect* bounds) = 0;
  // Opens a window; null on failure (LastError says why).
  virtual NativeWindow OpenWindow(const WindowSpec& spec) = 0;
  virtual void CloseWindow(NativeWindow window) = 0;
  // The window system's number for the window.
  virtual std::uint32_t WindowId(NativeWindow window) = 0;

  // Window state.
  virtual void SetWindowPosition(NativeWindow window, int left, int top) = 0;
  virtual void GetWindowPosition(NativeWindow window, int* left, int* top) = 0;
  virtual void SetWindowSize(NativeWindow window, int width, int height) = 0;
  virtual void GetWindowSize(NativeWindow window, int* width, int* height) = 0;
  // The size in drawable pixels, larger than the window's where the desktop scales it.
  virtual void GetDrawableSize(NativeWindow window, int* width, int* height) = 0;
  // The usable part (without panels) of the display the window is on; false when not known.
  virtual bool UsableBounds(NativeWindow window, Rect* bounds) = 0;
  // The scale the desktop asks for where the window system does not scale windows itself;
  // false where it does (or says nothing).
  virtual bool DesktopScale(NativeWindow window, int* scale) = 0;
  virtual void SetTitle(NativeWindow window, const char* title) = 0;
  virtual void SetFullscreen(NativeWindow window, bool fullscreen) = 0;
  // The icon from ARGB pixels, rows top first; false (LastError says why) when it cannot be set.
  virtual bool SetIcon(NativeWindow window, const std::uint32_t* argb, int width,
                       int height) = 0;
  virtual void HideWindow(NativeWindow window) = 0;
  virtual void MinimizeWindow(NativeWindow window) = 0;
  virtual bool IsMinimized(NativeWindow window) = 0;
  // Restores a minimized window and puts it above the others with the input focus.
  virtual void BringToFront(NativeWindow window) = 0;
  virtual bool HasInputFocus(NativeWindow window) = 0;
  virtual void TakeInputFocus(NativeWindow window) = 0;
  // Lets the window system move the window where the test says so (`context` must stay valid
  // until the next call); a null test takes the move away. False (LastError says why) when it
  // cannot.
  virtual bool SetDragTest(NativeWindow window, DragTest test, const void* context) = 0;
  // The video driver in use, for log lines ("x11"), or "".
  virtual const char* VideoDriver() = 0;

  // Pointer.

  virtual void ShowCursor(bool shown) = 0;
  // The pointer's position on the desktop.
  virtual void PointerOnDesktop(int* x, int* y) = 0;
  // Whether the pointer is over the window (another window above it takes it away).
  virtual bool PointerOver(NativeWindow window) = 0;
  // Moves the pointer to a client position of the window, in window units. False where the
  // window system does not let a program place the pointer (Wayland): it stays where it is.
  virtual bool WarpPointer(NativeWindow window, int x, int y) = 0;
  // Keeps the pointer's events with the program while a button is held outside the window.
  virtual void CapturePointer(bool on) = 0;

  // Keyboard.

  // ModifierBits of the keyboard now.
  virtual int Modifiers() = 0;
  // The character a key gives, or 0: the layout's own for the key's position when it has one,
  // else the US character of the virtual key.
  virtual int CharacterFromKey(int virtualKey, int scanCode, int modifiers) = 0;
  // Whether some key of the keyboard gives this virtual key.
  virtual bool HasKey(int virtualKey) = 0;

  // Events.

  // Takes the oldest waiting message; false, event untouched, when none waits.
  virtual bool PollEvent(Event* event) = 0;
  // Puts a message into the window's queue as the desktop puts a user's there, for `window`.
  // Keys are given by virtual key (the key's position follows the current layout); false when no
  // key gives it or the queue is full.
  virtual bool PostEvent(NativeWindow window, const Event& event) = 0;

  // GL.

  // A context for a window opened with a GL version, made current; null (LastError says why)
  // on failure.
  virtual GlContext CreateGlContext(NativeWindow window) = 0;
  virtual void DeleteGlContext(GlContext context) = 0;
  // 1 waits for the display's refresh at each swap, 0 does not.
  virtual void SetSwapInterval(int interval) = 0;
  virtual void SwapWindow(NativeWindow window) = 0;

  // Desktop.

  // Shows the box above `owner` (null for none) until answered. False (LastError says why) when
  // it cannot be shown: a question is then answered No, a text OK.
  virtual bool ShowMessageBox(NativeWindow owner, const MessageBox& box, BoxAnswer* answer) = 0;
  // Hands an address or a path to the desktop's handler; false when it cannot be handed on.
  virtual bool OpenUrl(const char* url) = 0;
  virtual PowerReading Power() = 0;
  // The program's folder with a trailing '/', or "" when the system cannot tell.
  virtual const char* ProgramFolder() = 0;

  // Clock.

  virtual MillisecondClock& Clock() = 0;
};

// The platform in use: the one given to Use, else the backend the program links.
Platform& Current();
// Makes `platform` the one in use (null: the linked backend again). Tests put a null platform in
// place before they make an engine.
void Use(Platform* platform);
// The backend the program links (platform/sdl/ for the desktop).
Platform& Linked();

}  // namespace platform
