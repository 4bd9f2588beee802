// Before the profile sector is erased, what the receiver held is saved as a backup file of three
// profile containers in the user's data folder; the newest 50 are kept.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/byte_order.h"
#include "common/firmware_crc.h"
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

constexpr const char* kReceiverName = "virtual:/flash/a.bin";

std::uint64_t LittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int count) {
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
  return value;
}

long long NowMs() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes, mode_t mode = 0600) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  fs::permissions(path, static_cast<fs::perms>(mode));
}

// A backup of three filled records as a program of this version makes it.
std::vector<std::uint8_t> RecordedBackup(std::uint8_t fill, long long madeMs,
                                         std::uint64_t sequence, const std::string& receiver) {
  const WheelProfile records[3] = {Filled(fill), Filled(fill), Filled(fill)};
  ProfileBackupOrigin origin;
  origin.madeMs = madeMs;
  origin.sequence = sequence;
  origin.receiver = receiver;
  return EncodeProfileBackup(records, origin);
}

// The 348 bytes of a backup made before backups recorded their origin.
std::vector<std::uint8_t> OldBackup(std::uint8_t fill) {
  const WheelProfile records[3] = {Filled(fill), Filled(fill), Filled(fill)};
  std::vector<std::uint8_t> bytes(348);
  EncodeProfileBackup(records, bytes.data());
  return bytes;
}

mode_t ModeOf(const fs::path& path) {
  struct stat status {};
  EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
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
    receiver.SetIdentity(kReceiverName);
    ASSERT_TRUE(link.OpenFirstReceiver());
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

  const long long after = NowMs();
  const std::vector<std::uint8_t> backup = ReadAll(files[0]);
  // The three containers, then the origin block: "CSBK", version 1, its length, the time made,
  // the sequence number, the receiver's name and the CRC of all that.
  const std::string name = kReceiverName;
  ASSERT_EQ(backup.size(), 348u + 30u + name.size());
  EXPECT_EQ(std::vector<std::uint8_t>(backup.begin() + 348, backup.begin() + 354),
            Bytes({'C', 'S', 'B', 'K', 1, 0}));
  EXPECT_EQ(LittleEndian(backup, 354, 2), 30u + name.size());
  EXPECT_LE(static_cast<long long>(LittleEndian(backup, 356, 8)), after);
  EXPECT_GT(static_cast<long long>(LittleEndian(backup, 356, 8)), after - 60000);
  EXPECT_EQ(LittleEndian(backup, 364, 8), 1u) << "the first backup in its folder";
  EXPECT_EQ(LittleEndian(backup, 372, 2), name.size());
  EXPECT_EQ(std::string(backup.begin() + 374, backup.begin() + 374 + name.size()), name);
  EXPECT_EQ(LittleEndian(backup, 374 + name.size(), 4),
            FirmwareCrc(backup.data() + 348, 26 + name.size()));
  EXPECT_EQ(ModeOf(files[0]), 0600u);
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

TEST_F(ProfileBackups, TheNewestFiftyOfEachReceiverAreKeptAndForeignFilesAreLeftAlone) {
  StoreKnownProfiles();
  fs::create_directories(Folder());
  const long long jan2020 = 1577836800000LL;
  for (int i = 0; i < 50; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "20200101T0000%02d.000Z-fw0196.cs270set", i);
    WriteFile(Folder() / name, RecordedBackup(1, jan2020 + 1000 * i, i + 1, kReceiverName));
  }
  // Another receiver's, and one made before backups named their receiver.
  WriteFile(Folder() / "20190101T000000.000Z-fw0196.cs270set",
            RecordedBackup(2, jan2020 - 86400000LL, 1, "serial:other"));
  WriteFile(Folder() / "20180101T000000.000Z-fw0196.cs270set", OldBackup(3));
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
  ASSERT_EQ(kept.size(), 52u);
  EXPECT_EQ(kept.front().path, outcome.path) << "newest first";
  EXPECT_EQ(kept.front().sequence, 51u);
  EXPECT_EQ(fs::path(kept[49].path).filename(), "20200101T000001.000Z-fw0196.cs270set");
  EXPECT_EQ(kept[49].date, "2020-01-01 00:00:01 UTC");
  EXPECT_EQ(kept[50].receiver, "serial:other");
  EXPECT_FALSE(kept[51].recorded) << "an old backup ranks below every recorded one";
  EXPECT_EQ(kept[51].date, "2018-01-01 00:00:00 UTC");
  EXPECT_FALSE(fs::exists(Folder() / "20200101T000000.000Z-fw0196.cs270set"));
  EXPECT_TRUE(fs::exists(Folder() / "notes.txt"));
  EXPECT_TRUE(fs::exists(Folder() / "20190101T000000.000Z-fw0196.cs270set.old"));
  EXPECT_FALSE(fs::exists(killed));
  EXPECT_TRUE(fs::exists(alike));
}

