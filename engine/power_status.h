#pragma once
// The power status the engine reports as a state: -1 on mains power (or without a battery), the
// battery's percentage (0 to 100, 255 unknown) when running on it, -2 when unknown.

#include <SDL2/SDL_power.h>

constexpr int kPowerUnknown = -2;
constexpr int kPowerOnMains = -1;
constexpr int kBatteryPercentUnknown = 255;

// The status for what SDL reports (percent is -1 when SDL does not know it).
int PowerStatusFromSdl(SDL_PowerState state, int percent);

class PowerStatus {
 public:
  // Looks up the system's query; without one every measurement is kPowerUnknown.
  void Start();
  // Forgets the query.
  void Stop();
  // Asks the system now.
  int Measure() const;

 private:
  using Query = SDL_PowerState (*)(int* seconds, int* percent);
  Query query_ = nullptr;
};
