#include "engine/millisecond_clock.h"

MillisecondClock& SystemClock() {
  return platform::Current().Clock();
}
