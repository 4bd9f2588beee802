// Frame pacing, delta and frame counting on a driven clock.
#include <gtest/gtest.h>

#include <vector>

#include "engine/frame_timer.h"
#include "tests/engine/system_test_support.h"

namespace {

// Advances until the next frame starts; returns its tick.
FrameTimer::Tick NextFrame(FrameTimer& timer, DrivenClock& clock) {
  for (;;) {
    const FrameTimer::Tick tick = timer.Advance(clock);
    if (tick != FrameTimer::Tick::kNotDue) return tick;
  }
}

TEST(FrameTimerStep, ComesFromTheCapTruncated) {
  FrameTimer timer;
  const struct {
    int fps;
    std::uint32_t step;
  } cases[] = {{60, 16}, {30, 33}, {7, 142}, {1000, 1}, {2000, 0}, {0, 0}, {-1, 0}, {-60, 0}};
  for (const auto& c : cases) {
    timer.SetFps(c.fps);
    EXPECT_EQ(timer.fixedDeltaMs, c.step) << "fps " << c.fps;
  }
}

TEST(FrameTimerPacing, CappedFramesStartOneStepApartWithinAMillisecond) {
  DrivenClock clock;
  FrameTimer timer;
  timer.SetFps(60);
  timer.Start(clock);
  std::uint32_t previous = timer.frameStartMs;
  for (int frame = 0; frame < 100; ++frame) {
    NextFrame(timer, clock);
    const std::uint32_t gap = timer.frameStartMs - previous;
    EXPECT_GE(gap, 16u) << "frame " << frame;
    EXPECT_LE(gap, 17u) << "frame " << frame;
    previous = timer.frameStartMs;
  }
  // One sleep per frame and a few readings of the clock: nothing spins while waiting.
  EXPECT_LE(clock.Sleeps(), 100);
  EXPECT_LE(clock.Reads(), 100 * 5);
}

TEST(FrameTimerPacing, WaitsForTheNextFrameInOneSleepToItsDeadline) {
  for (std::uint32_t elapsed : {1u, 5u, 13u, 15u}) {
    DrivenClock clock;
    FrameTimer timer;
    timer.SetFps(60);
    timer.Start(clock);
    const std::uint32_t start = timer.frameStartMs;
    clock.Advance(elapsed);
    EXPECT_EQ(timer.Advance(clock), FrameTimer::Tick::kNotDue) << elapsed << " ms";
    EXPECT_EQ(clock.Sleeps(), 1) << elapsed << " ms";
    EXPECT_EQ(clock.Peek(), start + 16) << elapsed << " ms";
    // The caller handles its messages and asks again: the frame starts without another sleep.
    EXPECT_NE(timer.Advance(clock), FrameTimer::Tick::kNotDue) << elapsed << " ms";
    EXPECT_EQ(clock.Sleeps(), 1) << elapsed << " ms";
  }
}

TEST(FrameTimerPacing, RightAfterAFrameStartsOneReadingOfTheClockAndASleepFollow) {
  DrivenClock clock;
  FrameTimer timer;
  timer.SetFps(60);
  timer.Start(clock);
  NextFrame(timer, clock);
  const int reads = clock.Reads();
  const int sleeps = clock.Sleeps();
  // Still in the millisecond the frame started in: no spinning until the next one.
  EXPECT_EQ(timer.Advance(clock), FrameTimer::Tick::kNotDue);
  EXPECT_EQ(clock.Reads(), reads + 1);
  EXPECT_EQ(clock.Sleeps(), sleeps + 1);
  EXPECT_EQ(clock.Peek(), timer.frameStartMs + 16);
}

TEST(FrameTimerPacing, ALateFrameStartsWithoutSleeping) {
  DrivenClock clock;
  FrameTimer timer;
  timer.SetFps(60);
  timer.Start(clock);
  clock.Advance(40);
  EXPECT_NE(timer.Advance(clock), FrameTimer::Tick::kNotDue);
  EXPECT_EQ(clock.Sleeps(), 0);
}

TEST(FrameTimerPacing, UncappedFramesNeverShareAMillisecond) {
  DrivenClock clock;
  FrameTimer timer;
  timer.SetFps(0);
  timer.Start(clock);
  for (int frame = 0; frame < 50; ++frame) {
    const std::uint32_t before = timer.frameStartMs;
    NextFrame(timer, clock);
    EXPECT_GE(timer.lastDeltaMs, 1u);
    EXPECT_NE(timer.frameStartMs, before);
  }
  EXPECT_EQ(clock.Sleeps(), 0);
}

TEST(FrameTimerPacing, KeepsPacingAcrossTheClockWrap) {
  DrivenClock clock(0xFFFFFFF0u);
  FrameTimer timer;
  timer.SetFps(60);
  timer.Start(clock);
  NextFrame(timer, clock);
  NextFrame(timer, clock);
  EXPECT_GE(timer.lastDeltaMs, 16u);
  EXPECT_LE(timer.lastDeltaMs, 17u);
  EXPECT_LT(timer.delta, 0.02f);
}

struct StallCase {
  int fps;
  std::uint32_t stallMs;
  float delta;
};

TEST(FrameTimerDelta, StallsAreReplacedAndOrdinaryFramesMeasured) {
  const StallCase cases[] = {
      {60, 500, 0.016f}, {0, 500, 0.01f}, {30, 1000, 0.033f},
      {0, 150, 0.15f},   {60, 200, 0.2f}, {60, 201, 0.016f},
  };
  for (const StallCase& c : cases) {
    DrivenClock clock;
    FrameTimer timer;
    timer.SetFps(c.fps);
    timer.Start(clock);
    clock.Advance(c.stallMs);
    NextFrame(timer, clock);
    EXPECT_EQ(timer.lastDeltaMs, c.stallMs) << "fps " << c.fps << " stall " << c.stallMs;
    EXPECT_FLOAT_EQ(timer.delta, c.delta) << "fps " << c.fps << " stall " << c.stallMs;
  }
}

TEST(FrameTimerDelta, TimeIsTheSumOfTheDeltas) {
  DrivenClock clock;
  FrameTimer timer;
  timer.SetFps(60);
  timer.Start(clock);
  float sum = 0;
  for (int frame = 0; frame < 30; ++frame) {
    if (frame == 10) clock.Advance(700);
    NextFrame(timer, clock);
    sum += timer.delta;
  }
  EXPECT_FLOAT_EQ(timer.time, sum);
  timer.Start(clock);
  EXPECT_EQ(timer.time, 0.0f);
}

TEST(FrameTimerCount, TheClosingFrameCountsInNeitherSecond) {
  DrivenClock clock;
  FrameTimer timer;
  timer.SetFps(60);
  timer.Start(clock);
  std::uint32_t windowStart = timer.fpsWindowStartMs;
  int framesInWindow = 0;
  int closings = 0;
  for (int frame = 0; frame < 400; ++frame) {
    const FrameTimer::Tick tick = NextFrame(timer, clock);
    if (tick == FrameTimer::Tick::kFrame) {
      ++framesInWindow;
      EXPECT_LE(timer.frameStartMs - windowStart, 1000u);
      continue;
    }
    ++closings;
    EXPECT_GT(timer.frameStartMs - windowStart, 1000u);
    // Frames that started in the window, less the one that closes it.
    EXPECT_EQ(timer.framesPerSecond, framesInWindow);
    EXPECT_EQ(timer.frameCounter, 0);
    EXPECT_EQ(timer.fpsWindowStartMs, timer.frameStartMs);
    windowStart = timer.frameStartMs;
    framesInWindow = 0;
  }
  EXPECT_GE(closings, 5);
}

TEST(FrameTimerCount, SixtyFramesASecondReportAboutSixty) {
  DrivenClock clock;
  FrameTimer timer;
  timer.SetFps(60);
  timer.Start(clock);
  while (NextFrame(timer, clock) != FrameTimer::Tick::kFrameNewSecond) {
  }
  // With a 16-17 ms step, 59 to 62 frames start in a second; one of them closes it.
  EXPECT_GE(timer.framesPerSecond, 58);
  EXPECT_LE(timer.framesPerSecond, 62);
}

}  // namespace
