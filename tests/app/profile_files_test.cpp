// Save and Load of ".cs270" files from the profile bar: the bytes written, the files refused and
// the messages, and that a failure leaves every profile and the old file as they were.
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/app/editing_fixture.h"
#include "tests/support/profile_records.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kLoaded =
    "Press the \"Assign Setting\" button\r\nto save the profile data to your Corsaro270 Wheel.";
constexpr const char* kCorrupt = "Profile data is corrupt!";
constexpr const char* kCannotLoad = "ERROR LOADING WHEEL PROFILE";
constexpr const char* kCannotSave = "ERROR SAVING WHEEL PROFILE";

// Everything the profile operations may change, to prove that a refused file changed nothing.
struct ProfileSnapshot {
  WheelProfile records[3];
  std::int32_t rows[3][21];
  ProfileSettingValues settings[3];
  std::int32_t actions[21];

  ProfileSnapshot() {
    std::copy(std::begin(ProfileSet), std::end(ProfileSet), records);
    for (int p = 0; p < 3; ++p) {
      std::copy(std::begin(ProfileActionRows[p]), std::end(ProfileActionRows[p]), rows[p]);
    }
    std::copy(std::begin(ProfileSettings), std::end(ProfileSettings), settings);
    std::copy(std::begin(ControlActions), std::end(ControlActions), actions);
  }
  bool operator==(const ProfileSnapshot& other) const {
    for (int p = 0; p < 3; ++p) {
      if (records[p].bytes != other.records[p].bytes) return false;
      if (!std::equal(std::begin(rows[p]), std::end(rows[p]), std::begin(other.rows[p]))) {
        return false;
      }
      const ProfileSettingValues& a = settings[p];
      const ProfileSettingValues& b = other.settings[p];
      if (a.angleA != b.angleA || a.angleB != b.angleB || a.level != b.level ||
          a.lightFlags != b.lightFlags) {
        return false;
      }
    }
    return std::equal(std::begin(actions), std::end(actions), std::begin(other.actions));
  }
};

class ProfileFiles : public EditingTest {
 protected:
  std::string File(const std::string& name) const { return logFolder + "/" + name; }
  static std::vector<std::uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  void Save(const std::string& path) {
    dialogs.AnswerNextFile(path);
    Click(kSaveX, kFileY);
  }
  void Load(const std::string& path) {
    dialogs.AnswerNextFile(path);
    Click(kLoadX, kFileY);
  }
  // The last message: its text, after checking the caption and the information icon.
  std::string LastMessage() const {
    if (dialogs.shown().empty()) return "(none)";
    EXPECT_EQ(dialogs.shown().back().icon, MessageIcon::kInformation);
    EXPECT_EQ(dialogs.shown().back().caption, "Corsaro270 Customiser");
    return dialogs.shown().back().text;
  }
  Record Current(int profile) const {
    Record record;
    std::copy(ProfileSet[profile].bytes.begin(), ProfileSet[profile].bytes.end(), record.begin());
    return record;
  }
};

TEST_F(ProfileFiles, SaveWritesTheContainerOfTheCurrentProfileWithItsEdits) {
  // Profile 2, with A dropped on control 5 (slot 14) and the Front Light switched off.
  Click(kDisc2X, kDiscY);
  FramesUntilMainScreen();
  DragFromTo(kTileAX, kTileAY, kControl5X, kControl5Y);
  Click(kFrontLightX, kBarY);
  Save(File("two"));  // the extension is added
  EXPECT_TRUE(dialogs.shown().empty()) << "a save that worked says nothing";

  Record expected = WrittenBack(FactoryRecord(1));
  PutSlot(expected, 14, 12, 1);
  expected[0] = 0x03;
  const std::vector<std::uint8_t> file = Bytes(File("two.cs270"));
  ASSERT_EQ(file.size(), 116u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "CS27");
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 4, file.begin() + 8),
            (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 12, file.begin() + 16),
            (std::vector<std::uint8_t>{100, 0, 0, 0}));
  EXPECT_EQ(file, Container(expected));
  EXPECT_EQ(Current(1), expected) << "the edits were folded into the record";
  EXPECT_EQ(Current(0), FactoryRecord(0));
}

TEST_F(ProfileFiles, ACancelledChooserDoesNothing) {
  const ProfileSnapshot before;
  dialogs.AnswerNextFile(std::nullopt);
  Click(kSaveX, kFileY);
  dialogs.AnswerNextFile(std::nullopt);
  Click(kLoadX, kFileY);
  EXPECT_EQ(dialogs.fileChoosersShown(), 2);
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_TRUE(ProfileSnapshot() == before);
}

TEST_F(ProfileFiles, ASaveThatCannotBeWrittenChangesNothing) {
  DragFromTo(kTileAX, kTileAY, kControl5X, kControl5Y);
  const ProfileSnapshot before;
  // A folder that is a file, and a target that is a folder.
  Write(File("plain"), {1, 2, 3});
  Save(File("plain/profile.cs270"));
  EXPECT_EQ(LastMessage(), kCannotSave);
  EXPECT_TRUE(ProfileSnapshot() == before) << "the edits were not folded into the record";
  EXPECT_NE(LogText().find("Save profile: cannot create a file in"), std::string::npos)
      << LogText();
  fs::create_directory(File("folder.cs270"));
  Save(File("folder.cs270"));
  EXPECT_EQ(dialogs.shown().size(), 2u);
  EXPECT_EQ(LastMessage(), kCannotSave);
  EXPECT_TRUE(ProfileSnapshot() == before);
  EXPECT_TRUE(fs::is_directory(File("folder.cs270")));
  EXPECT_EQ(Bytes(File("plain")), (std::vector<std::uint8_t>{1, 2, 3}));
}

