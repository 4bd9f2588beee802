#include "engine/frame_timer.h"

namespace {
constexpr float kMillisecondsPerSecond = 1000.0f;
}

void FrameTimer::SetFps(int fps) {
  fixedDeltaMs = fps > 0 ? static_cast<std::uint32_t>(1000 / fps) : 0;
}

void FrameTimer::Start(MillisecondClock& clock) {
  time = 0;
  frameStartMs = fpsWindowStartMs = clock.Now();
  frameCounter = 0;
  lastDeltaMs = 0;
  framesPerSecond = 0;
}

FrameTimer::Tick FrameTimer::Advance(MillisecondClock& clock) {
  // Unsigned differences keep pacing right across the clock's wrap.
  lastDeltaMs = clock.Now() - frameStartMs;
  if (lastDeltaMs < fixedDeltaMs) {
    // One sleep to an absolute deadline: it neither drifts nor needs polling to start on time.
    clock.SleepUntil(frameStartMs + fixedDeltaMs);
    return Tick::kNotDue;
  }
  // Uncapped frames run back to back, but never twice in one millisecond.
  while (lastDeltaMs < 1) lastDeltaMs = clock.Now() - frameStartMs;

  delta = static_cast<float>(lastDeltaMs) / kMillisecondsPerSecond;
  if (delta > kMaxDeltaSeconds) {
    delta = fixedDeltaMs != 0 ? static_cast<float>(fixedDeltaMs) / kMillisecondsPerSecond
                              : kUncappedStallDelta;
  }
  time += delta;

  frameStartMs = clock.Now();
  if (frameStartMs - fpsWindowStartMs > kCountWindowMs) {
    // The frame that closes a second is counted in neither second.
    framesPerSecond = frameCounter;
    frameCounter = 0;
    fpsWindowStartMs = frameStartMs;
    return Tick::kFrameNewSecond;
  }
  frameCounter += 1;
  return Tick::kFrame;
}
