// Keeps Mesa's software GL driver loaded for the whole test process. The driver is unloaded when
// the last GL context goes, and the leak checker at exit then cannot name the library behind
// the driver's own small leaks, so tests/lsan.supp could not suppress them.
#include <dlfcn.h>

namespace {

const bool kDriverPinned = [] {
  return dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_NODELETE) !=
         nullptr;
}();

}  // namespace
