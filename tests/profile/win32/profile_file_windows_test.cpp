// Loading profile files on Windows: the container check is the same everywhere; what a path
// names and how it is reached are the platform's.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "profile/profile_file.h"

namespace {

namespace fs = std::filesystem;

// Factory profile 1 of the bundled presets, as a .cs270 file.
std::vector<char> BundledPreset() {
  std::ifstream in(CORSARO_SOURCE_DIR "/assets/presets/tarnwick270/factory1.cs270",
                   std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ProfileFileOnWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / L"profile_files_\u00e9t\u00e9";
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
  }
  fs::path Write(const wchar_t* name, const std::vector<char>& bytes) {
    const fs::path path = folder / name;
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  fs::path folder;
};

}  // namespace

TEST_F(ProfileFileOnWindows, ABundledPresetUnderANonAsciiNameLoads) {
  const std::vector<char> preset = BundledPreset();
  ASSERT_EQ(preset.size(), 116u);
  const fs::path path = Write(L"r\u00e4lly.cs270", preset);
  WheelProfile profile;
  std::size_t size = 0;
  EXPECT_EQ(LoadProfileContainer(Utf8(path).c_str(), profile, &size), ProfileFileStatus::kOk);
  EXPECT_EQ(size, 116u);
  EXPECT_EQ(0, std::memcmp(profile.bytes.data(), preset.data() + 16, 100));
}

TEST_F(ProfileFileOnWindows, ExtraBytesAreReportedAndADamagedRecordRefused) {
  std::vector<char> longer = BundledPreset();
  longer.resize(200, 'x');
  WheelProfile profile;
  std::size_t size = 0;
  EXPECT_EQ(LoadProfileContainer(Utf8(Write(L"long.cs270", longer)).c_str(), profile, &size),
            ProfileFileStatus::kOk);
  EXPECT_EQ(size, 200u);
  std::vector<char> damaged = BundledPreset();
  damaged[40] ^= 0x55;
  EXPECT_EQ(LoadProfileContainer(Utf8(Write(L"bad.cs270", damaged)).c_str(), profile),
            ProfileFileStatus::kBadCrc);
}

TEST_F(ProfileFileOnWindows, AFolderADeviceAndAMissingFileAreNotRead) {
  WheelProfile profile;
  EXPECT_EQ(LoadProfileContainer(Utf8(folder).c_str(), profile),
            ProfileFileStatus::kNotRegularFile);
  EXPECT_EQ(LoadProfileContainer("NUL", profile), ProfileFileStatus::kNotRegularFile);
  EXPECT_EQ(LoadProfileContainer(Utf8(folder / L"none.cs270").c_str(), profile),
            ProfileFileStatus::kCannotOpen);
}
