// The video driver, its fallback from an unusable Wayland display to X11, and the windows.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/video_driver.h"
#include "platform/sdl/wayland_probe.h"

namespace platform::sdl {
namespace {

constexpr const char* kWayland = "wayland";
constexpr const char* kX11 = "x11";

SDL_Window* AsSdl(NativeWindow window) {
  return static_cast<SDL_Window*>(window);
}

// The GL attributes must be set before the window that carries the context is made.
void PrepareGl(const WindowSpec& spec) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, spec.glMajor);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, spec.glMinor);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

Uint32 WindowFlags(const WindowSpec& spec) {
  Uint32 flags = (spec.hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN) | SDL_WINDOW_ALLOW_HIGHDPI;
  if (spec.borderless) flags |= SDL_WINDOW_BORDERLESS;
  if (spec.fullscreen) flags |= SDL_WINDOW_FULLSCREEN;
  if (spec.glMajor > 0) flags |= SDL_WINDOW_OPENGL;
  return flags;
}

SDL_Window* Create(const WindowSpec& spec) {
  return SDL_CreateWindow(spec.title, spec.bounds.left, spec.bounds.top, spec.bounds.width,
                          spec.bounds.height, WindowFlags(spec));
}

}  // namespace

const char* SdlPlatform::LastError() {
  return SDL_GetError();
}

void SdlPlatform::Log(const char* format, ...) {
  if (log_ == nullptr) return;
  char line[512];
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  log_->Line(line);
}

bool SdlPlatform::StartVideo() {
  // Closing the window must ask the program before SDL decides to quit.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
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
    return FallBackToX11(why.c_str(), false);
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
  return waylandOnly && FallBackToX11(SDL_GetError(), false);
}

void SdlPlatform::StopVideo() {
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlPlatform::OnWayland() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && VideoDriverRequested(driver, kWayland);
}

bool SdlPlatform::FallBackToX11(const char* reason, bool started) {
  if (triedX11_) return false;
  triedX11_ = true;
  Log("Video: the Wayland display cannot be used (%s); trying X11", reason);
  std::fprintf(stderr, "%s: the Wayland display cannot be used (%s); trying X11\n",
               program_invocation_short_name, reason);
  if (started) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, kX11, SDL_HINT_OVERRIDE);
  const bool restarted = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  if (!restarted) Log("Video: X11 cannot be used either (%s)", SDL_GetError());
  return restarted;
}

bool SdlPlatform::VideoDriverAcceptable() {
  return ::VideoDriverAcceptable(SDL_GetCurrentVideoDriver(),
                                    SDL_GetHint(SDL_HINT_VIDEODRIVER));
}

bool SdlPlatform::HasSystemPointer() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && !IsHeadlessVideoDriver(driver);
}

const char* SdlPlatform::VideoDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr ? driver : "";
}

bool SdlPlatform::DisplayBounds(Rect* bounds) {
  SDL_Rect desktop{};
  if (SDL_GetDisplayBounds(0, &desktop) != 0) return false;
  *bounds = {desktop.x, desktop.y, desktop.w, desktop.h};
  return true;
}

NativeWindow SdlPlatform::OpenWindow(const WindowSpec& spec) {
  if (spec.glMajor > 0) PrepareGl(spec);
  SDL_Window* created = Create(spec);
  if (created == nullptr && OnWayland() && FallBackToX11(SDL_GetError(), true)) {
    // A new start of the video forgets the GL attributes.
    if (spec.glMajor > 0) PrepareGl(spec);
    created = Create(spec);
  }
  return created;
}

void SdlPlatform::CloseWindow(NativeWindow window) {
  if (window != nullptr) SDL_DestroyWindow(AsSdl(window));
}

std::uint32_t SdlPlatform::WindowId(NativeWindow window) {
  return window != nullptr ? SDL_GetWindowID(AsSdl(window)) : 0;
}

}  // namespace platform::sdl
