#include "engine/random.h"

namespace {

constexpr std::uint32_t kMultiplier = 214013;
constexpr std::uint32_t kIncrement = 2531011;
constexpr long double kTwoTo32 = 4294967296.0L;
constexpr std::uint32_t kRealScale = 65537;  // (seed >> 16) * 65537 spans 0 to 2^32 - 1

std::uint32_t seed = 0;

std::uint32_t Draw() {
  seed = seed * kMultiplier + kIncrement;  // modulo 2^32 by unsigned wrap
  return seed;
}

}  // namespace

void RandomSeed(std::uint32_t value) {
  seed = value;
}

std::uint32_t RandomState() {
  return seed;
}

int RandomInteger(int min, int max) {
  const std::uint32_t drawn = Draw();
  const std::uint32_t mixed = drawn ^ (drawn >> 15);
  const std::uint32_t span = static_cast<std::uint32_t>(max) - static_cast<std::uint32_t>(min) + 1u;
  // The full 32-bit range has a span of 0 after wrapping: every value is already in range.
  const std::uint32_t offset = span == 0 ? mixed : mixed % span;
  return static_cast<int>(static_cast<std::uint32_t>(min) + offset);
}

float RandomReal(float min, float max) {
  const std::uint32_t drawn = Draw();
  const long double fraction = static_cast<long double>((drawn >> 16) * kRealScale) / kTwoTo32;
  return static_cast<float>(static_cast<long double>(min) +
                            (static_cast<long double>(max) - min) * fraction);
}
