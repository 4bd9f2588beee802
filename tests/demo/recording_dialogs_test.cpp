// messages.txt as scripted runs write it, and the answers the script queued.
#include "demo/recording_dialogs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

class RecordingDialogsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
    std::filesystem::remove(existing_, ignored);
  }

  std::string Written() {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::string path_ = ::testing::TempDir() + "recording_dialogs_messages.txt";
  std::string existing_ = ::testing::TempDir() + "recording_dialogs_profile.cs270";
  RecordingDialogs dialogs_;
};

TEST(MessageLine, IconCaptionAndEscapedTextSeparatedByTabs) {
  EXPECT_EQ(MessageLine(MessageIcon::kQuestion, "Corsaro270 Customiser", "Go?\n \nYes\r\n"),
            "question\tCorsaro270 Customiser\tGo?\\n \\nYes\\r\\n");
  EXPECT_EQ(MessageLine(MessageIcon::kError, "a\tb", "C:\\path\tx"),
            "error\ta\\tb\tC:\\\\path\\tx");
  EXPECT_EQ(MessageLine(MessageIcon::kInformation, "", ""), "info\t\t");
  EXPECT_EQ(MessageLine(MessageIcon::kInformation, nullptr, nullptr), "info\t\t");
}

TEST_F(RecordingDialogsTest, EveryBoxIsWrittenAndQuestionsTakeTheQueuedAnswers) {
  ASSERT_TRUE(dialogs_.Open(path_));
  dialogs_.QueueAnswer(true);
  dialogs_.QueueAnswer(false);
  EXPECT_EQ(dialogs_.ShowMessage(nullptr, MessageIcon::kInformation, "Cap", "done\n"),
            MessageAnswer::kOk);
  EXPECT_EQ(Written(), "info\tCap\tdone\\n\n") << "each box is on disk at once";
  EXPECT_EQ(dialogs_.ShowMessage(nullptr, MessageIcon::kQuestion, "Cap", "one?"),
            MessageAnswer::kYes);
  EXPECT_EQ(dialogs_.ShowMessage(nullptr, MessageIcon::kError, "Cap", "bad"), MessageAnswer::kOk)
      << "error boxes take no answer";
  EXPECT_EQ(dialogs_.ShowMessage(nullptr, MessageIcon::kQuestion, "Cap", "two?"),
            MessageAnswer::kNo);
  EXPECT_EQ(dialogs_.ShowMessage(nullptr, MessageIcon::kQuestion, "Cap", "three?"),
            MessageAnswer::kNo)
      << "no answer left";
  EXPECT_EQ(Written(),
            "info\tCap\tdone\\n\n"
            "question\tCap\tone?\n"
            "error\tCap\tbad\n"
            "question\tCap\ttwo?\n"
            "question\tCap\tthree?\n");
}

TEST_F(RecordingDialogsTest, FileChoosersTakeTheQueuedFilesInOrder) {
  { std::ofstream(existing_) << "x"; }
  dialogs_.QueueFile({existing_, 3});
  dialogs_.QueueFile({"", 4});
  dialogs_.QueueFile({"/tmp/new-profile", 5});
  std::string path = "unchanged";
  EXPECT_TRUE(dialogs_.ChooseOpenFile(&path));
  EXPECT_EQ(path, existing_);
  path = "unchanged";
  EXPECT_FALSE(dialogs_.ChooseSaveFile(&path)) << "cancel";
  EXPECT_EQ(path, "unchanged");
  EXPECT_TRUE(dialogs_.ChooseSaveFile(&path));
  EXPECT_EQ(path, "/tmp/new-profile.cs270");
  EXPECT_FALSE(dialogs_.ChooseOpenFile(&path)) << "nothing queued: cancelled";
  EXPECT_EQ(dialogs_.failedLine(), 0);
}

TEST_F(RecordingDialogsTest, AnOpenChooserHandedAMissingFileFailsItsLine) {
  dialogs_.QueueFile({"/no/such/profile.cs270", 7});
  dialogs_.QueueFile({"/no/such/other.cs270", 8});
  std::string path;
  EXPECT_FALSE(dialogs_.ChooseOpenFile(&path));
  EXPECT_FALSE(dialogs_.ChooseOpenFile(&path));
  EXPECT_EQ(dialogs_.failedLine(), 7) << "the first failure stands";
  EXPECT_EQ(dialogs_.failure(),
            "file: \"/no/such/profile.cs270\" does not exist, and an open chooser needs a file");
}

TEST_F(RecordingDialogsTest, AnOpenChooserHandedAFolderOrAFifoSaysItIsNoRegularFile) {
  const std::string folder = ::testing::TempDir() + "recording_dialogs_folder.cs270";
  const std::string fifo = ::testing::TempDir() + "recording_dialogs_fifo.cs270";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::remove(fifo, ignored);
  std::filesystem::create_directory(folder);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  RecordingDialogs other;
  dialogs_.QueueFile({folder, 4});
  other.QueueFile({fifo, 9});
  std::string path;
  EXPECT_FALSE(dialogs_.ChooseOpenFile(&path));
  EXPECT_FALSE(other.ChooseOpenFile(&path)) << "the FIFO is not opened, so nothing waits";
  EXPECT_EQ(dialogs_.failedLine(), 4);
  EXPECT_EQ(dialogs_.failure(),
            "file: \"" + folder + "\" is not a regular file, and an open chooser needs a file");
  EXPECT_EQ(other.failure(),
            "file: \"" + fifo + "\" is not a regular file, and an open chooser needs a file");
  std::filesystem::remove(folder, ignored);
  std::filesystem::remove(fifo, ignored);
}

TEST_F(RecordingDialogsTest, MessagesAreNeverWrittenThroughAPlantedLink) {
  const std::string victim = ::testing::TempDir() + "recording_dialogs_victim.txt";
  const std::string planted = ::testing::TempDir() + "recording_dialogs_messages.txt";
  std::error_code ignored;
  std::filesystem::remove(planted, ignored);
  { std::ofstream(victim) << "precious"; }
  std::filesystem::create_symlink(victim, planted);
  RecordingDialogs other;
  EXPECT_FALSE(other.Open(planted));
  std::ifstream in(victim);
  std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(kept, "precious");
  std::filesystem::remove(planted, ignored);
  std::filesystem::remove(victim, ignored);
}

}  // namespace
