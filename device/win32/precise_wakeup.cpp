#include "device/precise_wakeup.h"

#include <windows.h>

#include <timeapi.h>  // after windows.h, whose types it uses

PreciseWakeup::PreciseWakeup() : saved_(timeBeginPeriod(1) == TIMERR_NOERROR ? 1 : 0) {}

PreciseWakeup::~PreciseWakeup() {
  if (saved_ > 0) timeEndPeriod(1);
}
