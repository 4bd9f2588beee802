#include <malloc.h>

#include <cstring>

#include "app/c_library_extras.h"

void ReturnFreeHeap() {
  malloc_trim(0);
}

const char* SignalName(int number) {
  return strsignal(number);
}
