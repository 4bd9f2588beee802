// The window, the frame loop and its timer, the window procedure, shutdown, shell and screenshot.
#include <SDL2/SDL.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "engine/device_notifier.h"
#include "engine/display_scale.h"
#include "engine/engine_impl.h"
#include "engine/keymap.h"
#include "engine/video_driver.h"
#include "engine/wayland_probe.h"

namespace {

constexpr const char* kScreenshotPattern = "shot???.bmp";
constexpr const char* kScreenshotFormat = "shot%03d.bmp";
constexpr int kKibibyteShift = 10;
constexpr const char* kWayland = "wayland";
constexpr const char* kX11 = "x11";
constexpr const char* kNoDisplay =
    "no display was found (is DISPLAY or WAYLAND_DISPLAY set?); SDL_VIDEODRIVER=offscreen runs "
    "the program without one, unseen";

SDL_Window* AsSdl(WindowHandle window) {
  return static_cast<SDL_Window*>(window);
}

struct OsVersion {
  long major = 0, minor = 0, build = 0;
};

// The kernel release ("6.1.0-18-amd64") read as major, minor and build numbers.
OsVersion ReadOsVersion() {
  OsVersion version;
  utsname name;
  if (uname(&name) == 0) {
    std::sscanf(name.release, "%ld.%ld.%ld", &version.major, &version.minor, &version.build);
  }
  return version;
}

int VirtualButton(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return VK_LBUTTON;
    case SDL_BUTTON_RIGHT:
      return VK_RBUTTON;
    case SDL_BUTTON_MIDDLE:
      return VK_MBUTTON;
    default:
      return 0;
  }
}

}  // namespace

void EngineImpl::LogStartupFacts() {
  System_Log("Application: %s", title);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  System_Log("Date: %02d.%02d.%d, %02d:%02d:%02d\n", local.tm_mday, local.tm_mon + 1,
             local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
  const OsVersion os = ReadOsVersion();
  System_Log("OS: Linux %ld.%ld.%ld", os.major, os.minor, os.build);
  struct sysinfo memory {};
  sysinfo(&memory);
  const unsigned long long unit = memory.mem_unit;
  System_Log("Memory: %ldK total, %ldK free",
             static_cast<long>(memory.totalram * unit >> kKibibyteShift),
             static_cast<long>(memory.freeram * unit >> kKibibyteShift));
}

bool EngineImpl::OpenWindow(bool withCaption) {
  LogStartupFacts();
  // Closing the window must ask the exit function before SDL decides to quit.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (!StartVideo()) {
    FailWindow("Can't register window class", SDL_GetError());
    return false;
  }
  if (!VideoDriverAcceptable(SDL_GetCurrentVideoDriver(), SDL_GetHint(SDL_HINT_VIDEODRIVER))) {
    FailWindow("Can't create window", kNoDisplay);
    return false;
  }

  SDL_Rect desktop{0, 0, screenWidth, screenHeight};
  SDL_GetDisplayBounds(0, &desktop);
  const int left = desktop.x + (desktop.w - screenWidth) / 2;
  const int top = desktop.y + (desktop.h - screenHeight) / 2;
  windowedRect = {left, top, left + screenWidth, top + screenHeight};
  windowedStyle = SDL_WINDOW_SHOWN;
  if (!withCaption) windowedStyle |= SDL_WINDOW_BORDERLESS;
  fullscreenRect = {0, 0, screenWidth, screenHeight};
  fullscreenStyle = SDL_WINDOW_SHOWN | SDL_WINDOW_FULLSCREEN;
  if (parentWindow != nullptr) {
    // SDL cannot adopt a foreign parent: the window takes the parent's place at the origin.
    windowedRect = {0, 0, screenWidth, screenHeight};
    windowedStyle = SDL_WINDOW_SHOWN | SDL_WINDOW_BORDERLESS;
    windowed = true;
  }

  const WindowRect& rect = windowed ? windowedRect : fullscreenRect;
  const Uint32 flags = (windowed ? windowedStyle : fullscreenStyle) | Graphics::PrepareWindow() |
                       SDL_WINDOW_ALLOW_HIGHDPI;
  SDL_Window* created = SDL_CreateWindow(title, rect.left, rect.top, rect.right - rect.left,
                                         rect.bottom - rect.top, flags);
  if (created == nullptr && OnWayland() && FallBackToX11(SDL_GetError())) {
    created = SDL_CreateWindow(title, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, flags);
  }
  if (created == nullptr) {
    FailWindow("Can't create window", SDL_GetError());
    return false;
  }
  window = created;
  ApplyScale(ChooseDisplayScale(created, requestedScale, screenWidth, screenHeight));
  ApplyWindowIcon();

  Random_Seed(0);
  power.Start();
  powerStatus = power.Measure();
  input.Initiate();
  return true;
}

