#include "profile/profile_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "profile/factory_profiles.h"

namespace {

ProfileFile Encoded(const WheelProfile& profile) {
  ProfileFile file{};
  EncodeProfileFile(profile, file);
  return file;
}

}  // namespace

TEST(ProfileFileFormat, EncodedFileHasTheDocumentedHeader) {
  const ProfileFile file = Encoded(FactoryProfiles[1]);
  EXPECT_EQ(std::memcmp(file.bytes, "CS27", 4), 0);
  const std::uint8_t reservedAndLength[] = {0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(file.bytes + 4, reservedAndLength, 4), 0);
  EXPECT_EQ(file.bytes[12], 100);
  EXPECT_EQ(file.bytes[13], 0);
  EXPECT_EQ(std::memcmp(file.bytes + 16, FactoryProfiles[1].bytes.data(), 100), 0);
}

TEST(ProfileFileFormat, CrcOfAZeroRecordIsZero) {
  const ProfileFile file = Encoded(WheelProfile{});
  for (int b = 8; b < 12; ++b) EXPECT_EQ(file.bytes[b], 0);
}

TEST(ProfileFileFormat, ValidFileGivesItsRecord) {
  const ProfileFile file = Encoded(FactoryProfiles[2]);
  WheelProfile profile{};
  ASSERT_EQ(CheckProfileFile(file, profile), ProfileFileStatus::kOk);
  EXPECT_EQ(profile.bytes, FactoryProfiles[2].bytes);
}

TEST(ProfileFileFormat, EachDamageIsReportedAndTheRecordIsLeftAlone) {
  const struct {
    std::size_t offset;
    ProfileFileStatus status;
  } cases[] = {
      {0, ProfileFileStatus::kBadMagic},    {3, ProfileFileStatus::kBadMagic},
      {4, ProfileFileStatus::kBadReserved}, {7, ProfileFileStatus::kBadReserved},
      {12, ProfileFileStatus::kBadLength},  {15, ProfileFileStatus::kBadLength},
      {8, ProfileFileStatus::kBadCrc},      {16, ProfileFileStatus::kBadCrc},
      {115, ProfileFileStatus::kBadCrc},
  };
  for (const auto& c : cases) {
    ProfileFile file = Encoded(FactoryProfiles[0]);
    file.bytes[c.offset] ^= 0x01;
    WheelProfile profile{};
    EXPECT_EQ(CheckProfileFile(file, profile), c.status) << "byte " << c.offset;
    EXPECT_EQ(profile.bytes, WheelProfile{}.bytes) << "byte " << c.offset;
  }
}

TEST(ProfileFileFormat, ChecksRunInOrderSoAnEmptyFileFailsTheMagic) {
  ProfileFile empty{};
  WheelProfile profile{};
  EXPECT_EQ(CheckProfileFile(empty, profile), ProfileFileStatus::kBadMagic);
  ProfileFile file = Encoded(FactoryProfiles[0]);
  file.bytes[5] = 1;
  file.bytes[12] = 99;
  file.bytes[40] ^= 0xFF;
  EXPECT_EQ(CheckProfileFile(file, profile), ProfileFileStatus::kBadReserved);
}
