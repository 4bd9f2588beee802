#include <malloc.h>

#include <csignal>

#include "app/c_library_extras.h"

void ReturnFreeHeap() {
  _heapmin();
}

const char* SignalName(int number) {
  switch (number) {
    case SIGINT:
      return "Interrupt";
    case SIGTERM:
      return "Terminated";
    case SIGBREAK:
      return "Break";
    default:
      return "Unknown signal";
  }
}