TEST_F(ProfileBackups, ABackupFromAClockThatRanAheadNeverOutranksOrPrunesTheOneJustMade) {
  StoreKnownProfiles();
  fs::create_directories(Folder());
  // Made while the clock said 2099: by name and by the time inside, later than now.
  const long long year2099 = 4070908800000LL;
  for (int i = 0; i < 50; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "20990101T0000%02d.000Z-fw0196.cs270set", i);
    WriteFile(Folder() / name, RecordedBackup(0x20, year2099 + 1000 * i, i + 1, kReceiverName));
  }
  WriteFile(Folder() / "20991231T235959.999Z-fw0196.cs270set", OldBackup(0x30));
  fs::last_write_time(Folder() / "20991231T235959.999Z-fw0196.cs270set",
                      fs::file_time_type::clock::now() + std::chrono::hours(24 * 365 * 70));

  ProfileBackupOutcome outcome;
  ASSERT_TRUE(WriteProfileToReceiver(link, ProfileBackupRule::kRequired, &outcome));
  ASSERT_TRUE(fs::exists(outcome.path)) << "the backup just made is never pruned";

  const std::vector<ProfileBackupEntry> backups = ListProfileBackups(Folder().string());
  ASSERT_FALSE(backups.empty());
  EXPECT_EQ(backups.front().path, outcome.path);
  const ProfileBackupEntry* latest = LatestBackupOf(backups, kReceiverName);
  ASSERT_NE(latest, nullptr);
  EXPECT_EQ(latest->path, outcome.path);
  WheelProfile records[3];
  std::string why;
  ASSERT_TRUE(ReadProfileBackup(latest->path, records, why)) << why;
  EXPECT_EQ(records[1].bytes, Filled(0).bytes) << "what the receiver held";
  // The oldest made of this receiver's went instead.
  EXPECT_FALSE(fs::exists(Folder() / "20990101T000000.000Z-fw0196.cs270set"));
  EXPECT_TRUE(fs::exists(Folder() / "20991231T235959.999Z-fw0196.cs270set"));
}

