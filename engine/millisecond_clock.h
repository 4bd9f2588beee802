#pragma once
// The millisecond clock the frame loop paces itself by. The engine reads it through this
// interface so that tests can drive time instead of waiting for it.

#include <cstdint>

class MillisecondClock {
 public:
  virtual ~MillisecondClock() = default;
  // Milliseconds since an arbitrary start; wraps after about 49.7 days.
  virtual std::uint32_t Now() = 0;
  // Gives up the processor for about this many milliseconds.
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // Gives up the processor until Now() reads `deadline` (compared across the wrap); returns at
  // once when it already does.
  virtual void SleepUntil(std::uint32_t deadline) = 0;
};

// The process's real clock: the monotonic system clock, counted from its first use.
MillisecondClock& SystemClock();
