// GL contexts through WGL: a legacy context is made first, only to reach
// wglCreateContextAttribsARB, which makes the core-profile context the window asked for.
#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

// From WGL_ARB_create_context and WGL_ARB_create_context_profile.
constexpr int kContextMajorVersion = 0x2091;
constexpr int kContextMinorVersion = 0x2092;
constexpr int kContextProfileMask = 0x9126;
constexpr int kContextCoreProfile = 0x00000001;
constexpr int kGlMajor = 3;
constexpr int kGlMinor = 3;

using CreateContextAttribs = HGLRC(WINAPI*)(HDC, HGLRC, const int*);
using SwapInterval = BOOL(WINAPI*)(int);

template <typename Function>
Function WglFunction(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

// Colour only and double-buffered: the scene is drawn into a framebuffer of the engine's own.
bool ChoosePixelFormat(HDC dc) {
  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 32;
  format.cAlphaBits = 8;
  format.iLayerType = PFD_MAIN_PLANE;
  const int chosen = ::ChoosePixelFormat(dc, &format);
  if (chosen == 0) return false;
  // A window keeps the format it was given first.
  if (GetPixelFormat(dc) == chosen) return true;
  return SetPixelFormat(dc, chosen, &format) != FALSE;
}

HGLRC CreateCoreContext(HDC dc) {
  HGLRC legacy = wglCreateContext(dc);
  if (legacy == nullptr || !wglMakeCurrent(dc, legacy)) {
    if (legacy != nullptr) wglDeleteContext(legacy);
    return nullptr;
  }
  auto create = WglFunction<CreateContextAttribs>("wglCreateContextAttribsARB");
  const int attributes[] = {
      kContextMajorVersion, kGlMajor, kContextMinorVersion, kGlMinor, kContextProfileMask,
      kContextCoreProfile,  0};
  HGLRC core = create != nullptr ? create(dc, nullptr, attributes) : nullptr;
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(legacy);
  if (core != nullptr && !wglMakeCurrent(dc, core)) {
    wglDeleteContext(core);
    return nullptr;
  }
  return core;
}

}  // namespace

GlContext Win32Platform::CreateGlContext(NativeWindow window) {
  if (window == nullptr) return nullptr;
  const auto* data = reinterpret_cast<const WindowData*>(
      GetWindowLongPtrW(static_cast<HWND>(window), GWLP_USERDATA));
  if (data == nullptr || data->dc == nullptr || !ChoosePixelFormat(data->dc)) {
    Fail("SetPixelFormat");
    return nullptr;
  }
  HGLRC context = CreateCoreContext(data->dc);
  if (context == nullptr) {
    Fail("wglCreateContextAttribsARB (OpenGL 3.3 core)");
    return nullptr;
  }
  return context;
}

void Win32Platform::DeleteGlContext(GlContext context) {
  if (context == nullptr) return;
  if (wglGetCurrentContext() == static_cast<HGLRC>(context)) wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(static_cast<HGLRC>(context));
}

void Win32Platform::SetSwapInterval(int interval) {
  auto swapInterval = WglFunction<SwapInterval>("wglSwapIntervalEXT");
  if (swapInterval != nullptr) swapInterval(interval);
}

void Win32Platform::SwapWindow(NativeWindow window) {
  if (window == nullptr) return;
  const auto* data = reinterpret_cast<const WindowData*>(
      GetWindowLongPtrW(static_cast<HWND>(window), GWLP_USERDATA));
  if (data != nullptr && data->dc != nullptr) SwapBuffers(data->dc);
}

}  // namespace platform::win32
