#pragma once
// The millisecond clock the frame loop paces itself by. The engine reads it through this
// interface so that tests can drive time instead of waiting for it.

#include "engine/platform/platform.h"

using MillisecondClock = platform::MillisecondClock;

// The process's real clock, the platform's.
MillisecondClock& SystemClock();
