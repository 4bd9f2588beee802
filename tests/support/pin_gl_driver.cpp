// Keeps the EGL and Mesa libraries loaded for the whole test process. SDL and EGL unload them
// when the last window or context goes, and the leak checker at exit then cannot name the
// library behind their own small leaks, so tests/lsan.supp could not suppress them.
#include <dlfcn.h>

namespace {

constexpr const char* kGlLibraries[] = {
    "libEGL.so.1",
    "libEGL_mesa.so.0",
    "libGLdispatch.so.0",
    "libgbm.so.1",
    "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
};

const int kLibrariesPinned = [] {
  int pinned = 0;
  for (const char* library : kGlLibraries) {
    if (dlopen(library, RTLD_NOW | RTLD_NODELETE) != nullptr) ++pinned;
  }
  return pinned;
}();

}  // namespace
