#pragma once
// Status text and percentage of the firmware-update screen. Written by whoever runs a transfer
// (possibly the upgrade worker) and read by the render function every frame, without a lock.

#include <atomic>
#include <cstdint>

// Points at a constant text, or null.
extern std::atomic<const char*> ProgressMessage;
// 0..100.
extern std::atomic<std::int32_t> ProgressPercent;