// Where the window system does not scale, the window grows about its centre to the physical size.
void EngineImpl::ApplyScale(const DisplayScale& scale) {
  pixelScale = scale.pixels;
  windowUnits = scale.windowUnits;
  input.SetWindowUnits(windowUnits);
  // At scale 1 the start-up lines stay as they always were.
  if (pixelScale != 1)
    System_Log("Scale: %d (window units per pixel: %d)", pixelScale, windowUnits);
  if (windowUnits == 1) return;
  const int grownWidth = screenWidth * windowUnits, grownHeight = screenHeight * windowUnits;
  WindowRect& rect = windowed ? windowedRect : fullscreenRect;
  if (windowed && parentWindow == nullptr) {
    rect.left -= (grownWidth - screenWidth) / 2;
    rect.top -= (grownHeight - screenHeight) / 2;
  }
  rect.right = rect.left + grownWidth;
  rect.bottom = rect.top + grownHeight;
  SDL_SetWindowSize(AsSdl(window), grownWidth, grownHeight);
  SDL_SetWindowPosition(AsSdl(window), rect.left, rect.top);
}

bool EngineImpl::StartVideo() {
  if (videoStarted_) return true;
  // A compositor that cannot be used leaves the X server, when there is one; SDL itself falls
  // back only when it picks the driver, and dies on a compositor without a seat.
  const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  const bool waylandOnly =
      VideoDriverRequested(requested, kWayland) && !VideoDriverRequested(requested, kX11);
  const char* display = std::getenv("DISPLAY");
  const bool waylandPicked = requested == nullptr && (display == nullptr || *display == '\0') &&
                             std::getenv("WAYLAND_DISPLAY") != nullptr;
  std::string why;
  if ((waylandOnly || waylandPicked) && !WaylandDisplayUsable(&why)) {
    return FallBackToX11(why.c_str());
  }
  videoStarted_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  if (!videoStarted_ && waylandOnly) return FallBackToX11(SDL_GetError());
  return videoStarted_;
}

bool EngineImpl::OnWayland() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && VideoDriverRequested(driver, kWayland);
}

bool EngineImpl::FallBackToX11(const char* reason) {
  if (triedX11_) return false;
  triedX11_ = true;
  System_Log("Video: the Wayland display cannot be used (%s); trying X11", reason);
  std::fprintf(stderr, "%s: the Wayland display cannot be used (%s); trying X11\n",
               program_invocation_short_name, reason);
  if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, kX11, SDL_HINT_OVERRIDE);
  videoStarted_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  if (!videoStarted_) System_Log("Video: X11 cannot be used either (%s)", SDL_GetError());
  return videoStarted_;
}

void EngineImpl::FailWindow(const char* error, const char* reason) {
  PostError("%s", error);
  System_Log("SDL: %s", reason);
  // Without a window the user may see nothing else, so the terminal is told as well.
  std::fprintf(stderr, "%s: %s: %s\n", program_invocation_short_name, error, reason);
}

bool EngineImpl::System_Initiate(bool withCaption) {
  if (!OpenWindow(withCaption)) return false;
  if (!graphics.Initiate() || !StartSound()) {
    System_Shutdown();
    return false;
  }
  System_Log("Init done. (%08X)\n", SDL_GetWindowID(AsSdl(window)));
  timer.Start(*clock);
  // A window without frame then has a client area of exactly the configured size.
  SDL_SetWindowSize(AsSdl(window), screenWidth * windowUnits, screenHeight * windowUnits);
  if (splash) RunSplash();
  return true;
}

