// Before the profile sector is erased, what the receiver held is saved as a backup file of three
// profile containers in the user's data folder; the newest 50 are kept.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/log.h"
#include "device/profile_backup_file.h"
#include "device/profile_backups.h"
#include "device/wheel_protocol.h"
#include "profile/factory_profiles.h"
#include "profile/profile_set.h"
#include "receiver_fixture.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> logged;

void KeepLine(const char* line) {
  logged.emplace_back(line);
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int value : values) bytes.push_back(static_cast<std::uint8_t>(value));
  return bytes;
}

// Whether `name` matches `pattern`, in which '#' stands for any digit.
bool Matches(const std::string& name, const std::string& pattern) {
  if (name.size() != pattern.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const bool digit = name[i] >= '0' && name[i] <= '9';
    if (pattern[i] == '#' ? !digit : name[i] != pattern[i]) return false;
  }
  return true;
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

WheelProfile Filled(std::uint8_t value) {
  WheelProfile profile;
  profile.bytes.fill(value);
  return profile;
}

// A receiver and a data folder of this test's own, with the log kept.
class ProfileBackups : public SaneReceiver {
 protected:
  void SetUp() override {
    SaneReceiver::SetUp();
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    data = fs::path(::testing::TempDir()) / ("backups_" + std::string(test->name()));
    fs::remove_all(data);
    fs::create_directories(data);
    if (const char* old = std::getenv("XDG_DATA_HOME")) oldData = old;
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    SetProfileBackupFolder("");
    logged.clear();
    SetLogSink(KeepLine);
  }
  void TearDown() override {
    SetLogSink(nullptr);
    setenv("XDG_DATA_HOME", oldData.c_str(), 1);
    fs::remove_all(data);
  }

  fs::path Folder() const { return data / "corsaro270" / "backups"; }

  // Stores factory profile 1, a record of zeros and factory profile 3 the way a write does.
  void StoreKnownProfiles() {
    ProfileSet[0] = FactoryProfiles[0];
    ProfileSet[1] = Filled(0);
    ProfileSet[2] = FactoryProfiles[2];
    ASSERT_TRUE(WriteProfileToReceiver(link));
  }

  std::vector<std::uint8_t> ProfileSector() const {
    std::vector<std::uint8_t> bytes(0x180);
    receiver.ReadFlash(0xC000, bytes.data(), 0x180);
    return bytes;
  }

  bool Logged(const std::string& part) const {
    for (const std::string& line : logged) {
      if (line.find(part) != std::string::npos) return true;
    }
    return false;
  }

  fs::path data;
  std::string oldData;
};

TEST_F(ProfileBackups, AWriteOverStoredProfilesFirstSavesTheirThreeContainers) {
  StoreKnownProfiles();
  EXPECT_TRUE(FilesIn(Folder()).empty()) << "an empty sector holds nothing to back up";
  EXPECT_TRUE(Logged("The receiver holds no stored profiles: nothing to back up"));

  for (int i = 0; i < 3; ++i) ProfileSet[i] = Filled(static_cast<std::uint8_t>(0x11 * (i + 1)));
  ProfileBackupOutcome outcome;
  ASSERT_TRUE(WriteProfileToReceiver(link, ProfileBackupRule::kLogFailure, &outcome));
  EXPECT_EQ(outcome.status, ProfileBackupOutcome::Status::kSaved);

  const std::vector<fs::path> files = FilesIn(Folder());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].string(), outcome.path);
  EXPECT_TRUE(Matches(files[0].filename().string(), "20######T######.###Z-fw0196.cs270set"))
      << files[0];
  EXPECT_TRUE(Logged("Backed up the receiver's profiles to " + outcome.path));

  const std::vector<std::uint8_t> backup = ReadAll(files[0]);
  ASSERT_EQ(backup.size(), 348u);
  // "CS27", reserved 0, the CRC of the record, length 100, then the record; three times.
  const std::vector<std::uint8_t> headers[3] = {
      Bytes({0x43, 0x53, 0x32, 0x37, 0, 0, 0, 0, 0x22, 0x17, 0x07, 0x5F, 100, 0, 0, 0}),
      Bytes({0x43, 0x53, 0x32, 0x37, 0, 0, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0}),
      Bytes({0x43, 0x53, 0x32, 0x37, 0, 0, 0, 0, 0x41, 0xF9, 0x26, 0x7A, 100, 0, 0, 0}),
  };
  const WheelProfile held[3] = {FactoryProfiles[0], Filled(0), FactoryProfiles[2]};
  for (int i = 0; i < 3; ++i) {
    const auto container = backup.begin() + 116 * i;
    EXPECT_EQ(std::vector<std::uint8_t>(container, container + 16), headers[i]) << "profile " << i;
    EXPECT_TRUE(std::equal(container + 16, container + 116, held[i].bytes.begin()))
        << "profile " << i;
  }
}

