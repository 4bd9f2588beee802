// The virtual receiver as the demo runs it: plugged in and pulled out with its device notices,
// its flash dumped and kept in a file, and the firmware prompt of an old receiver.
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/scenarios/demo_run.h"

namespace {

using StateList = std::vector<std::pair<int, int>>;

constexpr std::size_t kFlashSize = 131072;
constexpr std::size_t kFlashFileHeader = 16;

// An erased flash with a stored profile sector: the marker 0x98765432 at 0xC000 and three
// 100-byte records at 0xC010, 0xC090 and 0xC110.
std::string FlashWithProfiles() {
  std::string flash(kFlashSize, '\xFF');
  flash.replace(0xC000, 4, "\x32\x54\x76\x98");
  for (std::size_t record = 0; record < 3; ++record) {
    for (std::size_t i = 0; i < 100; ++i) {
      flash[0xC010 + record * 0x80 + i] = static_cast<char>(record * 100 + i);
    }
  }
  return flash;
}

TEST_F(DemoRun, PlugAndUnplugMoveBetweenNoReceiverAndTheMainScreen) {
  ASSERT_EQ(Run("plug\n"
                "wait-state 6\n"
                "unplug\n"
                "wait-state 0\n"
                "plug\n"
                "wait-state 6\n"
                "unplug\n"
                "wait-state 0\n",
                {"--no-receiver"}),
            0)
      << Stderr();
  const StateList states = States();
  ASSERT_EQ(states.size(), 5u);
  const int expected[5] = {0, 6, 0, 6, 0};
  for (std::size_t i = 0; i < states.size(); ++i) {
    EXPECT_EQ(states[i].second, expected[i]) << i;
    if (i > 0) {
      EXPECT_GT(states[i].first, states[i - 1].first) << i;
    }
  }
  EXPECT_EQ(states[0].first, 0);
  EXPECT_NE(Log().find("INSERTED DEVICENAME: /dev/hidraw-demo"), std::string::npos);
}

TEST_F(DemoRun, AFreshReceiverStartsConnectedWithErasedFlash) {
  ASSERT_EQ(Run("wait-state 6\n"
                "dump-flash fresh\n"),
            0)
      << Stderr();
  EXPECT_EQ(States(), (StateList{{0, 6}}));
  const std::vector<std::uint8_t> flash = Flash("fresh");
  ASSERT_EQ(flash.size(), kFlashSize);
  for (std::size_t i = 0; i < flash.size(); ++i) {
    if (flash[i] != 0xFF) FAIL() << "byte " << i << " is not erased";
  }
}

TEST_F(DemoRun, AFlashFileIsLoadedAtTheStartAndKeptAtExit) {
  const std::string stored = FlashFile(0x0196, FlashWithProfiles());
  WriteFile(Path("receiver.bin"), stored);
  ASSERT_EQ(Run("wait-state 6\n"
                "dump-flash stored\n",
                {"--flash", Path("receiver.bin")}),
            0)
      << Stderr();
  EXPECT_EQ(States(), (StateList{{0, 6}}));
  const std::vector<std::uint8_t> flash = Flash("stored");
  ASSERT_EQ(flash.size(), kFlashSize);
  EXPECT_TRUE(std::string(flash.begin(), flash.end()) == FlashWithProfiles());
  // Written back at exit: the same version and flash.
  const std::string kept = ReadFile(Path("receiver.bin"));
  EXPECT_EQ(kept.substr(0, 10), stored.substr(0, 10));
  EXPECT_TRUE(kept.substr(kFlashFileHeader) == stored.substr(kFlashFileHeader));
}

TEST_F(DemoRun, QuitSignalsEndTheRunThroughItsExitPathAndKeepTheFlash) {
  // 128 plus the signal's number, as a shell reports it.
  const std::pair<int, int> kSignals[] = {{SIGTERM, 143}, {SIGINT, 130}, {SIGHUP, 129}};
  for (const auto& [signal, status] : kSignals) {
    SCOPED_TRACE(strsignal(signal));
    std::error_code ignored;
    std::filesystem::remove_all(Out(), ignored);
    std::filesystem::remove(Path("receiver.bin"), ignored);
    // Assign Setting writes the factory profiles and the marker; then the run waits for hours.
    EXPECT_EQ(RunAndSignal("wait-state 6\n"
                           "click 199 520\n"
                           "frames 2\n"
                           "dump-flash assigned\n"
                           "frames 1000000\n",
                           {"--flash", Path("receiver.bin")}, "assigned.bin", signal),
              status)
        << Stderr();
    const std::vector<std::uint8_t> assigned = Flash("assigned");
    ASSERT_EQ(assigned.size(), kFlashSize);
    EXPECT_EQ(std::string(assigned.begin() + 0xC000, assigned.begin() + 0xC004),
              "\x32\x54\x76\x98");
    // The flash file holds what the script wrote, and the run ended as a closed window does.
    const std::string kept = ReadFile(Path("receiver.bin"));
    ASSERT_EQ(kept.size(), kFlashFileHeader + kFlashSize);
    EXPECT_EQ(kept.substr(0, 8), "CS270VR1");
    EXPECT_TRUE(kept.substr(kFlashFileHeader) == std::string(assigned.begin(), assigned.end()));
    EXPECT_NE(Log().find("The End."), std::string::npos);
  }
}

TEST_F(DemoRun, AMissingFlashFileIsCreatedWithTheRunsReceiver) {
  ASSERT_EQ(Run("wait-state 6\n", {"--flash", Path("new.bin"), "--firmware-version", "0x0197"}), 0)
      << Stderr();
  const std::string file = ReadFile(Path("new.bin"));
  ASSERT_EQ(file.size(), kFlashFileHeader + kFlashSize);
  EXPECT_EQ(file.substr(0, 10), std::string("CS270VR1\x97\x01", 10));
  EXPECT_EQ(file.find_first_not_of('\xFF', kFlashFileHeader), std::string::npos);
}

TEST_F(DemoRun, AFlashFileOfAnotherKindIsRefusedAndLeftAlone) {
  WriteFile(Path("notes.txt"), "shopping list\n");
  EXPECT_EQ(Run("frames 1\n", {"--flash", Path("notes.txt")}), 2);
  EXPECT_NE(Stderr().find("is not a virtual receiver flash file"), std::string::npos) << Stderr();
  EXPECT_EQ(ReadFile(Path("notes.txt")), "shopping list\n");
}

TEST_F(DemoRun, DecliningTheFirmwarePromptShowsTheRefusalAndEndsTheProgram) {
  ASSERT_EQ(Run("firmware-version 1.80\n"
                "answer no\n"
                "plug\n"
                "frames 30\n",
                {"--no-receiver"}),
            0)
      << Stderr();
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{
                "question\tCorsaro270 Customiser\tThe firmware version on your controller is out "
                "of date\\n \\nWould you like to upgrade it now?\\n \\n",
                "error\tCorsaro270 Customiser\tYou must upgrade to the latest version of the "
                "firmware for your\\ncontroller to be able to use this software\\n \\n",
            }));
  EXPECT_EQ(States(), (StateList{{0, 0}, {1, 6}}));
  EXPECT_NE(Stderr().find("the program ended after 2 frames, at line 4"), std::string::npos)
      << Stderr();
}

TEST_F(DemoRun, AQuestionWithoutAnAnswerGetsNo) {
  ASSERT_EQ(Run("frames 5\n", {"--firmware-version", "1.95"}), 0) << Stderr();
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[1].substr(0, 6), "error\t");
  EXPECT_NE(Log().find("script: no answer queued for a question box; it is answered No"),
            std::string::npos);
}

}  // namespace
