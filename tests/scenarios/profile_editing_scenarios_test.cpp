// Editing profiles in the demo as a user would: dragging a tile, switching profiles, writing them
// to the receiver, saving and loading files, clearing and resetting, checked against the flash
// dumps, the files, the messages and the screenshots.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/scenarios/demo_run.h"
#include "tests/scenarios/skin_pictures.h"
#include "tests/support/main_screen_places.h"
#include "tests/support/profile_records.h"

namespace {

constexpr std::size_t kFlashSize = 131072;

constexpr AtlasRect kTileA{462, 982, 27, 30};   // region 72
constexpr AtlasRect kTileB{1284, 184, 27, 30};  // region 77
constexpr AtlasRect kTileY{573, 944, 27, 30};   // region 102
constexpr AtlasRect kLightOn{946, 71, 21, 20};  // region 24
constexpr AtlasRect kLightOff{501, 667, 21, 20};
constexpr AtlasRect kDot{523, 667, 18, 21};
constexpr AtlasRect kDotChecked{542, 667, 18, 21};

constexpr const char* kWrittenLine =
    "info\tCorsaro270 Customiser\tWheel profile data has been written correctly\\n\\r \\n\\rYou "
    "may now disconnect your wheel.";

bool Shows(const ImageArgb& shot, AtlasRect region, int x, int y) {
  const TexelCount count = CountShownTexels(shot, region, x, y);
  return count.opaque > 0 && count.shown == count.opaque;
}

bool SamePicture(const ImageArgb& a, const ImageArgb& b) {
  return a.width == b.width && !a.pixels.empty() && a.pixels == b.pixels;
}

// The x at which the tile shows whole on row y, searching from `from` to `to`; -1 when nowhere.
int FindTile(const ImageArgb& shot, AtlasRect region, int y, int from, int to) {
  const int step = from <= to ? 1 : -1;
  for (int x = from; x != to; x += step) {
    if (Shows(shot, region, x, y)) return x;
  }
  return -1;
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t at,
                                std::size_t size) {
  if (bytes.size() < at + size) return {};
  return {bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + size)};
}

// The whole flash: the profile sector as given, every other byte erased.
void ExpectFlash(const std::vector<std::uint8_t>& flash, const std::vector<std::uint8_t>& sector) {
  ASSERT_EQ(flash.size(), kFlashSize);
  EXPECT_EQ(Slice(flash, 0xC000, 4096), sector);
  for (std::size_t i = 0; i < kFlashSize; ++i) {
    if ((i < 0xC000 || i >= 0xD000) && flash[i] != 0xFF) FAIL() << "byte " << i << " was written";
  }
}

// Factory profile 1 with the A tile on control 5 (slot 14, code 12), as written back.
Record ProfileOneWithA() {
  Record record = WrittenBack(FactoryRecord(0));
  PutSlot(record, 14, 12, 1);
  return record;
}

TEST_F(DemoRun, DraggingSwitchingAndAssigningWritesExactlyTheThreeRecordsAndTheMarker) {
  ASSERT_EQ(Run("wait-state 6\n"
                "# the A tile, picked up in the palette and carried to control 5, which shows B\n"
                "move 715 530\n"
                "down\n"
                "move 660 420\n"
                "move 600 300\n"
                "screenshot drag\n"
                "move 588 272\n"
                "up\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot dropped\n"
                "# profile 3, looked at half-way out, then back to profile 1\n"
                "click 932 35\n"
                "frames 2\n"
                "screenshot switching\n"
                "wait-state 4\n"
                "wait-state 6\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot three\n"
                "click 809 35\n"
                "wait-state 4\n"
                "wait-state 6\n"
                "# Assign Setting\n"
                "click 199 520\n"
                "frames 2\n"
                "dump-flash assigned\n"),
            0)
      << Stderr();
  // Mid-way the floating A tile is centred on the pointer at (600, 300).
  EXPECT_TRUE(Shows(Screenshot("drag"), kTileA, 587, 285));
  // Dropped, control 5's label above its anchor (588, 268) is A.
  const ImageArgb dropped = Screenshot("dropped");
  EXPECT_TRUE(Shows(dropped, kTileA, 575, 220));
  EXPECT_FALSE(Shows(dropped, kTileA, 587, 285));

  // Half-way out the labels of the right-hand controls have moved right and those of the
  // left-hand ones left, by the same distance: control 5's A and control 7's Y (at 418, 220).
  const ImageArgb switching = Screenshot("switching");
  const int a = FindTile(switching, kTileA, 220, 576, 998);
  const int y = FindTile(switching, kTileY, 220, 417, -1);
  ASSERT_NE(a, -1);
  ASSERT_NE(y, -1);
  EXPECT_EQ(a - 575, 418 - y);
  EXPECT_GT(a - 575, 100);
  // Profile 3 holds B on control 5 (slot 14, code 11).
  EXPECT_TRUE(Shows(Screenshot("three"), kTileB, 575, 220));

  std::vector<std::pair<int, int>> states = States();
  std::vector<int> sequence;
  for (const auto& [frame, state] : states) sequence.push_back(state);
  EXPECT_EQ(sequence, (std::vector<int>{6, 5, 4, 6, 5, 4, 6}));
  ASSERT_EQ(states.size(), 7u);
  EXPECT_EQ(states[2].first - states[1].first, 30);
  EXPECT_EQ(states[3].first - states[2].first, 30);

  EXPECT_EQ(Messages(), std::vector<std::string>{kWrittenLine});
  ExpectFlash(Flash("assigned"), ProfileSector(ProfileOneWithA(), WrittenBack(FactoryRecord(1)),
                                               WrittenBack(FactoryRecord(2))));
}

