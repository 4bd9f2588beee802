// The window, the frame loop and its timer, the window procedure, shutdown, shell and screenshot.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "engine/device_notifier.h"
#include "engine/display_scale.h"
#include "engine/engine_impl.h"
#include "engine/program_name.h"
#include "engine/system_facts.h"

namespace {

constexpr const char* kScreenshotPattern = "shot???.bmp";
constexpr const char* kScreenshotFormat = "shot%03d.bmp";
constexpr const char* kNoDisplay =
    "no display was found (is DISPLAY or WAYLAND_DISPLAY set?); SDL_VIDEODRIVER=offscreen runs "
    "the program without one, unseen";

}  // namespace

void EngineImpl::LogStartupFacts() {
  System_Log("Application: %s", title);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  System_Log("Date: %02d.%02d.%d, %02d:%02d:%02d\n", local.tm_mday, local.tm_mon + 1,
             local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
  const SystemFacts facts = ReadSystemFacts();
  System_Log("OS: %s %ld.%ld.%ld", facts.osName, facts.osMajor, facts.osMinor, facts.osBuild);
  System_Log("Memory: %ldK total, %ldK free", facts.totalKibibytes, facts.freeKibibytes);
}

bool EngineImpl::OpenWindow(bool withCaption) {
  LogStartupFacts();
  os.SetLog(&platformLog_);
  if (!videoStarted_) videoStarted_ = os.StartVideo();
  if (!videoStarted_) {
    FailWindow("Can't register window class", os.LastError());
    return false;
  }
  if (!os.VideoDriverAcceptable()) {
    FailWindow("Can't create window", kNoDisplay);
    return false;
  }
  WindowHandle created = os.OpenWindow(PlaceWindow(withCaption));
  if (created == nullptr) {
    FailWindow("Can't create window", os.LastError());
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

platform::WindowSpec EngineImpl::PlaceWindow(bool withCaption) {
  platform::Rect desktop{0, 0, screenWidth, screenHeight};
  os.DisplayBounds(&desktop);
  const int left = desktop.left + (desktop.width - screenWidth) / 2;
  const int top = desktop.top + (desktop.height - screenHeight) / 2;
  windowedRect = {left, top, left + screenWidth, top + screenHeight};
  windowedBorderless = !withCaption;
  fullscreenRect = {0, 0, screenWidth, screenHeight};
  if (parentWindow != nullptr) {
    // A foreign parent cannot be adopted: the window takes the parent's place at the origin.
    windowedRect = {0, 0, screenWidth, screenHeight};
    windowedBorderless = true;
    windowed = true;
  }

  const WindowRect& rect = windowed ? windowedRect : fullscreenRect;
  platform::WindowSpec spec;
  spec.title = title;
  spec.bounds = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
  spec.borderless = windowed && windowedBorderless;
  spec.fullscreen = !windowed;
  Graphics::PrepareWindow(&spec);
  return spec;
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
  os.SetWindowSize(window, grownWidth, grownHeight);
  os.SetWindowPosition(window, rect.left, rect.top);
}

void EngineImpl::FailWindow(const char* error, const char* reason) {
  PostError("%s", error);
  System_Log("%s: %s", os.Name(), reason);
  // Without a window the user may see nothing else, so the terminal is told as well.
  std::fprintf(stderr, "%s: %s: %s\n", ProgramShortName(), error, reason);
}

bool EngineImpl::System_Initiate(bool withCaption) {
  if (!OpenWindow(withCaption)) return false;
  if (!graphics.Initiate() || !StartSound()) {
    System_Shutdown();
    return false;
  }
  System_Log("Init done. (%08X)\n", os.WindowId(window));
  timer.Start(*clock);
  // A window without frame then has a client area of exactly the configured size.
  os.SetWindowSize(window, screenWidth * windowUnits, screenHeight * windowUnits);
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
  os.CloseWindow(window);
  window = nullptr;
  if (videoStarted_) os.StopVideo();
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
  platform::Event event;
  if (os.PollEvent(&event)) {
    WindowProcedure(event);
    return true;
  }
  if (deviceNotifications_ != nullptr) deviceNotifications_->Poll(*this);
  return false;
}

void EngineImpl::WindowProcedure(const platform::Event& event) {
  using platform::EventKind;
  switch (event.kind) {
    case EventKind::kQuit:
      AskToClose();
      return;
    case EventKind::kKeyDown:
    case EventKind::kKeyUp:
      HandleKey(event);
      return;
    case EventKind::kPointerMove:
      input.BuildEvent(EVENT_MOUSE_MOVE, 0, 0, 0, ToPixels(event.x), ToPixels(event.y));
      return;
    case EventKind::kButtonDown:
    case EventKind::kButtonUp:
      HandleButton(event);
      return;
    case EventKind::kWheel:
      HandleWheel(event);
      return;
    case EventKind::kOther:
      return;
    default:
      HandleWindowEvent(event);
      return;
  }
}

void EngineImpl::HandleWindowEvent(const platform::Event& event) {
  using platform::EventKind;
  // Shown, exposed, resized or restored: what the window showed may be gone.
  graphics.RepaintNextFrame();
  switch (event.kind) {
    case EventKind::kClose:
      AskToClose();
      return;
    case EventKind::kFocusGained:
      FocusChange(!os.IsMinimized(window));
      return;
    case EventKind::kFocusLost:
    case EventKind::kMinimized:
      FocusChange(false);
      return;
    case EventKind::kMoved:
      input.WindowMoved(event.x, event.y);
      return;
    case EventKind::kExposed:
      if (graphics.HasDevice() && renderFunc != nullptr && windowed) renderFunc();
      return;
    default:
      return;
  }
}

void EngineImpl::HandleKey(const platform::Event& event) {
  const bool down = event.kind == platform::EventKind::kKeyDown;
  if (down && (event.modifiers & platform::kAltDown) != 0) {
    if (event.virtualKey == VK_F4) {
      AskToClose();
      return;
    }
    // Alt+Enter would switch modes elsewhere; here it does nothing.
    if (event.virtualKey == VK_RETURN) return;
  }
  if (event.virtualKey == 0) return;
  const int flags = down && event.repeat ? MOD_REPEAT : 0;
  input.BuildEvent(down ? EVENT_KEY_DOWN : EVENT_KEY_UP, event.virtualKey, event.scanCode, flags,
                   -1, -1);
}

void EngineImpl::HandleButton(const platform::Event& event) {
  const int key = event.virtualKey;
  if (key == 0) return;
  const float x = ToPixels(event.x);
  const float y = ToPixels(event.y);
  if (event.kind == platform::EventKind::kButtonUp) {
    input.BuildEvent(EVENT_BUTTON_UP, key, 0, 0, x, y);
    return;
  }
  // Every second click of a series is the double click: a repeated button-down.
  if (event.clicks >= 2 && event.clicks % 2 == 0) {
    input.BuildEvent(EVENT_BUTTON_DOWN, key, 0, MOD_REPEAT, x, y);
    return;
  }
  if (!os.HasInputFocus(window)) os.TakeInputFocus(window);
  input.BuildEvent(EVENT_BUTTON_DOWN, key, 0, 0, x, y);
}

void EngineImpl::HandleWheel(const platform::Event& event) {
  if (event.notches == 0) return;
  // Wheel positions travel in screen coordinates.
  int windowX = 0, windowY = 0;
  os.GetWindowPosition(window, &windowX, &windowY);
  input.BuildEvent(EVENT_WHEEL, event.notches, 0, 0,
                   static_cast<float>(windowX) + ToPixels(event.x),
                   static_cast<float>(windowY) + ToPixels(event.y));
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
  os.HideWindow(window);
}

void EngineImpl::UpdateCursor() {
  const bool hide = active && hideCursor && window != nullptr;
  if (hide == cursorHidden_) return;
  os.ShowCursor(!hide);
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
  return pathOrUrl != nullptr && os.OpenUrl(pathOrUrl);
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