void EngineImpl::System_Shutdown() {
  System_Log("\nFinishing..");
  if (graphics.HasDevice()) {
    System_Log("Frames drawn: %llu, unchanged and not drawn: %llu",
               static_cast<unsigned long long>(graphics.DrawnScenes()),
               static_cast<unsigned long long>(graphics.SkippedScenes()));
  }
  search.Close();
  input.ClearFrame();
  StopSound();
  graphics.Shutdown();
  power.Stop();
  ForgetDragAreas();
  if (window != nullptr) SDL_DestroyWindow(AsSdl(window));
  window = nullptr;
  if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  videoStarted_ = false;
  active = false;
  quitRequested_ = false;
  cursorHidden_ = false;
  System_Log("The End.");
}

bool EngineImpl::System_Start() {
  if (window == nullptr) {
    PostError("System_Start: System_Initiate wasn't called");
    return false;
  }
  if (frameFunc == nullptr) {
    PostError("System_Start: No frame function defined");
    return false;
  }
  active = true;
  while (!quitRequested_) {
    // Every waiting message is handled before a frame is considered.
    if (parentWindow == nullptr && PumpOneMessage()) continue;
    input.UpdateMouseInside();
    UpdateCursor();
    if (!active && !runInactive) {
      clock->Sleep(1);
      continue;
    }
    const FrameTimer::Tick tick = timer.Advance(*clock);
    if (tick == FrameTimer::Tick::kNotDue) continue;
    if (tick == FrameTimer::Tick::kFrameNewSecond) powerStatus = power.Measure();
    sound.AdvanceSlides(timer.delta);
    if (frameFunc()) break;
    if (renderFunc != nullptr) renderFunc();
    if (parentWindow != nullptr) break;  // a child runs one frame per call
    input.ClearFrame();
  }
  input.ClearFrame();
  active = false;
  UpdateCursor();
  return true;
}

bool EngineImpl::PumpOneMessage() {
  SDL_Event event;
  if (SDL_PollEvent(&event) != 0) {
    WindowProcedure(event);
    return true;
  }
  if (deviceNotifications_ != nullptr) deviceNotifications_->Poll(*this);
  return false;
}

void EngineImpl::WindowProcedure(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      AskToClose();
      return;
    case SDL_WINDOWEVENT:
      HandleWindowEvent(event);
      return;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      HandleKey(event);
      return;
    case SDL_MOUSEMOTION:
      input.BuildEvent(EVENT_MOUSE_MOVE, 0, 0, 0, ToPixels(event.motion.x),
                       ToPixels(event.motion.y));
      return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      HandleButton(event);
      return;
    case SDL_MOUSEWHEEL:
      HandleWheel(event);
      return;
    default:
      return;
  }
}

void EngineImpl::HandleWindowEvent(const SDL_Event& event) {
  // Shown, exposed, resized or restored: what the window showed may be gone.
  graphics.RepaintNextFrame();
  switch (event.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      AskToClose();
      return;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      FocusChange((SDL_GetWindowFlags(AsSdl(window)) & SDL_WINDOW_MINIMIZED) == 0);
      return;
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_MINIMIZED:
      FocusChange(false);
      return;
    case SDL_WINDOWEVENT_MOVED:
      input.WindowMoved(event.window.data1, event.window.data2);
      return;
    case SDL_WINDOWEVENT_EXPOSED:
      if (graphics.HasDevice() && renderFunc != nullptr && windowed) renderFunc();
      return;
    default:
      return;
  }
}

void EngineImpl::HandleKey(const SDL_Event& event) {
  const SDL_Keysym& key = event.key.keysym;
  const bool down = event.type == SDL_KEYDOWN;
  if (down && (key.mod & KMOD_ALT) != 0) {
    if (key.sym == SDLK_F4) {
      AskToClose();
      return;
    }
    // Alt+Enter would switch modes elsewhere; here it does nothing.
    if (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) return;
  }
  const int virtualKey = VirtualKeyFromSdl(key);
  if (virtualKey == 0) return;
  const int flags = down && event.key.repeat != 0 ? MOD_REPEAT : 0;
  input.BuildEvent(down ? EVENT_KEY_DOWN : EVENT_KEY_UP, virtualKey, key.scancode, flags, -1, -1);
}

