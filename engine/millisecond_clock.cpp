#include "engine/millisecond_clock.h"

#include <SDL2/SDL_timer.h>

namespace {

class SdlClock final : public MillisecondClock {
 public:
  std::uint32_t Now() override { return SDL_GetTicks(); }
  void Sleep(std::uint32_t milliseconds) override { SDL_Delay(milliseconds); }
};

}  // namespace

MillisecondClock& SystemClock() {
  static SdlClock clock;
  return clock;
}
