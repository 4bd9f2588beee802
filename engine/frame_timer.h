#pragma once
// Frame pacing and the frame-time values of the engine's timer: a frame starts when at least the
// fixed step has passed since the previous one (never twice in one millisecond), its delta is the
// measured time unless a stall made it implausible, and frames are counted per second. Between
// frames the timer sleeps until the next one is due, in one sleep to that deadline.

#include <cstdint>

#include "engine/millisecond_clock.h"

class FrameTimer {
 public:
  enum class Tick {
    kNotDue,          // no frame yet; the loop goes round again
    kFrame,           // a frame starts
    kFrameNewSecond,  // a frame starts and closed a one-second count
  };

  // Sets the cap: fps > 0 gives a fixed step of 1000 / fps milliseconds, else no step.
  void SetFps(int fps);
  // Restarts the timer at the clock's current reading.
  void Start(MillisecondClock& clock);
  // Measures the time since the previous frame. Before the fixed step has passed it sleeps until
  // the next frame is due and returns kNotDue, so that the caller handles what arrived meanwhile
  // before the frame; otherwise it starts the frame and updates time, delta and the count.
  Tick Advance(MillisecondClock& clock);

  // A frame longer than this gets a substitute delta so that a stall does not jump the game.
  static constexpr float kMaxDeltaSeconds = 0.2f;
  static constexpr float kUncappedStallDelta = 0.01f;
  static constexpr std::uint32_t kCountWindowMs = 1000;

  float time = 0;                      // seconds of accumulated frame time
  float delta = 0;                     // seconds of the last frame
  std::uint32_t fixedDeltaMs = 0;      // minimum milliseconds per frame
  int framesPerSecond = 0;             // frames counted in the last closed second
  std::uint32_t frameStartMs = 0;      // clock at the previous frame
  std::uint32_t fpsWindowStartMs = 0;  // clock when the current count began
  std::uint32_t lastDeltaMs = 0;       // milliseconds measured for the current frame
  int frameCounter = 0;                // frames counted in the current second
};