TEST_F(DemoRun, AProfileSavedToAFileLoadsOnAnotherProfile) {
  ASSERT_EQ(Run("wait-state 6\n"
                "drag 715 530 588 272\n"
                "file saved\n"
                "click 663 35\n"
                "click 870 35\n"
                "wait-state 4\n"
                "wait-state 6\n"
                "file saved.cs270\n"
                "click 595 35\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot loaded\n"
                "click 199 520\n"
                "frames 2\n"
                "dump-flash assigned\n"),
            0)
      << Stderr();
  const std::string file = ReadFile(Path("saved.cs270"));
  ASSERT_EQ(file.size(), 116u);
  EXPECT_EQ(file.substr(0, 8), std::string("CS27\0\0\0\0", 8));
  EXPECT_EQ(file.substr(12, 4), std::string("\x64\0\0\0", 4));
  const std::vector<std::uint8_t> expected = Container(ProfileOneWithA());
  EXPECT_TRUE(std::vector<std::uint8_t>(file.begin(), file.end()) == expected);

  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "info\tCorsaro270 Customiser\tPress the \"Assign Setting\" "
                            "button\\r\\nto save the profile data to your Corsaro270 Wheel.",
                            kWrittenLine}));
  // Profile 2 now shows A on control 5.
  EXPECT_TRUE(Shows(Screenshot("loaded"), kTileA, 575, 220));
  ExpectFlash(Flash("assigned"),
              ProfileSector(ProfileOneWithA(), ProfileOneWithA(), WrittenBack(FactoryRecord(2))));
}

TEST_F(DemoRun, ClearMapEmptiesTheControlsAndKeepsTheLightsAndTheLevel) {
  ASSERT_EQ(Run("wait-state 6\n"
                "# Rear Light off, level High\n"
                "click 419 520\n"
                "click 639 541\n"
                "answer yes\n"
                "click 84 520\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot cleared\n"
                "click 199 520\n"
                "frames 2\n"
                "dump-flash assigned\n"),
            0)
      << Stderr();
  const ImageArgb cleared = Screenshot("cleared");
  EXPECT_TRUE(Shows(cleared, kLightOff, 408, 503));
  EXPECT_TRUE(Shows(cleared, kLightOn, 503, 503));
  EXPECT_TRUE(Shows(cleared, kDot, 568, 531));
  EXPECT_TRUE(Shows(cleared, kDot, 599, 531));
  EXPECT_TRUE(Shows(cleared, kDotChecked, 630, 531));
  for (int control = 0; control < 19; ++control) {
    const LabelPlace& place = kLabelPlaces[control];
    for (AtlasRect tile : {kTileA, kTileB, kTileY}) {
      EXPECT_FALSE(Shows(cleared, tile, place.labelX, place.labelY)) << control;
    }
  }
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{
                "question\tCorsaro270 Customiser\tClear Current Profile Data?", kWrittenLine}));

  Record one = FactoryRecord(0);
  for (int slot = 6; slot < 25; ++slot) PutSlot(one, slot, 0, 0);
  one[0] = 0x0C;                              // Front Light only
  one[88] = one[89] = one[90] = one[91] = 0;  // angleA 0
  one[92] = 0xFF;                             // angleB 32767
  one[93] = 0x7F;
  one[96] = one[97] = 0x7F;  // High
  ExpectFlash(Flash("assigned"),
              ProfileSector(one, WrittenBack(FactoryRecord(1)), WrittenBack(FactoryRecord(2))));
}

