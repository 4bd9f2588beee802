#pragma once
// The 100-byte record of one wheel profile, as it lies in the receiver's flash, in profile files
// and in presets, and the conversions of the fields the program edits. Every byte not named here
// is carried through unchanged.

#include <array>
#include <cstdint>

constexpr int kProfileSize = 100;
constexpr int kProfileCount = 3;
constexpr int kSlotCount = 25;

// Byte offsets inside the record.
constexpr int kLightFlagsOffset = 0;   // low nibble: rear light bits 0-1, front light bits 2-3
constexpr int kSlotCodesOffset = 8;    // one function code byte per input slot
constexpr int kSlotParamsOffset = 36;  // one signed 16-bit little-endian parameter per slot
constexpr int kAngleAOffset = 88;      // signed 32-bit little-endian
constexpr int kAngleBOffset = 92;      // signed 32-bit little-endian
constexpr int kLevelOffset = 96;       // unsigned 16-bit big-endian

constexpr std::uint8_t kRearLightBits = 0x03;
constexpr std::uint8_t kFrontLightBits = 0x0C;

// Record units per degree of the clock slider: 32767 units cover 135 degrees.
constexpr double kAngleUnitsPerDegree = 242.71851851851852;
constexpr double kMaxAngleDegrees = 135.0;

constexpr std::uint16_t kLevelLow = 0x0000;
constexpr std::uint16_t kLevelMed = 0x4040;
constexpr std::uint16_t kLevelHigh = 0x7F7F;

enum class Level { kLow, kMed, kHigh };

struct WheelProfile {
  std::array<std::uint8_t, kProfileSize> bytes;
};
static_assert(sizeof(WheelProfile) == kProfileSize);

// The function code stored for input slot `slot` (0..24).
std::uint8_t SlotCode(const WheelProfile& profile, int slot);
// The signed parameter stored for input slot `slot` (0..24).
std::int16_t SlotParam(const WheelProfile& profile, int slot);
// Stores the code and parameter of one input slot.
void SetSlot(WheelProfile& profile, int slot, std::uint8_t code, std::int16_t param);

std::int32_t AngleA(const WheelProfile& profile);
std::int32_t AngleB(const WheelProfile& profile);
void SetAngleA(WheelProfile& profile, std::int32_t value);
void SetAngleB(WheelProfile& profile, std::int32_t value);

// The raw level word (high byte first in the record).
std::uint16_t LevelWord(const WheelProfile& profile);
// Stores exactly the word of the chosen level.
void SetLevel(WheelProfile& profile, Level level);

// A stored angle in degrees as the slider shows it: limited to 0..135.
double AngleToDegrees(std::int32_t stored);
// The stored value of an angle in degrees, truncated toward zero.
std::int32_t DegreesToAngle(double degrees);

// The choice a level word shows: 0 Low, up to 0x4040 Med, above High.
Level LevelFromWord(std::uint16_t word);
// The word written back for a level choice.
std::uint16_t LevelToWord(Level level);

bool RearLightOn(const WheelProfile& profile);
bool FrontLightOn(const WheelProfile& profile);
// Replaces only the low nibble of byte 0 with the two switches.
void SetLights(WheelProfile& profile, bool rear, bool front);
