// The pointer: the cursor, its position, the window under it, warps and capture.
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/video_driver.h"

namespace platform::sdl {

void SdlPlatform::ShowCursor(bool shown) {
  SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

void SdlPlatform::PointerOnDesktop(int* x, int* y) {
  SDL_GetGlobalMouseState(x, y);
}

bool SdlPlatform::PointerOver(NativeWindow window) {
  // SDL keeps the window under the pointer from the crossing events, so a window lying over
  // ours takes the pointer away as well.
  return window != nullptr && SDL_GetMouseFocus() == static_cast<SDL_Window*>(window);
}

bool SdlPlatform::WarpPointer(NativeWindow window, int x, int y) {
  // Wayland lets no program place the pointer; SDL's warp there is not a move.
  if (window == nullptr || !VideoDriverPlacesPointer(SDL_GetCurrentVideoDriver())) return false;
  SDL_WarpMouseInWindow(static_cast<SDL_Window*>(window), x, y);
  return true;
}

void SdlPlatform::CapturePointer(bool on) {
  SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

}  // namespace platform::sdl
