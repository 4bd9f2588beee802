// Feeds arbitrary bytes to the profile-file check as a ".cs270" file or a downloaded preset would
// bring them, then reads every field a screen shows from a record that passed.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "profile/action_codes.h"
#include "profile/profile_file.h"
#include "profile/wheel_profile.h"

namespace {

constexpr std::uint8_t kUntouched = 0xA5;

void CheckFields(const WheelProfile& profile) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int action = CodeActionTable(SlotCode(profile, slot), SlotParam(profile, slot));
    if (action < kNoAction || action >= kActionCount) std::abort();
  }
  for (std::int32_t stored : {AngleA(profile), AngleB(profile)}) {
    const double degrees = AngleToDegrees(stored);
    if (!(degrees >= 0.0 && degrees <= kMaxAngleDegrees)) std::abort();
  }
  const Level level = LevelFromWord(LevelWord(profile));
  if (level != Level::kLow && level != Level::kMed && level != Level::kHigh) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first 116 bytes are the container; a shorter input is padded with zeros.
  ProfileFile file{};
  std::memcpy(file.bytes, data, size < kProfileFileSize ? size : kProfileFileSize);

  WheelProfile profile;
  profile.bytes.fill(kUntouched);
  const ProfileFileStatus status = CheckProfileFile(file, profile);
  if (ProfileFileStatusText(status) == nullptr) std::abort();
  if (status != ProfileFileStatus::kOk) {
    // A refused file leaves the caller's record as it was.
    for (std::uint8_t byte : profile.bytes) {
      if (byte != kUntouched) std::abort();
    }
    return 0;
  }
  // A file that passes is exactly what saving its record writes.
  ProfileFile saved{};
  EncodeProfileFile(profile, saved);
  if (std::memcmp(saved.bytes, file.bytes, kProfileFileSize) != 0) std::abort();
  CheckFields(profile);
  return 0;
}
