#pragma once
// A bus completes its frames on time; a sleeping thread that wakes up late on every report would
// make the modelled bus slower than a real one. While one of these lives, the calling thread's
// waits end as close to their deadline as the platform allows: Linux cuts the thread's timer
// slack (50 us by default) to the least, Windows raises the timer resolution to 1 ms.

class PreciseWakeup {
 public:
  PreciseWakeup();
  ~PreciseWakeup();
  PreciseWakeup(const PreciseWakeup&) = delete;
  PreciseWakeup& operator=(const PreciseWakeup&) = delete;

 private:
  long saved_;
};
