// Position, size, title, icon, focus and the other state of a window.
#include "platform/sdl/sdl_platform.h"

namespace platform::sdl {
namespace {

SDL_Window* AsSdl(NativeWindow window) {
  return static_cast<SDL_Window*>(window);
}

bool HasFlag(NativeWindow window, Uint32 flag) {
  return window != nullptr && (SDL_GetWindowFlags(AsSdl(window)) & flag) != 0;
}

}  // namespace

void SdlPlatform::SetWindowPosition(NativeWindow window, int left, int top) {
  if (window != nullptr) SDL_SetWindowPosition(AsSdl(window), left, top);
}

void SdlPlatform::GetWindowPosition(NativeWindow window, int* left, int* top) {
  if (window != nullptr) SDL_GetWindowPosition(AsSdl(window), left, top);
}

void SdlPlatform::SetWindowSize(NativeWindow window, int width, int height) {
  if (window != nullptr) SDL_SetWindowSize(AsSdl(window), width, height);
}

void SdlPlatform::GetWindowSize(NativeWindow window, int* width, int* height) {
  if (window != nullptr) SDL_GetWindowSize(AsSdl(window), width, height);
}

void SdlPlatform::GetDrawableSize(NativeWindow window, int* width, int* height) {
  if (window != nullptr) SDL_GL_GetDrawableSize(AsSdl(window), width, height);
}

bool SdlPlatform::UsableBounds(NativeWindow window, Rect* bounds) {
  if (window == nullptr) return false;
  SDL_Rect usable{};
  const int display = SDL_GetWindowDisplayIndex(AsSdl(window));
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0) return false;
  *bounds = {usable.x, usable.y, usable.w, usable.h};
  return true;
}

void SdlPlatform::SetTitle(NativeWindow window, const char* title) {
  if (window != nullptr) SDL_SetWindowTitle(AsSdl(window), title);
}

void SdlPlatform::SetFullscreen(NativeWindow window, bool fullscreen) {
  if (window != nullptr) SDL_SetWindowFullscreen(AsSdl(window), fullscreen ? SDL_WINDOW_FULLSCREEN : 0);
}

bool SdlPlatform::SetIcon(NativeWindow window, const std::uint32_t* argb, int width, int height) {
  if (window == nullptr) return false;
  // SDL only reads the pixels: it keeps a copy of its own.
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<std::uint32_t*>(argb), width, height, 32,
      width * static_cast<int>(sizeof(std::uint32_t)), SDL_PIXELFORMAT_ARGB8888);
  if (surface == nullptr) return false;
  SDL_SetWindowIcon(AsSdl(window), surface);
  SDL_FreeSurface(surface);
  return true;
}

void SdlPlatform::HideWindow(NativeWindow window) {
  if (window != nullptr) SDL_HideWindow(AsSdl(window));
}

void SdlPlatform::MinimizeWindow(NativeWindow window) {
  if (window != nullptr) SDL_MinimizeWindow(AsSdl(window));
}

bool SdlPlatform::IsMinimized(NativeWindow window) {
  return HasFlag(window, SDL_WINDOW_MINIMIZED);
}

void SdlPlatform::BringToFront(NativeWindow window) {
  if (window == nullptr) return;
  if (IsMinimized(window)) SDL_RestoreWindow(AsSdl(window));
  SDL_RaiseWindow(AsSdl(window));
}

bool SdlPlatform::HasInputFocus(NativeWindow window) {
  return HasFlag(window, SDL_WINDOW_INPUT_FOCUS);
}

void SdlPlatform::TakeInputFocus(NativeWindow window) {
  if (window != nullptr) SDL_SetWindowInputFocus(AsSdl(window));
}

}  // namespace platform::sdl
