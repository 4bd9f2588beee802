// The process's real clock: sleeping to a deadline in the past returns at once, also just behind
// the counter, where an unsigned reading would wait for 49 days; a deadline ahead is reached.
#include <gtest/gtest.h>

#include "engine/millisecond_clock.h"

namespace {

TEST(SystemClock, ADeadlineThatHasPassedDoesNotWait) {
  MillisecondClock& clock = SystemClock();
  const std::uint32_t now = clock.Now();
  clock.SleepUntil(now);
  clock.SleepUntil(now - 1);
  clock.SleepUntil(now - 0x7FFFFFFFu);
  // Unsigned: a clock that went backwards would show as a huge difference too.
  EXPECT_LT(clock.Now() - now, 1000u);
}

TEST(SystemClock, SleepsUntilTheDeadlineIsReached) {
  MillisecondClock& clock = SystemClock();
  for (std::uint32_t ahead : {1u, 3u, 7u}) {
    const std::uint32_t deadline = clock.Now() + ahead;
    clock.SleepUntil(deadline);
    EXPECT_LE(static_cast<std::int32_t>(deadline - clock.Now()), 0) << ahead << " ms ahead";
  }
}

}  // namespace
