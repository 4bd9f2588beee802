#include "engine/power_status.h"

int PowerStatusFrom(const platform::PowerReading& reading) {
  switch (reading.source) {
    case platform::PowerSource::kBattery:
      return reading.percent >= 0 && reading.percent <= 100 ? reading.percent
                                                            : kBatteryPercentUnknown;
    case platform::PowerSource::kMains:
      return kPowerOnMains;
    default:
      return kPowerUnknown;
  }
}

int PowerStatus::Measure() const {
  return started_ ? PowerStatusFrom(platform::Current().Power()) : kPowerUnknown;
}
