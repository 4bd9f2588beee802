#pragma once
// The power status the engine reports as a state: -1 on mains power (or without a battery), the
// battery's percentage (0 to 100, 255 unknown) when running on it, -2 when unknown.

#include "engine/platform/platform.h"

constexpr int kPowerUnknown = -2;
constexpr int kPowerOnMains = -1;
constexpr int kBatteryPercentUnknown = 255;

// The status for what the platform reads.
int PowerStatusFrom(const platform::PowerReading& reading);

class PowerStatus {
 public:
  // Reads the platform from now on; before, every measurement is kPowerUnknown.
  void Start() { started_ = true; }
  // Stops reading it.
  void Stop() { started_ = false; }
  // Asks the system now.
  int Measure() const;

 private:
  bool started_ = false;
};