void EngineImpl::HandleButton(const SDL_Event& event) {
  const SDL_MouseButtonEvent& button = event.button;
  const int key = VirtualButton(button.button);
  if (key == 0) return;
  const float x = ToPixels(button.x);
  const float y = ToPixels(button.y);
  if (event.type == SDL_MOUSEBUTTONUP) {
    input.BuildEvent(EVENT_BUTTON_UP, key, 0, 0, x, y);
    return;
  }
  // Every second click of a series is the double click: a repeated button-down.
  if (button.clicks >= 2 && button.clicks % 2 == 0) {
    input.BuildEvent(EVENT_BUTTON_DOWN, key, 0, MOD_REPEAT, x, y);
    return;
  }
  if ((SDL_GetWindowFlags(AsSdl(window)) & SDL_WINDOW_INPUT_FOCUS) == 0) {
    SDL_SetWindowInputFocus(AsSdl(window));
  }
  input.BuildEvent(EVENT_BUTTON_DOWN, key, 0, 0, x, y);
}

void EngineImpl::HandleWheel(const SDL_Event& event) {
  const SDL_MouseWheelEvent& wheel = event.wheel;
  int notches = wheel.y;
  if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
  if (notches == 0) return;
  // Wheel positions travel in screen coordinates.
  int windowX = 0, windowY = 0;
  if (window != nullptr) SDL_GetWindowPosition(AsSdl(window), &windowX, &windowY);
  input.BuildEvent(EVENT_WHEEL, notches, 0, 0, static_cast<float>(windowX) + ToPixels(wheel.mouseX),
                   static_cast<float>(windowY) + ToPixels(wheel.mouseY));
}

void EngineImpl::FocusChange(bool nowActive) {
  if (!graphics.HasDevice() || nowActive == active) return;
  active = nowActive;
  const EngineCallback function = active ? focusGainedFunc : focusLostFunc;
  if (function != nullptr) function();
}

void EngineImpl::AskToClose() {
  if (exitFunc != nullptr && !exitFunc()) return;
  active = false;
  // The window goes as it would on close; the frame loop ends and stays ended until shutdown.
  quitRequested_ = true;
  if (window != nullptr) SDL_HideWindow(AsSdl(window));
}

void EngineImpl::UpdateCursor() {
  const bool hide = active && hideCursor && window != nullptr;
  if (hide == cursorHidden_) return;
  SDL_ShowCursor(hide ? SDL_DISABLE : SDL_ENABLE);
  cursorHidden_ = hide;
}

bool EngineImpl::DeliverDeviceChange(std::uintptr_t event, const char* path) {
  if (deviceChangeFunc == nullptr) return false;
  DeviceInterfaceRecord record{DBT_DEVTYP_DEVICEINTERFACE, path};
  return deviceChangeFunc(window, WM_DEVICECHANGE, event, reinterpret_cast<std::intptr_t>(&record));
}

void EngineImpl::SetDeviceNotificationSource(DeviceNotificationSource* source) {
  deviceNotifications_ = source;
}

bool EngineImpl::System_WatchDeviceChanges(DeviceNotificationSource* source) {
  if (source != nullptr) {
    SetDeviceNotificationSource(source);
    return true;
  }
  if (!deviceWatcher_) deviceWatcher_ = std::make_unique<DeviceNotifier>();
  if (!deviceWatcher_->IsOpen() && !deviceWatcher_->Open()) return false;
  SetDeviceNotificationSource(deviceWatcher_.get());
  return true;
}

bool EngineImpl::System_ShellOpen(const char* pathOrUrl) {
  return pathOrUrl != nullptr && SDL_OpenURL(pathOrUrl) == 0;
}

const char* EngineImpl::ScreenshotPath(const char* fileName) {
  if (fileName != nullptr) return Resource_FullPath(fileName);
  // The count of existing shots, not the highest number plus one.
  int count = 0;
  for (const char* found = Resource_FindFile(kScreenshotPattern); found != nullptr;
       found = Resource_FindFile(nullptr)) {
    ++count;
  }
  char name[32];
  std::snprintf(name, sizeof name, kScreenshotFormat, count);
  return Resource_FullPath(name);
}

void EngineImpl::System_Screenshot(const char* fileName) {
  const char* path = ScreenshotPath(fileName);
  if (graphics.HasDevice()) graphics.SaveBackBuffer(path);
}

float EngineImpl::Timer_Seconds() {
  return timer.time;
}
float EngineImpl::Timer_Delta() {
  return timer.delta;
}
int EngineImpl::Timer_FramesPerSecond() {
  return timer.framesPerSecond;
}
