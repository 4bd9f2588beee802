// The power status from what the system reports.
#include <gtest/gtest.h>

#include "engine/engine_impl.h"
#include "engine/power_status.h"
#include "platform/sdl/sdl_platform.h"

namespace {

int PowerStatusFromSdl(SDL_PowerState state, int percent) {
  return PowerStatusFrom(platform::sdl::PowerFromSdl(state, percent));
}

TEST(PowerStatus, MapsTheSystemsReport) {
  EXPECT_EQ(PowerStatusFromSdl(SDL_POWERSTATE_ON_BATTERY, 57), 57);
  EXPECT_EQ(PowerStatusFromSdl(SDL_POWERSTATE_ON_BATTERY, 0), 0);
  EXPECT_EQ(PowerStatusFromSdl(SDL_POWERSTATE_ON_BATTERY, 100), 100);
  EXPECT_EQ(PowerStatusFromSdl(SDL_POWERSTATE_ON_BATTERY, -1), 255);
  EXPECT_EQ(PowerStatusFromSdl(SDL_POWERSTATE_CHARGING, 40), -1);
  EXPECT_EQ(PowerStatusFromSdl(SDL_POWERSTATE_CHARGED, 100), -1);
  EXPECT_EQ(PowerStatusFromSdl(SDL_POWERSTATE_NO_BATTERY, -1), -1);
  EXPECT_EQ(PowerStatusFromSdl(SDL_POWERSTATE_UNKNOWN, 80), -2);
}

TEST(PowerStatus, IsUnknownUntilTheReaderStartsAndAfterItStops) {
  PowerStatus power;
  EXPECT_EQ(power.Measure(), -2);
  power.Start();
  const int measured = power.Measure();
  EXPECT_TRUE(measured == -2 || measured == -1 || (measured >= 0 && measured <= 100) ||
              measured == 255)
      << measured;
  power.Stop();
  EXPECT_EQ(power.Measure(), -2);
}

}  // namespace
