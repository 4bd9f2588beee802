#include "engine/power_status.h"

int PowerStatusFromSdl(SDL_PowerState state, int percent) {
  switch (state) {
    case SDL_POWERSTATE_ON_BATTERY:
      return percent >= 0 && percent <= 100 ? percent : kBatteryPercentUnknown;
    case SDL_POWERSTATE_NO_BATTERY:
    case SDL_POWERSTATE_CHARGING:
    case SDL_POWERSTATE_CHARGED:
      return kPowerOnMains;
    default:
      return kPowerUnknown;
  }
}

void PowerStatus::Start() {
  query_ = &SDL_GetPowerInfo;
}

void PowerStatus::Stop() {
  query_ = nullptr;
}

int PowerStatus::Measure() const {
  if (query_ == nullptr) return kPowerUnknown;
  int percent = -1;
  const SDL_PowerState state = query_(nullptr, &percent);
  return PowerStatusFromSdl(state, percent);
}
