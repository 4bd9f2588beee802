// The process's clock: the monotonic system clock, counted from its first use.
#include "platform/sdl/sdl_platform.h"

#include <cerrno>
#include <cstdint>
#include <ctime>

namespace platform::sdl {
namespace {

constexpr std::int64_t kNanosecondsPerMillisecond = 1000000;
constexpr std::int64_t kNanosecondsPerSecond = 1000000000;

std::int64_t MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

// Milliseconds counted from the moment the clock was made. Sleeping to an absolute point of the
// monotonic clock wakes within a fraction of a millisecond of the deadline, with no polling.
class SystemMonotonicClock final : public MillisecondClock {
 public:
  std::uint32_t Now() override { return static_cast<std::uint32_t>(ElapsedMilliseconds()); }

  void Sleep(std::uint32_t milliseconds) override {
    WaitUntil(MonotonicNanoseconds() + milliseconds * kNanosecondsPerMillisecond);
  }

  void SleepUntil(std::uint32_t deadline) override {
    const std::int64_t elapsed = ElapsedMilliseconds();
    // The signed difference keeps a deadline just past the wrap in the future.
    const auto ahead = static_cast<std::int32_t>(deadline - static_cast<std::uint32_t>(elapsed));
    if (ahead <= 0) return;
    WaitUntil(origin_ + (elapsed + ahead) * kNanosecondsPerMillisecond);
  }

 private:
  std::int64_t ElapsedMilliseconds() const {
    return (MonotonicNanoseconds() - origin_) / kNanosecondsPerMillisecond;
  }

  static void WaitUntil(std::int64_t nanoseconds) {
    timespec until{};
    until.tv_sec = static_cast<time_t>(nanoseconds / kNanosecondsPerSecond);
    until.tv_nsec = static_cast<long>(nanoseconds % kNanosecondsPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
  }

  const std::int64_t origin_ = MonotonicNanoseconds();
};

}  // namespace

MillisecondClock& MonotonicClock() {
  static SystemMonotonicClock clock;
  return clock;
}

}  // namespace platform::sdl
