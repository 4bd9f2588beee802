#include "profile/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

// Reading a container from a path: the one rule that Load, presets and the command-line tool use.
class ProfileFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::path(::testing::TempDir()) /
             ("profile_file_" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string Write(const char* name, std::vector<std::uint8_t> bytes) {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
  }
  static std::vector<std::uint8_t> Bytes(const ProfileFile& file) {
    return {file.bytes, file.bytes + 116};
  }

  std::filesystem::path folder;
  WheelProfile profile{};
};

TEST_F(ProfileFileOnDisk, OnlyTheFirst116BytesCountAndMissingOnesAreZeros) {
  std::vector<std::uint8_t> longer = Bytes(Encoded(FactoryProfiles[1]));
  longer.resize(200, 0x5A);
  std::size_t size = 0;
  ASSERT_EQ(LoadProfileContainer(Write("long.cs270", longer).c_str(), profile, &size),
            ProfileFileStatus::kOk);
  EXPECT_EQ(size, 200u);
  EXPECT_EQ(profile.bytes, FactoryProfiles[1].bytes);

  // A record whose last bytes are zeros survives losing them: the rule pads with zeros.
  WheelProfile zeroTail = FactoryProfiles[0];
  std::fill(zeroTail.bytes.begin() + 90, zeroTail.bytes.end(), 0);
  std::vector<std::uint8_t> cut = Bytes(Encoded(zeroTail));
  cut.resize(106);
  ASSERT_EQ(LoadProfileContainer(Write("cut.cs270", cut).c_str(), profile, &size),
            ProfileFileStatus::kOk);
  EXPECT_EQ(size, 106u);
  EXPECT_EQ(profile.bytes, zeroTail.bytes);
}

TEST_F(ProfileFileOnDisk, EmptyFailsTheMagicAndCutFailsTheCrc) {
  EXPECT_EQ(LoadProfileContainer(Write("empty.cs270", {}).c_str(), profile),
            ProfileFileStatus::kBadMagic);
  std::vector<std::uint8_t> cut = Bytes(Encoded(FactoryProfiles[2]));
  cut.resize(60);
  EXPECT_EQ(LoadProfileContainer(Write("cut.cs270", cut).c_str(), profile),
            ProfileFileStatus::kBadCrc);
  EXPECT_EQ(profile.bytes, WheelProfile{}.bytes);
}

TEST_F(ProfileFileOnDisk, OnlyRegularFilesAreReadAndNothingWaits) {
  const std::string good = Write("good.cs270", Bytes(Encoded(FactoryProfiles[0])));
  std::filesystem::create_symlink(good, folder / "link.cs270");
  EXPECT_EQ(LoadProfileContainer((folder / "link.cs270").c_str(), profile), ProfileFileStatus::kOk);

  std::filesystem::create_directory(folder / "folder.cs270");
  ASSERT_EQ(mkfifo((folder / "pipe.cs270").c_str(), 0600), 0);
  const struct {
    std::string path;
    ProfileFileStatus status;
  } cases[] = {
      {(folder / "missing.cs270").string(), ProfileFileStatus::kCannotOpen},
      {(folder / "folder.cs270").string(), ProfileFileStatus::kNotRegularFile},
      {(folder / "pipe.cs270").string(), ProfileFileStatus::kNotRegularFile},
      {"/dev/zero", ProfileFileStatus::kNotRegularFile},
      {"/proc/self/status", ProfileFileStatus::kChanged},  // says it is empty, then is not
  };
  for (const auto& c : cases) {
    WheelProfile untouched = FactoryProfiles[2];
    EXPECT_EQ(LoadProfileContainer(c.path.c_str(), untouched), c.status) << c.path;
    EXPECT_EQ(untouched.bytes, FactoryProfiles[2].bytes) << c.path;
    EXPECT_TRUE(IsProfileFileUnreadable(c.status));
  }
  EXPECT_FALSE(IsProfileFileUnreadable(ProfileFileStatus::kBadCrc));
}

TEST(ProfileBytes, PresetsFollowTheSameRule) {
  const ProfileFile file = Encoded(FactoryProfiles[2]);
  std::vector<std::uint8_t> bytes(file.bytes, file.bytes + 116);
  WheelProfile profile{};
  bytes.push_back(0xEE);
  EXPECT_EQ(CheckProfileBytes(bytes.data(), bytes.size(), profile), ProfileFileStatus::kOk);
  EXPECT_EQ(CheckProfileBytes(bytes.data(), 0, profile), ProfileFileStatus::kBadMagic);
  EXPECT_EQ(CheckProfileBytes(bytes.data(), 80, profile), ProfileFileStatus::kBadCrc);
}
