#pragma once
// hid.dll's interface. mingw-w64's hidsdi.h and hidpi.h declare C functions without extern "C",
// so a C++ file that includes them directly asks the linker for mangled names hid.dll lacks.

#include <windows.h>

extern "C" {
#include <hidsdi.h>
}
