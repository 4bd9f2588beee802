#include "device/progress.h"

std::atomic<const char*> ProgressMessage{nullptr};
std::atomic<std::int32_t> ProgressPercent{0};
std::atomic<std::int32_t> UpgradeRunning{0};