TEST_F(DemoRun, ResetRestoresTheFactoryRecord) {
  ASSERT_EQ(Run("wait-state 6\n"
                "drag 715 530 588 272\n"
                "answer yes\n"
                "click 308 520\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot reset\n"
                "click 199 520\n"
                "frames 2\n"
                "dump-flash assigned\n"),
            0)
      << Stderr();
  EXPECT_TRUE(Shows(Screenshot("reset"), kTileB, 575, 220));
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "question\tCorsaro270 Customiser\tReset Profile Data To Factory "
                            "Default Setting?",
                            kWrittenLine}));
  ExpectFlash(Flash("assigned"),
              ProfileSector(WrittenBack(FactoryRecord(0)), WrittenBack(FactoryRecord(1)),
                            WrittenBack(FactoryRecord(2))));
}

TEST_F(DemoRun, ACorruptFileChangesNothing) {
  std::vector<std::uint8_t> corrupt = Container(FactoryRecord(2));
  corrupt[16 + 22] ^= 0x01;  // a record byte changed, its CRC not
  WriteFile(Path("corrupt.cs270"), std::string(corrupt.begin(), corrupt.end()));
  ASSERT_EQ(Run("wait-state 6\n"
                "drag 715 530 588 272\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot before\n"
                "file corrupt.cs270\n"
                "click 595 35\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot after\n"
                "click 199 520\n"
                "frames 2\n"
                "dump-flash assigned\n"),
            0)
      << Stderr();
  EXPECT_TRUE(SamePicture(Screenshot("before"), Screenshot("after")));
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"info\tCorsaro270 Customiser\tProfile data is corrupt!",
                                      kWrittenLine}));
  ExpectFlash(Flash("assigned"), ProfileSector(ProfileOneWithA(), WrittenBack(FactoryRecord(1)),
                                               WrittenBack(FactoryRecord(2))));
}

// The file cannot be put in place: its name is taken by a folder, which root cannot write over
// either. For a user other than root a read-only folder holding an old file is tried too.
TEST_F(DemoRun, ASaveThatCannotBeWrittenSaysSoAndKeepsWhatWasThere) {
  namespace fs = std::filesystem;
  fs::create_directories(Path("taken.cs270"));
  WriteFile(Path("taken.cs270/inside.txt"), "kept");
  fs::create_directories(Path("locked"));
  WriteFile(Path("locked/old.cs270"), "old profile");
  chmod(Path("locked").c_str(), 0555);
  const bool lockedBites = geteuid() != 0;
  std::string script =
      "wait-state 6\n"
      "drag 715 530 588 272\n"
      "file taken.cs270\n"
      "click 663 35\n"
      "frames 2\n";
  if (lockedBites) script += "file locked/old.cs270\nclick 663 35\nframes 2\n";
  script += "click 199 520\nframes 2\ndump-flash assigned\n";
  const int status = Run(script);
  chmod(Path("locked").c_str(), 0755);
  ASSERT_EQ(status, 0) << Stderr();

  std::vector<std::string> expected = {"info\tCorsaro270 Customiser\tERROR SAVING WHEEL PROFILE"};
  if (lockedBites) expected.push_back(expected.front());
  expected.push_back(kWrittenLine);
  EXPECT_EQ(Messages(), expected);
  EXPECT_EQ(ReadFile(Path("taken.cs270/inside.txt")), "kept");
  EXPECT_EQ(ReadFile(Path("locked/old.cs270")), "old profile");
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(Path(""))) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(".taken", 0) == 0) left.push_back(name);
  }
  EXPECT_TRUE(left.empty()) << "a temporary file was left behind";
  EXPECT_NE(Log().find("Save profile: cannot write"), std::string::npos) << Log();
  // The record was not touched by the failed saves; Assign Setting folds the edit in.
  ExpectFlash(Flash("assigned"), ProfileSector(ProfileOneWithA(), WrittenBack(FactoryRecord(1)),
                                               WrittenBack(FactoryRecord(2))));
}

}  // namespace