TEST_F(ProfileBackups, OnlyTheUsersOwnFilesThatNobodyElseMayWriteAreTrusted) {
  StoreKnownProfiles();
  fs::create_directories(Folder());
  // Each claims to be this receiver's newest backup.
  const std::string open = (Folder() / "20990101T000001.000Z-fw0196.cs270set").string();
  WriteFile(open, RecordedBackup(0x41, 0, 1000, kReceiverName), 0666);
  const std::string group = (Folder() / "20990101T000002.000Z-fw0196.cs270set").string();
  WriteFile(group, RecordedBackup(0x42, 0, 1001, kReceiverName), 0620);
  const std::string target = (data / "elsewhere.cs270set").string();
  WriteFile(target, RecordedBackup(0x43, 0, 1002, kReceiverName));
  const std::string linked = (Folder() / "20990101T000003.000Z-fw0196.cs270set").string();
  fs::create_symlink(target, linked);
  // As root, one of another user's too.
  const std::string foreign = (Folder() / "20990101T000004.000Z-fw0196.cs270set").string();
  if (geteuid() == 0) {
    WriteFile(foreign, RecordedBackup(0x44, 0, 1003, kReceiverName));
    ASSERT_EQ(chown(foreign.c_str(), 65534, 65534), 0);
  }

  ProfileBackupOutcome outcome;
  ASSERT_TRUE(WriteProfileToReceiver(link, ProfileBackupRule::kRequired, &outcome));
  const std::vector<ProfileBackupEntry> backups = ListProfileBackups(Folder().string());
  const ProfileBackupEntry* latest = LatestBackupOf(backups, kReceiverName);
  ASSERT_NE(latest, nullptr);
  EXPECT_EQ(latest->path, outcome.path);
  EXPECT_EQ(backups.front().path, outcome.path) << "refused files lend it no sequence";
  EXPECT_EQ(backups.front().sequence, 1u);
  for (const ProfileBackupEntry& entry : backups) {
    if (entry.path == outcome.path) continue;
    EXPECT_EQ(entry.state, ProfileBackupEntry::State::kRefused) << entry.path;
    if (entry.path == open || entry.path == group) {
      EXPECT_EQ(entry.problem, "other users may write it");
    }
    if (entry.path == linked) {
      EXPECT_EQ(entry.problem, "a symbolic link, not a file");
    }
    if (entry.path == foreign) {
      EXPECT_EQ(entry.problem, "it belongs to another user");
    }
  }
  WheelProfile records[3];
  ProfileBackupOrigin origin;
  bool recorded = false;
  bool refused = false;
  std::string why;
  EXPECT_FALSE(ReadOwnProfileBackup(open, records, origin, recorded, refused, why));
  EXPECT_TRUE(refused);
  EXPECT_TRUE(fs::exists(open) && fs::exists(group) && fs::exists(linked) && fs::exists(target));
  EXPECT_EQ(backups.size(), geteuid() == 0 ? 5u : 4u);
}

TEST_F(ProfileBackups, FoldersAre0700AndFiles0600WhateverTheUmask) {
  StoreKnownProfiles();
  const mode_t old = umask(0);
  ProfileBackupOutcome outcome;
  const bool written = WriteProfileToReceiver(link, ProfileBackupRule::kRequired, &outcome);
  umask(old);
  ASSERT_TRUE(written);
  EXPECT_EQ(ModeOf(data / "corsaro270"), 0700u);
  EXPECT_EQ(ModeOf(Folder()), 0700u);
  EXPECT_EQ(ModeOf(outcome.path), 0600u);

  // A folder left open to others by an earlier version is closed to them before it is used.
  fs::permissions(Folder(), fs::perms::all);
  ASSERT_TRUE(WriteProfileToReceiver(link, ProfileBackupRule::kRequired, &outcome));
  EXPECT_EQ(ModeOf(Folder()), 0700u);
  EXPECT_TRUE(Logged("Closed the backup folder " + Folder().string() + " to other users"));
}

TEST_F(ProfileBackups, AFolderOfAnotherUsersIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give the folder away";
  StoreKnownProfiles();
  fs::create_directories(Folder());
  ASSERT_EQ(chown(Folder().c_str(), 65534, 65534), 0);
  const std::vector<std::uint8_t> before = ProfileSector();
  ProfileBackupOutcome outcome;
  EXPECT_FALSE(WriteProfileToReceiver(link, ProfileBackupRule::kRequired, &outcome));
  EXPECT_EQ(outcome.why, "the folder " + Folder().string() + " belongs to another user");
  EXPECT_EQ(ProfileSector(), before);
  EXPECT_TRUE(FilesIn(Folder()).empty());
}

