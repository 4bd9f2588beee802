#include "device/precise_wakeup.h"

#include <sys/prctl.h>

PreciseWakeup::PreciseWakeup() : saved_(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0)) {
  if (saved_ > 0) prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
}

PreciseWakeup::~PreciseWakeup() {
  if (saved_ > 0) prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(saved_), 0, 0, 0);
}
