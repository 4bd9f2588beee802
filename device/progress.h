#pragma once
// Status text, percentage and running flag of the firmware upgrade. Written by whoever runs a
// transfer (possibly the upgrade worker) and read by the frame and render functions every frame,
// without a lock.

#include <atomic>
#include <cstdint>

// Points at a constant text, or null.
extern std::atomic<const char*> ProgressMessage;
// 0..100.
extern std::atomic<std::int32_t> ProgressPercent;
// 1 from the start of an upgrade until the worker finished it successfully; a failed upgrade
// leaves it set.
extern std::atomic<std::int32_t> UpgradeRunning;
