// GL contexts and the swap.
#include "platform/sdl/sdl_platform.h"

namespace platform::sdl {

GlContext SdlPlatform::CreateGlContext(NativeWindow window) {
  if (window == nullptr) return nullptr;
  return SDL_GL_CreateContext(static_cast<SDL_Window*>(window));
}

void SdlPlatform::DeleteGlContext(GlContext context) {
  if (context != nullptr) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

void SdlPlatform::SetSwapInterval(int interval) {
  SDL_GL_SetSwapInterval(interval);
}

void SdlPlatform::SwapWindow(NativeWindow window) {
  if (window != nullptr) SDL_GL_SwapWindow(static_cast<SDL_Window*>(window));
}

}  // namespace platform::sdl