// A disk that fills up half-way through the file: the write stops short. Root meets this too,
// unlike a read-only folder.
TEST_F(ProfileFiles, ASaveCutShortKeepsTheOldFileWhole) {
  Save(File("old.cs270"));
  const std::vector<std::uint8_t> old = Bytes(File("old.cs270"));
  ASSERT_EQ(old, Container(WrittenBack(FactoryRecord(0))));
  DragFromTo(kTileAX, kTileAY, kControl5X, kControl5Y);
  const ProfileSnapshot before;

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Save(File("old.cs270"));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(LastMessage(), kCannotSave);
  EXPECT_EQ(Bytes(File("old.cs270")), old);
  EXPECT_TRUE(ProfileSnapshot() == before);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(logFolder)) files += entry.is_regular_file();
  EXPECT_EQ(files, 2) << "the log and the old file; no temporary is left";
}

TEST_F(ProfileFiles, LoadPutsTheRecordOverTheCurrentProfileOnly) {
  Record stored = FactoryRecord(0);
  PutSlot(stored, 16, 22, 384);  // Steering boost on control 7
  stored[1] = 0x99;              // a kept byte travels through
  Write(File("boost.cs270"), Container(stored));
  Click(kDisc3X, kDiscY);
  FramesUntilMainScreen();
  DragFromTo(kTileAX, kTileAY, kControl5X, kControl5Y);  // discarded by the load
  Load(File("boost.cs270"));
  EXPECT_EQ(LastMessage(), kLoaded);
  EXPECT_EQ(Current(2), stored);
  EXPECT_EQ(Current(0), FactoryRecord(0));
  EXPECT_EQ(Current(1), FactoryRecord(1));
  EXPECT_EQ(ControlActions[7], 14);
  EXPECT_EQ(ControlActions[5], 1) << "the unsaved edit is gone";
  // The boost tile is 141 by 27 above control 7's anchor (431, 268).
  EXPECT_EQ(ControlLabelRect[7].left, 431 - 70);
  EXPECT_EQ(ControlLabelRect[7].top, 268 - 18 - 27);
}

TEST_F(ProfileFiles, EveryFileThatFailsTheCheckIsCorruptAndChangesNothing) {
  const std::vector<std::uint8_t> good = Container(FactoryRecord(2));
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"all 0xFF", std::vector<std::uint8_t>(116, 0xFF)});
  std::vector<std::uint8_t> bad = good;
  bad[0] = 'c';
  cases.push_back({"magic", bad});
  bad = good;
  bad[5] = 1;
  cases.push_back({"reserved", bad});
  bad = good;
  bad[12] = 99;
  cases.push_back({"length", bad});
  bad = good;
  bad[8] ^= 1;
  cases.push_back({"crc", bad});
  bad = good;
  bad[16 + 22] ^= 1;
  cases.push_back({"record changed, crc not", bad});
  Record lastByteSet = FactoryRecord(2);
  lastByteSet[99] = 7;
  bad = Container(lastByteSet);
  bad.pop_back();
  cases.push_back({"115 bytes, the missing one not zero", bad});
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    Write(File("bad.cs270"), bytes);
    const ProfileSnapshot before;
    const std::size_t shown = dialogs.shown().size();
    Load(File("bad.cs270"));
    ASSERT_EQ(dialogs.shown().size(), shown + 1);
    EXPECT_EQ(LastMessage(), kCorrupt);
    EXPECT_TRUE(ProfileSnapshot() == before);
  }
}

TEST_F(ProfileFiles, FilesOf115To200BytesLoadWhenTheirFirst116Pass) {
  const std::vector<std::uint8_t> good = Container(FactoryRecord(2));
  std::vector<std::uint8_t> cut = good;
  cut.pop_back();  // factory profile 3 ends in a zero, which the padding gives back
  std::vector<std::uint8_t> longer = good;
  longer.push_back(0xAB);
  std::vector<std::uint8_t> junk = good;
  junk.resize(200, 0x5A);
  for (const auto& bytes : {cut, good, longer, junk}) {
    SCOPED_TRACE(bytes.size());
    ProfileSet[0] = WheelProfile{};
    Write(File("ok.cs270"), bytes);
    Load(File("ok.cs270"));
    EXPECT_EQ(LastMessage(), kLoaded);
    EXPECT_EQ(Current(0), FactoryRecord(2));
  }
}

TEST_F(ProfileFiles, WhatCannotBeReadGivesTheLoadErrorAndNeverWaits) {
  fs::create_directory(File("folder.cs270"));
  ASSERT_EQ(mkfifo(File("pipe.cs270").c_str(), 0600), 0);
  for (const std::string& path : {File("missing.cs270"), File("folder.cs270"), File("pipe.cs270"),
                                  std::string("/dev/null"), std::string("/dev/zero"),
                                  // Said to be empty, then read with content: it changes.
                                  std::string("/proc/self/status")}) {
    SCOPED_TRACE(path);
    const ProfileSnapshot before;
    const std::size_t shown = dialogs.shown().size();
    Load(path);
    ASSERT_EQ(dialogs.shown().size(), shown + 1);
    EXPECT_EQ(LastMessage(), kCannotLoad);
    EXPECT_TRUE(ProfileSnapshot() == before);
  }
  EXPECT_NE(LogText().find("Load profile " + File("pipe.cs270") + ": not a regular file"),
            std::string::npos)
      << LogText();
}

}  // namespace
