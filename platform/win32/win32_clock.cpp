// The process's clock: the performance counter, counted from its first use. Sleeps are whole
// milliseconds of the scheduler, which the 1 ms timer period (StartVideo) makes that fine.
#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

constexpr std::int64_t kMillisecondsPerSecond = 1000;

std::int64_t Counter() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

std::int64_t Frequency() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart > 0 ? frequency.QuadPart : 1;
}

class PerformanceCounterClock final : public MillisecondClock {
 public:
  std::uint32_t Now() override { return static_cast<std::uint32_t>(Elapsed()); }

  void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }

  void SleepUntil(std::uint32_t deadline) override {
    // The signed difference keeps a deadline just past the wrap in the future; a sleep that
    // wakes early sleeps again for what is left.
    for (;;) {
      const auto ahead = static_cast<std::int32_t>(deadline - Now());
      if (ahead <= 0) return;
      ::Sleep(static_cast<DWORD>(ahead));
    }
  }

 private:
  std::int64_t Elapsed() const {
    return (Counter() - origin_) * kMillisecondsPerSecond / frequency_;
  }

  const std::int64_t frequency_ = Frequency();
  const std::int64_t origin_ = Counter();
};

}  // namespace

MillisecondClock& PreciseClock() {
  static PerformanceCounterClock clock;
  return clock;
}

}  // namespace platform::win32
