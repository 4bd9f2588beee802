// Assign Setting in the demo keeps what the receiver held before it wrote: one backup file of the
// three profile containers in the user's data folder.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/scenarios/demo_run.h"
#include "tests/support/profile_records.h"

namespace {

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    files.push_back(entry.path());
  }
  return files;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

class BackupRun : public DemoRun {
 protected:
  void SetUp() override {
    DemoRun::SetUp();
    const char* before = std::getenv("XDG_DATA_HOME");
    if (before != nullptr) savedDataHome_ = before;
    setenv("XDG_DATA_HOME", Path("data").c_str(), 1);
  }
  void TearDown() override {
    if (savedDataHome_.empty()) {
      unsetenv("XDG_DATA_HOME");
    } else {
      setenv("XDG_DATA_HOME", savedDataHome_.c_str(), 1);
    }
    DemoRun::TearDown();
  }

  // Where the demo, on its virtual receiver, keeps its backups.
  std::filesystem::path Backups() const { return Path("data") + "/corsaro270/backups/virtual"; }

 private:
  std::string savedDataHome_;
};

TEST_F(BackupRun, AssignSettingBacksUpWhatTheReceiverHeldBeforeItWrites) {
  // A fresh receiver holds no profiles of its own (no marker): the first write has nothing to
  // keep. The second write keeps the factory records the first one wrote.
  ASSERT_EQ(Run("wait-state 6\n"
                "click 199 520\n"
                "frames 2\n"
                "drag 715 530 588 272\n"
                "click 199 520\n"
                "frames 2\n"
                "dump-flash second\n"),
            0)
      << Stderr();
  const std::vector<std::filesystem::path> backups = FilesIn(Backups());
  ASSERT_EQ(backups.size(), 1u) << Log();
  std::vector<std::uint8_t> expected;
  for (int profile = 0; profile < 3; ++profile) {
    const std::vector<std::uint8_t> container = Container(WrittenBack(FactoryRecord(profile)));
    expected.insert(expected.end(), container.begin(), container.end());
  }
  ASSERT_EQ(expected.size(), 348u);
  // The three containers, then the origin block of a receiver that is not kept: no name.
  const std::vector<std::uint8_t> saved = Bytes(ReadFile(backups[0].string()));
  ASSERT_EQ(saved.size(), 348u + 30u);
  EXPECT_EQ(std::vector<std::uint8_t>(saved.begin(), saved.begin() + 348), expected);
  EXPECT_EQ(std::string(saved.begin() + 348, saved.begin() + 352), "CSBK");
  EXPECT_EQ(saved[348 + 24], 0);
  EXPECT_NE(Log().find("Backed up the receiver's profiles to "), std::string::npos) << Log();

  // The receiver now holds the edited profile 1 (the A tile on control 5: slot 14, code 12).
  Record edited = WrittenBack(FactoryRecord(0));
  PutSlot(edited, 14, 12, 1);
  const std::vector<std::uint8_t> flash = Flash("second");
  ASSERT_GE(flash.size(), 0xC010u + 100u);
  EXPECT_EQ(std::vector<std::uint8_t>(flash.begin() + 0xC010, flash.begin() + 0xC010 + 100),
            std::vector<std::uint8_t>(edited.begin(), edited.end()));
}

// The second Assign Setting of a run finds the receiver's profiles stored and cannot keep them:
// the data folder is a file.
std::string AssignTwiceWithoutABackup(bool answer) {
  return std::string(
             "wait-state 6\n"
             "click 199 520\n"
             "frames 2\n"
             "drag 715 530 588 272\n") +
         (answer ? "answer yes\n" : "answer no\n") +
         "click 199 520\n"
         "frames 2\n"
         "dump-flash second\n";
}

std::vector<std::uint8_t> ProfileOne(const std::vector<std::uint8_t>& flash) {
  if (flash.size() < 0xC010u + 100u) return {};
  return {flash.begin() + 0xC010, flash.begin() + 0xC010 + 100};
}

TEST_F(BackupRun, AssignSettingAsksBeforeItWritesWithoutABackupAndNoLeavesTheReceiverAlone) {
  WriteFile(Path("data"), "not a folder");
  ASSERT_EQ(Run(AssignTwiceWithoutABackup(false)), 0) << Stderr();
  const std::string done =
      "info\tCorsaro270 Customiser\tWheel profile data has been written correctly\\n\\r "
      "\\n\\rYou may now disconnect your wheel.";
  const std::vector<std::string> messages = Messages();
  ASSERT_EQ(messages.size(), 2u) << Log();
  EXPECT_EQ(messages[0], done);
  const std::string asked =
      "question\tCorsaro270 Customiser\tThe profiles on the wheel could not "
      "be backed up (cannot make the folder " +
      Path("data") + "/corsaro270: Not a directory). Write anyway?";
  EXPECT_EQ(messages[1], asked);
  const Record first = WrittenBack(FactoryRecord(0));
  EXPECT_EQ(ProfileOne(Flash("second")), std::vector<std::uint8_t>(first.begin(), first.end()))
      << "after No the receiver keeps what the first write put there";

  ASSERT_EQ(Run(AssignTwiceWithoutABackup(true)), 0) << Stderr();
  EXPECT_EQ(Messages(), (std::vector<std::string>{done, asked, done}));
  Record edited = WrittenBack(FactoryRecord(0));
  PutSlot(edited, 14, 12, 1);
  EXPECT_EQ(ProfileOne(Flash("second")), std::vector<std::uint8_t>(edited.begin(), edited.end()));
}

}  // namespace
