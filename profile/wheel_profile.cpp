#include "profile/wheel_profile.h"

#include <cassert>

namespace {

std::int32_t ReadLe32(const WheelProfile& profile, int offset) {
  const auto* b = &profile.bytes[offset];
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
      static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

void WriteLe32(WheelProfile& profile, int offset, std::int32_t value) {
  const auto word = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    profile.bytes[offset + i] = static_cast<std::uint8_t>(word >> (8 * i));
}

}  // namespace

std::uint8_t SlotCode(const WheelProfile& profile, int slot) {
  assert(slot >= 0 && slot < kSlotCount);
  return profile.bytes[kSlotCodesOffset + slot];
}

std::int16_t SlotParam(const WheelProfile& profile, int slot) {
  assert(slot >= 0 && slot < kSlotCount);
  const int offset = kSlotParamsOffset + 2 * slot;
  return static_cast<std::int16_t>(profile.bytes[offset] | profile.bytes[offset + 1] << 8);
}

void SetSlot(WheelProfile& profile, int slot, std::uint8_t code, std::int16_t param) {
  assert(slot >= 0 && slot < kSlotCount);
  const int offset = kSlotParamsOffset + 2 * slot;
  const auto word = static_cast<std::uint16_t>(param);
  profile.bytes[kSlotCodesOffset + slot] = code;
  profile.bytes[offset] = static_cast<std::uint8_t>(word & 0xFF);
  profile.bytes[offset + 1] = static_cast<std::uint8_t>(word >> 8);
}

std::int32_t AngleA(const WheelProfile& profile) {
  return ReadLe32(profile, kAngleAOffset);
}
std::int32_t AngleB(const WheelProfile& profile) {
  return ReadLe32(profile, kAngleBOffset);
}
void SetAngleA(WheelProfile& profile, std::int32_t value) {
  WriteLe32(profile, kAngleAOffset, value);
}
void SetAngleB(WheelProfile& profile, std::int32_t value) {
  WriteLe32(profile, kAngleBOffset, value);
}

std::uint16_t LevelWord(const WheelProfile& profile) {
  return static_cast<std::uint16_t>(profile.bytes[kLevelOffset] << 8 |
                                    profile.bytes[kLevelOffset + 1]);
}

void SetLevel(WheelProfile& profile, Level level) {
  const std::uint16_t word = LevelToWord(level);
  profile.bytes[kLevelOffset] = static_cast<std::uint8_t>(word >> 8);
  profile.bytes[kLevelOffset + 1] = static_cast<std::uint8_t>(word & 0xFF);
}

double AngleToDegrees(std::int32_t stored) {
  const double degrees = stored / kAngleUnitsPerDegree;
  if (degrees < 0) return 0;
  if (degrees > kMaxAngleDegrees) return kMaxAngleDegrees;
  return degrees;
}

std::int32_t DegreesToAngle(double degrees) {
  return static_cast<std::int32_t>(degrees * kAngleUnitsPerDegree);
}

Level LevelFromWord(std::uint16_t word) {
  if (word == kLevelLow) return Level::kLow;
  if (word <= kLevelMed) return Level::kMed;
  return Level::kHigh;
}

std::uint16_t LevelToWord(Level level) {
  switch (level) {
    case Level::kLow:
      return kLevelLow;
    case Level::kMed:
      return kLevelMed;
    case Level::kHigh:
      return kLevelHigh;
  }
  return kLevelLow;
}

bool RearLightOn(const WheelProfile& profile) {
  return (profile.bytes[kLightFlagsOffset] & kRearLightBits) != 0;
}

bool FrontLightOn(const WheelProfile& profile) {
  return (profile.bytes[kLightFlagsOffset] & kFrontLightBits) != 0;
}

void SetLights(WheelProfile& profile, bool rear, bool front) {
  const std::uint8_t low = (rear ? kRearLightBits : 0) | (front ? kFrontLightBits : 0);
  profile.bytes[kLightFlagsOffset] =
      static_cast<std::uint8_t>((profile.bytes[kLightFlagsOffset] & 0xF0) | low);
}
