#include "device/full_speed_frames.h"

#include <algorithm>

std::chrono::steady_clock::time_point EndOfFrameCarrying(
    std::chrono::steady_clock::time_point handedOver,
    std::chrono::steady_clock::time_point lastFrameEnd) {
  // Frames start on whole milliseconds of the clock, like the bus's frame counter.
  const auto frameStart = std::chrono::floor<std::chrono::milliseconds>(handedOver);
  const std::chrono::steady_clock::time_point inProgressEnd = frameStart + kFullSpeedFrame;
  return std::max(inProgressEnd, lastFrameEnd + kFullSpeedFrame);
}
