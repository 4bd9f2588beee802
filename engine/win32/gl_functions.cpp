// The GL function table for Windows. wglGetProcAddress answers for the functions past GL 1.1
// (and only while a context is current); opengl32.dll exports the 1.1 ones, for which
// wglGetProcAddress may answer null or one of the small values some drivers give instead.
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "engine/gl_api.h"

namespace corsaro_gl {
#define CORSARO_GL_DEFINE(type, name) type name = nullptr;
CORSARO_GL_FUNCTIONS(CORSARO_GL_DEFINE)
#undef CORSARO_GL_DEFINE
}  // namespace corsaro_gl

namespace {

// Values other than a function that wglGetProcAddress is known to answer with.
bool IsFunctionAddress(PROC address) {
  const auto value = reinterpret_cast<std::intptr_t>(address);
  return value < -1 || value > 3;
}

PROC FindFunction(HMODULE openGl, const char* name) {
  PROC address = wglGetProcAddress(name);
  if (IsFunctionAddress(address)) return address;
  return openGl != nullptr ? GetProcAddress(openGl, name) : nullptr;
}

template <typename Pointer>
bool Load(HMODULE openGl, const char* name, Pointer* pointer) {
  *pointer = reinterpret_cast<Pointer>(reinterpret_cast<void*>(FindFunction(openGl, name)));
  return *pointer != nullptr;
}

int ContextVersion() {
  const auto* text = reinterpret_cast<const char*>(corsaro_gl::GetString(GL_VERSION));
  int major = 0;
  int minor = 0;
  if (text == nullptr || std::sscanf(text, "%d.%d", &major, &minor) != 2) return 0;
  return major * 10 + minor;
}

}  // namespace

int LoadGlFunctions() {
  if (wglGetCurrentContext() == nullptr) return 0;
  HMODULE openGl = GetModuleHandleW(L"opengl32.dll");
  bool complete = true;
#define CORSARO_GL_LOAD(type, name) \
  complete = Load(openGl, "gl" #name, &corsaro_gl::name) && complete;
  CORSARO_GL_FUNCTIONS(CORSARO_GL_LOAD)
#undef CORSARO_GL_LOAD
  return complete ? ContextVersion() : 0;
}