TEST_F(ProfileBackups, AVirtualReceiverOfAnotherVersionNamesItsBackupsSoAndApart) {
  receiver.SetFirmwareVersion(0x0201);
  StoreKnownProfiles();
  SetProfileBackupFolder(VirtualReceiverBackupFolder());
  ASSERT_TRUE(WriteProfileToReceiver(link));
  SetProfileBackupFolder("");
  const std::vector<fs::path> files = FilesIn(Folder() / "virtual");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_NE(files[0].filename().string().find("-fw0201.cs270set"), std::string::npos) << files[0];
  EXPECT_EQ(ListProfileBackups(Folder().string()).size(), 0u);
}

TEST_F(ProfileBackups, ARequiredBackupThatFailsStopsTheWriteBeforeTheErase) {
  StoreKnownProfiles();
  const std::vector<std::uint8_t> before = ProfileSector();
  // A file where the data folder should be: the backup folder cannot be made.
  fs::remove_all(data);
  std::ofstream(data.string()) << "not a folder";

  for (int i = 0; i < 3; ++i) ProfileSet[i] = Filled(0x5A);
  receiver.RecordRequests(true);
  ProfileBackupOutcome outcome;
  EXPECT_FALSE(WriteProfileToReceiver(link, ProfileBackupRule::kRequired, &outcome));
  EXPECT_EQ(outcome.status, ProfileBackupOutcome::Status::kFailed);
  EXPECT_FALSE(outcome.why.empty());
  EXPECT_TRUE(Logged("Could not back up the receiver's profiles: "));
  for (const auto& request : receiver.RecordedRequests()) {
    EXPECT_NE(request[5], 0x10) << "nothing may be erased";
    EXPECT_NE(request[5], 0x0F) << "nothing may be written";
  }
  EXPECT_EQ(ProfileSector(), before);
  fs::remove(data);
}

TEST_F(ProfileBackups, TheCustomisersWriteGoesOnWhenTheBackupFailsAndSaysSoInTheLog) {
  StoreKnownProfiles();
  fs::remove_all(data);
  std::ofstream(data.string()) << "not a folder";
  for (int i = 0; i < 3; ++i) ProfileSet[i] = Filled(0x5A);
  EXPECT_TRUE(WriteProfileToReceiver(link));
  EXPECT_TRUE(Logged("Could not back up the receiver's profiles: "));
  std::uint8_t block[100];
  receiver.ReadFlash(0xC090, block, sizeof block);
  EXPECT_EQ(block[0], 0x5A);
  EXPECT_EQ(block[99], 0x5A);
  fs::remove(data);
}

