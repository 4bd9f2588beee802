// The firmware update as a user goes through it on the virtual receiver: the prompt of an old
// receiver, the progress bar, removing and reinserting the receiver, the confirmation, and what
// a failed transfer or an early removal leaves in the receiver's flash.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/scenarios/demo_run.h"

namespace {

using StateList = std::vector<std::pair<int, int>>;

constexpr std::size_t kFlashSize = 131072;
constexpr std::size_t kFlashFileHeader = 16;
constexpr std::size_t kSignatureAddress = 0x10000;

constexpr const char* kQuestion =
    "question\tCorsaro270 Customiser\tThe firmware version on your controller is out of date\\n "
    "\\nWould you like to upgrade it now?\\n \\n";
constexpr const char* kConfirmation =
    "info\tCorsaro270 Customiser\tYour controller had been updated to the latest version.\\n \\n";

// The version a flash file written at exit holds, as its little-endian word after "CS270VR1".
int FileVersion(const std::string& file) {
  if (file.size() < 10 || file.compare(0, 8, "CS270VR1") != 0) return -1;
  return static_cast<unsigned char>(file[8]) | static_cast<unsigned char>(file[9]) << 8;
}

bool SignedAt0x10000(const std::vector<std::uint8_t>& flash) {
  return flash.size() == kFlashSize &&
         std::equal(flash.begin() + kSignatureAddress, flash.begin() + kSignatureAddress + 9,
                    "ORMIC_DFU");
}

bool Visited(const StateList& states, int state) {
  return std::any_of(states.begin(), states.end(),
                     [state](const std::pair<int, int>& entry) { return entry.second == state; });
}

std::size_t Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

// The bar's row: the first row whose pixel at x 320 is the bar's opaque green, in a picture of
// the full bar; -1 when there is none.
int BarRow(const ImageArgb& full) {
  for (int y = 0; y < full.height; ++y) {
    if (full.pixels[static_cast<std::size_t>(y) * full.width + 320] == 0xFF00FF00u) return y;
  }
  return -1;
}

// Width of the green run that starts at x 312 on `row`.
int GreenWidth(const ImageArgb& picture, int row) {
  int width = 0;
  const std::uint32_t* line = picture.pixels.data() + static_cast<std::size_t>(row) * picture.width;
  while (312 + width < picture.width && line[312 + width] == 0xFF00FF00u) ++width;
  return width;
}

TEST_F(DemoRun, AnOldReceiverIsUpdatedAndTheUpdateConfirmedOnce) {
  ASSERT_EQ(Run("answer yes\n"
                "wait-state 9\n"
                "wait-progress 100\n"
                "unplug\n"
                "wait-state 10\n"
                "plug\n"
                "wait-state 6\n"
                "frames 20\n"
                "dump-flash after\n",
                {"--firmware-version", "1.80", "--flash", Path("receiver.bin")}),
            0)
      << Stderr();
  EXPECT_EQ(Messages(), (std::vector<std::string>{kQuestion, kConfirmation}));
  const StateList states = States();
  // State 8 is left within the frame that enters it.
  ASSERT_EQ(states.size(), 4u);
  const int expected[4] = {6, 9, 10, 6};
  for (std::size_t i = 0; i < states.size(); ++i) EXPECT_EQ(states[i].second, expected[i]) << i;
  EXPECT_EQ(FileVersion(ReadFile(Path("receiver.bin"))), 0x0196);
}

TEST_F(DemoRun, AnImageStagedEarlierIsClearedAndTheUpgradeRunsAfterTheReplug) {
  std::string flash(kFlashSize, '\xFF');
  flash.replace(kSignatureAddress, 16, std::string("ORMIC_DFU") + std::string(7, '\0'));
  WriteFile(Path("receiver.bin"), FlashFile(0x0180, flash));
  ASSERT_EQ(Run("answer yes\n"
                "wait-state 9\n"
                "frames 2\n"
                "dump-flash cleared\n"
                "unplug\n"
                "frames 5\n"
                "plug\n"
                "wait-progress 100\n"
                "unplug\n"
                "wait-state 10\n"
                "plug\n"
                "wait-state 6\n"
                "frames 20\n",
                {"--flash", Path("receiver.bin")}),
            0)
      << Stderr();
  EXPECT_FALSE(SignedAt0x10000(Flash("cleared")));
  EXPECT_NE(Log().find("REMOVE WHEEL"), std::string::npos);
  EXPECT_EQ(Messages(), (std::vector<std::string>{kQuestion, kConfirmation}));
  const StateList states = States();
  ASSERT_GE(states.size(), 2u);
  EXPECT_EQ(std::count_if(states.begin(), states.end(),
                          [](const std::pair<int, int>& entry) { return entry.second == 10; }),
            1);
  EXPECT_EQ(states.back().second, 6);
  EXPECT_EQ(FileVersion(ReadFile(Path("receiver.bin"))), 0x0196);
}

TEST_F(DemoRun, AWrongCrcLeavesTheImageUnsignedAndAReplugAsksAgain) {
  ASSERT_EQ(Run("fault wrong-crc\n"
                "answer yes\n"
                "wait-state 9\n"
                "frames 150\n"
                "dump-flash failed\n"
                "fault none\n"
                "unplug\n"
                "frames 5\n"
                "answer no\n"
                "plug\n"
                "frames 10\n",
                {"--firmware-version", "1.80"}),
            0)
      << Stderr();
  EXPECT_NE(Log().find("CRC check failed"), std::string::npos) << Log();
  EXPECT_FALSE(SignedAt0x10000(Flash("failed")));
  EXPECT_FALSE(Visited(States(), 10));
  EXPECT_EQ(States().back().second, 9);
  const std::vector<std::string> messages = Messages();
  EXPECT_EQ(Count(messages, kQuestion), 2u);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[2].substr(0, 6), "error\t");
}

