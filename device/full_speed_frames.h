#pragma once
// The frame rule of a USB full-speed interrupt endpoint, as the virtual receiver paces its
// reports. The bus runs in frames of one millisecond at fixed boundaries, whatever the host does,
// and the endpoint carries at most one report per frame in each direction. A report handed over
// during a frame goes in that frame if its direction is still free there, else in the next free
// one, and is through at that frame's end. So a host that wakes a little late after a report loses
// nothing, as on a real bus, until it misses a whole frame.

#include <chrono>

constexpr auto kFullSpeedFrame = std::chrono::milliseconds(1);

// When the frame that carries a report handed over at `handedOver` ends, in a direction whose
// last report went in the frame that ended at `lastFrameEnd`.
std::chrono::steady_clock::time_point EndOfFrameCarrying(
    std::chrono::steady_clock::time_point handedOver,
    std::chrono::steady_clock::time_point lastFrameEnd);