TEST_F(ProfileBackups, TheNewestFiftyAreKeptAndForeignFilesAreLeftAlone) {
  StoreKnownProfiles();
  fs::create_directories(Folder());
  std::uint8_t bytes[348];
  const WheelProfile records[3] = {Filled(1), Filled(2), Filled(3)};
  EncodeProfileBackup(records, bytes);
  for (int i = 0; i < 50; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "20200101T0000%02d.000Z-fw0196.cs270set", i);
    std::ofstream(Folder() / name, std::ios::binary).write(reinterpret_cast<char*>(bytes), 348);
  }
  std::ofstream(Folder() / "notes.txt") << "mine";
  std::ofstream(Folder() / "20190101T000000.000Z-fw0196.cs270set.old") << "mine too";
  // A backup's temporary left by a save that was killed a minute ago, and a look-alike of mine.
  const fs::path killed = Folder() / ".20200101T000059.000Z-fw0196.cs270set.Ab3xYz";
  const fs::path alike = Folder() / ".notes.txt.Ab3xYz";
  std::ofstream(killed) << "half a backup";
  std::ofstream(alike) << "mine as well";
  const timespec minuteAgo[2] = {{std::time(nullptr) - 60, 0}, {std::time(nullptr) - 60, 0}};
  utimensat(AT_FDCWD, killed.c_str(), minuteAgo, 0);
  utimensat(AT_FDCWD, alike.c_str(), minuteAgo, 0);

  ProfileBackupOutcome outcome;
  ASSERT_TRUE(WriteProfileToReceiver(link, ProfileBackupRule::kRequired, &outcome));

  const std::vector<ProfileBackupEntry> kept = ListProfileBackups(Folder().string());
  ASSERT_EQ(kept.size(), 50u);
  EXPECT_EQ(kept.front().path, outcome.path) << "newest first";
  EXPECT_EQ(fs::path(kept.back().path).filename(), "20200101T000001.000Z-fw0196.cs270set");
  EXPECT_EQ(kept.back().date, "2020-01-01 00:00:01 UTC");
  EXPECT_FALSE(fs::exists(Folder() / "20200101T000000.000Z-fw0196.cs270set"));
  EXPECT_TRUE(fs::exists(Folder() / "notes.txt"));
  EXPECT_TRUE(fs::exists(Folder() / "20190101T000000.000Z-fw0196.cs270set.old"));
  EXPECT_FALSE(fs::exists(killed));
  EXPECT_TRUE(fs::exists(alike));
}

TEST(ProfileBackupFolder, FollowsXdgDataHomeElseTheHomeFolder) {
  const std::string oldData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_DATA_HOME", "/data/here", 1);
  setenv("HOME", "/home/racer", 1);
  EXPECT_EQ(DefaultProfileBackupFolder(), "/data/here/corsaro270/backups");
  setenv("XDG_DATA_HOME", "relative/path", 1);
  EXPECT_EQ(DefaultProfileBackupFolder(), "/home/racer/.local/share/corsaro270/backups");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(DefaultProfileBackupFolder(), "/home/racer/.local/share/corsaro270/backups");
  EXPECT_EQ(VirtualReceiverBackupFolder(), "/home/racer/.local/share/corsaro270/backups/virtual");
  setenv("XDG_DATA_HOME", oldData.c_str(), 1);
  setenv("HOME", oldHome.c_str(), 1);
}

TEST(ProfileBackupFile, ADamagedOrWronglySizedBackupIsRefusedAndNamesTheProfile) {
  const WheelProfile records[3] = {Filled(1), Filled(2), Filled(3)};
  std::uint8_t bytes[348];
  EncodeProfileBackup(records, bytes);
  WheelProfile out[3] = {Filled(9), Filled(9), Filled(9)};
  std::string why;
  ASSERT_TRUE(DecodeProfileBackup(bytes, 348, out, why));
  EXPECT_EQ(out[2].bytes, Filled(3).bytes);

  WheelProfile untouched[3] = {Filled(9), Filled(9), Filled(9)};
  bytes[116 + 16 + 40] ^= 0x01;  // one record byte of profile 2
  EXPECT_FALSE(DecodeProfileBackup(bytes, 348, untouched, why));
  EXPECT_NE(why.find("profile 2"), std::string::npos) << why;
  EXPECT_EQ(untouched[0].bytes, Filled(9).bytes);
  bytes[116 + 16 + 40] ^= 0x01;
  EXPECT_FALSE(DecodeProfileBackup(bytes, 347, untouched, why));
  EXPECT_NE(why.find("348"), std::string::npos) << why;
}

}  // namespace