TEST_F(DemoRun, RemovingTheReceiverHalfWayNeverReachesTheReturnState) {
  ASSERT_EQ(Run("answer yes\n"
                "wait-progress 50\n"
                "unplug\n"
                "frames 90\n"
                "dump-flash half\n"
                "plug\n"
                "frames 10\n",
                {"--firmware-version", "1.80", "--usb-pace"}),
            0)
      << Stderr();
  EXPECT_FALSE(Visited(States(), 10));
  EXPECT_NE(Log().find("Reprogramming firmware failed"), std::string::npos) << Log();
  EXPECT_FALSE(SignedAt0x10000(Flash("half")));
  // Back in, it is still the old receiver: the question comes again (unanswered: No).
  EXPECT_EQ(Count(Messages(), kQuestion), 2u);
}

TEST_F(DemoRun, ClosingTheWindowMidTransferStopsTheWorkerAndLeavesTheImageUnsigned) {
  // Escape is ignored while the upgrade runs: the script's quit closes the window two seconds
  // later, with the transfer about half way.
  ASSERT_EQ(Run("answer yes\n"
                "wait-state 9\n"
                "quit\n",
                {"--firmware-version", "1.80", "--usb-pace", "--flash", Path("receiver.bin")}),
            0)
      << Stderr();
  EXPECT_NE(Log().find("Firmware upgrade stopped before its end"), std::string::npos) << Log();
  const std::string file = ReadFile(Path("receiver.bin"));
  ASSERT_EQ(file.size(), kFlashFileHeader + kFlashSize);
  EXPECT_EQ(FileVersion(file), 0x0180);
  EXPECT_NE(file.compare(kFlashFileHeader + kSignatureAddress, 9, "ORMIC_DFU"), 0);
}

TEST_F(DemoRun, TheBarFillsFourPixelsAPercent) {
  ASSERT_EQ(Run("answer yes\n"
                "wait-state 9\n"
                "screenshot empty\n"
                "wait-progress 50\n"
                "screenshot half\n"
                "wait-progress 100\n"
                "screenshot full\n",
                {"--firmware-version", "1.80", "--usb-pace"}),
            0)
      << Stderr();
  const ImageArgb empty = Screenshot("empty");
  const ImageArgb half = Screenshot("half");
  const ImageArgb full = Screenshot("full");
  ASSERT_EQ(full.width, 1024);
  ASSERT_EQ(empty.width, 1024);
  ASSERT_EQ(half.width, 1024);
  const int row = BarRow(full);
  ASSERT_GT(row, 0);
  EXPECT_EQ(GreenWidth(full, row), 400);
  EXPECT_EQ(GreenWidth(full, row + 19), 400);
  EXPECT_NE(full.pixels[static_cast<std::size_t>(row + 20) * 1024 + 320], 0xFF00FF00u);
  EXPECT_EQ(GreenWidth(empty, row), 0);
  // Red shows through where nothing is filled.
  const std::uint32_t emptyBar = empty.pixels[static_cast<std::size_t>(row) * 1024 + 320];
  EXPECT_GT((emptyBar >> 16) & 0xFF, 0xA0u);
  EXPECT_LT((emptyBar >> 8) & 0xFF, 0x40u);
  // Taken a frame after the bar passed 50 percent: whole percents, from half the bar on.
  const int halfWidth = GreenWidth(half, row);
  EXPECT_EQ(halfWidth % 4, 0) << halfWidth;
  EXPECT_GE(halfWidth, 200);
  EXPECT_LT(halfWidth, 400);
}

}  // namespace