TEST_F(ProfileBackups, BackupsOfTwoReceiversInOneFolderStayApart) {
  StoreKnownProfiles();
  ProfileBackupOutcome first;
  ASSERT_TRUE(WriteProfileToReceiver(link, ProfileBackupRule::kRequired, &first));
  // A second receiver, in the same folder, that has never been backed up.
  receiver.SetIdentity("virtual:/flash/b.bin");
  ASSERT_TRUE(link.OpenFirstReceiver());
  const std::vector<ProfileBackupEntry> backups = ListProfileBackups(Folder().string());
  EXPECT_EQ(LatestBackupOf(backups, "virtual:/flash/b.bin"), nullptr);
  EXPECT_EQ(LatestBackupOf(backups, ""), nullptr) << "an unknown receiver owns nothing";
  ProfileBackupOutcome second;
  ASSERT_TRUE(WriteProfileToReceiver(link, ProfileBackupRule::kRequired, &second));
  const std::vector<ProfileBackupEntry> both = ListProfileBackups(Folder().string());
  ASSERT_NE(LatestBackupOf(both, "virtual:/flash/b.bin"), nullptr);
  EXPECT_EQ(LatestBackupOf(both, "virtual:/flash/b.bin")->path, second.path);
  EXPECT_EQ(LatestBackupOf(both, kReceiverName)->path, first.path);
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
  // A relative HOME would put them wherever the program happens to run.
  setenv("HOME", "racer", 1);
  EXPECT_EQ(DefaultProfileBackupFolder(), "");
  EXPECT_EQ(VirtualReceiverBackupFolder(), "");
  SetProfileBackupFolder("");
  const WheelProfile records[3] = {Filled(1), Filled(2), Filled(3)};
  std::string path;
  std::string why;
  EXPECT_FALSE(SaveProfileBackup(records, 0x0196, kReceiverName, path, why));
  EXPECT_EQ(why, "neither XDG_DATA_HOME nor HOME names an absolute folder to keep it in");
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

TEST(ProfileBackupFile, OldBackupsStillReadAndTheOriginBlockIsChecked) {
  const WheelProfile records[3] = {Filled(1), Filled(2), Filled(3)};
  WheelProfile out[3];
  ProfileBackupOrigin origin;
  bool recorded = true;
  std::string why;
  const std::vector<std::uint8_t> old = OldBackup(7);
  ASSERT_TRUE(DecodeProfileBackup(old.data(), old.size(), out, why, &origin, &recorded)) << why;
  EXPECT_FALSE(recorded);

  // Version 1, 30 bytes and the name "usb:x", made at 0x0102030405060708 ms, sequence 9.
  std::vector<std::uint8_t> block =
      Bytes({'C', 'S', 'B', 'K', 1, 0, 35, 0, 8, 7, 6,   5,   4,   3,   2,  1,
             9,   0,   0,   0,   0, 0, 0,  0, 5, 0, 'u', 's', 'b', ':', 'x'});
  std::uint8_t crc[4];
  StoreLe32(crc, FirmwareCrc(block.data(), block.size()));
  block.insert(block.end(), crc, crc + 4);
  std::vector<std::uint8_t> bytes(348);
  EncodeProfileBackup(records, bytes.data());
  bytes.insert(bytes.end(), block.begin(), block.end());
  ASSERT_TRUE(DecodeProfileBackup(bytes.data(), bytes.size(), out, why, &origin, &recorded)) << why;
  EXPECT_TRUE(recorded);
  EXPECT_EQ(origin.madeMs, 0x0102030405060708LL);
  EXPECT_EQ(origin.sequence, 9u);
  EXPECT_EQ(origin.receiver, "usb:x");
  EXPECT_EQ(out[2].bytes, Filled(3).bytes);

  std::vector<std::uint8_t> damaged = bytes;
  damaged[348 + 16] = 10;  // the sequence, its CRC unchanged
  EXPECT_FALSE(DecodeProfileBackup(damaged.data(), damaged.size(), out, why));
  EXPECT_EQ(why, "what follows the three profiles is not a sound backup record");
  std::vector<std::uint8_t> trailing = old;
  trailing.push_back(0);
  EXPECT_FALSE(DecodeProfileBackup(trailing.data(), trailing.size(), out, why));
  EXPECT_EQ(why, "what follows the three profiles is not a sound backup record");

  // A later version may carry more before its CRC; what version 1 knows is still read.
  std::vector<std::uint8_t> later(block.begin(), block.end() - 4);
  later[4] = 2;
  later[6] = 37;
  later.push_back(0xAA);
  later.push_back(0xBB);
  StoreLe32(crc, FirmwareCrc(later.data(), later.size()));
  later.insert(later.end(), crc, crc + 4);
  std::vector<std::uint8_t> newer(348);
  EncodeProfileBackup(records, newer.data());
  newer.insert(newer.end(), later.begin(), later.end());
  ASSERT_TRUE(DecodeProfileBackup(newer.data(), newer.size(), out, why, &origin, &recorded)) << why;
  EXPECT_EQ(origin.receiver, "usb:x");
}

}  // namespace
