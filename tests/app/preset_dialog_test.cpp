// The preset dialog as the frame function drives it in AppState 7: opening it from the main
// screen, the list and its buttons, OK and Cancel, and what a downloaded preset must be before it
// reaches the current profile.
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/preset_dialog.h"
#include "app/skin_regions.h"
#include "tests/app/shell_fixture.h"
#include "ui/skin_link.h"

namespace {

constexpr const char* kCaption = "Corsaro270 Customiser";
constexpr const char* kNoPresets =
    "To access the latest Corsaro 270 Customiser presets\nyou must be able to access the "
    "internet.\n \nPlease check your internet connection and restart the application.";
constexpr const char* kPresetError =
    "An error occurred when accessing the preset data\nplease contact customer services to "
    "inform them of the problem\n \n";
constexpr const char* kPresetApplied =
    "Press the \"Assign Setting\" button\r\nto save the profile data to your Corsaro270 Wheel.";

// The receiver's CRC: reflected polynomial 0xEDB88320, register from 0, no final inversion.
std::uint32_t Crc(const std::uint8_t* bytes, std::size_t size) {
  std::uint32_t reg = 0;
  for (std::size_t i = 0; i < size; ++i) {
    reg ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) reg = (reg & 1) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
  }
  return reg;
}

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t word) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(word >> (8 * i));
}

// A 116-byte container: "CS27", reserved 0, the record's CRC, length 100, then the record.
std::vector<std::uint8_t> Container(const std::array<std::uint8_t, 100>& record) {
  std::vector<std::uint8_t> bytes(116, 0);
  std::memcpy(bytes.data(), "CS27", 4);
  PutWord(bytes, 8, Crc(record.data(), record.size()));
  PutWord(bytes, 12, 100);
  std::memcpy(bytes.data() + 16, record.data(), record.size());
  return bytes;
}

std::array<std::uint8_t, 100> Record(std::uint8_t fill) {
  std::array<std::uint8_t, 100> record{};
  record.fill(fill);
  return record;
}

PresetEntry Preset(const std::string& name, const std::string& file) {
  PresetEntry entry{};
  std::snprintf(entry.name, sizeof entry.name, "%s", name.c_str());
  std::snprintf(entry.note, sizeof entry.note, "note of %s", name.c_str());
  std::snprintf(entry.file, sizeof entry.file, "%s", file.c_str());
  return entry;
}

class PresetDialogTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    UiLinkSkin(kSkinRegions, kSkinRegionCount);
    BuildMainScreen();
    InstallScreenHandlers();
    SetControlsEnabled(1);  // the receiver is there: the main screen takes input
    ASSERT_EQ(AppState, 6);
    for (int profile = 0; profile < 3; ++profile) ProfileSet[profile].bytes.fill(0x11 * profile);
    std::string folder =
        (std::filesystem::temp_directory_path() / "corsaro-preset-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    presetFolder = folder;
  }
  void TearDown() override {
    CloseWindow();
    ClosePresetDialog();
    ReleaseMainScreen();
    UiLinkSkin(nullptr, 0);
    std::error_code ignored;
    std::filesystem::remove_all(presetFolder, ignored);
    ShellTest::TearDown();
  }

  // A preset file in the test's folder; its file address.
  std::string WritePreset(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = presetFolder + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return "file://" + path;
  }

  // A click as the frame function hands it to the dialog: the press, then the release.
  static void Click(int x, int y) {
    PresetDialogInput(0, x, y, true);
    PresetDialogInput(0, x, y, false);
  }
  // Frames until the dialog has closed, as long as a download may take.
  static void FramesUntilClosed() {
    for (int frame = 0; frame < 600 && AppState == APP_PRESET_DIALOG; ++frame) {
      PresetDialogInput(0, 0, 0, false);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  static UIBase* Child(int id) {
    for (UIBase* child = PresetDialog->first; child != nullptr; child = child->next) {
      if (child->id == id) return child;
    }
    return nullptr;
  }

  std::string presetFolder;
};

TEST_F(PresetDialogTest, WithoutPresetsTheMessageShowsAndTheMainScreenStays) {
  OpenPresetList();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(dialogs.shown()[0].caption, kCaption);
  EXPECT_EQ(dialogs.shown()[0].text, kNoPresets);
  EXPECT_EQ(AppState, 6);
  EXPECT_EQ(PresetDialog, nullptr);
}

TEST_F(PresetDialogTest, OpensFromThePresetsButtonOnlyOnTheMainScreen) {
  Settings.presets.push_back(Preset("One", "file:///none"));
  AppState = APP_NO_RECEIVER;
  OpenPresetList();
  EXPECT_EQ(PresetDialog, nullptr);
  EXPECT_EQ(AppState, 0);

  // The profile bar's Presets button (70 by 62 at 699, 5), clicked through the frame function.
  AppState = APP_MAIN_SCREEN;
  OpenWindow();
  Press(730, 30);
  Frame();
  Release(730, 30);
  Frame();
  EXPECT_EQ(AppState, 7);
  ASSERT_NE(PresetDialog, nullptr);
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(PresetDialogTest, ListsAtMostAHundredPresetsBesideOkAndCancel) {
  for (int i = 0; i < 101; ++i) Settings.presets.push_back(Preset("P" + std::to_string(i), ""));
  OpenPresetList();
  ASSERT_NE(PresetList, nullptr);
  EXPECT_EQ(PresetList->count, 100);
  EXPECT_EQ(PresetList->capacity, 100);
  EXPECT_EQ(PresetList->listX, 222);
  EXPECT_EQ(PresetList->listY, 160);
  EXPECT_EQ(PresetList->listW, 580);
  EXPECT_EQ(PresetList->listH, 150);
  EXPECT_EQ(PresetList->id, 100);
  EXPECT_EQ(PresetList->items[99].data, &Settings.presets[99]);
  UIBase* ok = Child(1);
  UIBase* cancel = Child(2);
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(std::make_pair(cancel->x, cancel->y), std::make_pair(754, 446));
  EXPECT_EQ(std::make_pair(ok->x, ok->y), std::make_pair(690, 446));
  EXPECT_EQ(std::make_pair(ok->w, ok->h), std::make_pair(54, 34));
  EXPECT_EQ(PresetGeometry.dialogX, 172);
  EXPECT_EQ(PresetGeometry.dialogY, 100);
  EXPECT_EQ(PresetGeometry.listAreaH, 170);
}

TEST_F(PresetDialogTest, OkWithoutASelectionAndCancelCloseSilently) {
  Settings.presets.push_back(Preset("One", WritePreset("one.cs270", Container(Record(0x42)))));
  const WheelProfile before = ProfileSet[0];
  OpenPresetList();
  Click(717, 463);  // OK
  EXPECT_EQ(AppState, 6);
  EXPECT_EQ(PresetDialog, nullptr);
  EXPECT_EQ(PresetDialogResult, PRESET_UNDECIDED);

  OpenPresetList();
  Click(300, 175);  // the first row
  EXPECT_EQ(PresetList->Selected(), 0);
  Click(793, 463);  // Cancel
  EXPECT_EQ(AppState, 6);
  EXPECT_EQ(PresetDialog, nullptr);
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(ProfileSet[0].bytes, before.bytes);
}

TEST_F(PresetDialogTest, TheWheelScrollsTheRowsUnderThePointer) {
  for (int i = 0; i < 10; ++i) Settings.presets.push_back(Preset("P" + std::to_string(i), ""));
  OpenPresetList();
  PresetDialogInput(-1, 400, 200, false);  // towards the user: down a row
  EXPECT_EQ(PresetList->firstRow, 1);
  PresetDialogInput(-1, 400, 200, false);
  EXPECT_EQ(PresetList->firstRow, 2);
  PresetDialogInput(1, 400, 200, false);
  EXPECT_EQ(PresetList->firstRow, 1);
  EXPECT_EQ(PresetList->previousEvent, 0x10 + 2);
  PresetDialogInput(0, 400, 200, true);
  PresetDialogInput(-1, 400, 200, false);  // wheel on the release frame
  EXPECT_EQ(PresetList->previousEvent, 0x20 + 3);
  EXPECT_EQ(PresetList->firstRow, 2);
  EXPECT_EQ(AppState, 7);
}

TEST_F(PresetDialogTest, OkAppliesTheSecondPresetToTheCurrentProfileOnly) {
  Settings.presets.push_back(Preset("First", WritePreset("first.cs270", Container(Record(0x42)))));
  Settings.presets.push_back(
      Preset("Second", WritePreset("second.cs270", Container(Record(0x07)))));
  CurrentProfile = 1;
  const WheelProfile first = ProfileSet[0];
  const WheelProfile third = ProfileSet[2];
  OpenPresetList();
  Click(300, 205);  // the second row
  ASSERT_EQ(PresetList->Selected(), 1);
  Click(717, 463);
  FramesUntilClosed();
  EXPECT_EQ(AppState, 6);
  EXPECT_EQ(PresetDialog, nullptr);
  EXPECT_EQ(PresetDialogResult, PRESET_APPLIED);
  for (std::uint8_t byte : ProfileSet[1].bytes) ASSERT_EQ(byte, 0x07);
  EXPECT_EQ(ProfileSet[0].bytes, first.bytes);
  EXPECT_EQ(ProfileSet[2].bytes, third.bytes);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(dialogs.shown()[0].text, kPresetApplied);
  EXPECT_NE(LogText().find("Preset \"Second\" copied into profile 2"), std::string::npos);
}

TEST_F(PresetDialogTest, AFailedOkClosesWithTheErrorAndChangesNothing) {
  Settings.presets.push_back(Preset("Gone", "file://" + presetFolder + "/missing.cs270"));
  const WheelProfile before = ProfileSet[0];
  OpenPresetList();
  Click(300, 175);
  Click(717, 463);
  FramesUntilClosed();
  EXPECT_EQ(AppState, 6);
  EXPECT_EQ(PresetDialog, nullptr) << "no Cancel after a failed OK";
  EXPECT_EQ(PresetDialogResult, PRESET_FAILED);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::kError);
  EXPECT_EQ(dialogs.shown()[0].caption, kCaption);
  EXPECT_EQ(dialogs.shown()[0].text, kPresetError);
  EXPECT_EQ(ProfileSet[0].bytes, before.bytes);
}

TEST_F(PresetDialogTest, OnlyAValidContainerOfAtMostAKilobyteIsApplied) {
  const std::vector<std::uint8_t> valid = Container(Record(0x5A));
  std::vector<std::uint8_t> junk1024 = valid;
  junk1024.resize(1024, 0xEE);
  std::vector<std::uint8_t> junk1025 = valid;
  junk1025.resize(1025, 0xEE);
  std::vector<std::uint8_t> badCrc = valid;
  badCrc[16 + 50] ^= 0x01;
  std::vector<std::uint8_t> badMagic = valid;
  badMagic[3] = '8';
  std::vector<std::uint8_t> badReserved = valid;
  badReserved[4] = 1;
  std::vector<std::uint8_t> badLength = valid;
  badLength[12] = 99;
  // A container cut short: the missing end counts as zeros, which the CRC does not match.
  std::vector<std::uint8_t> cut115 = valid;
  cut115.resize(115);

  struct Case {
    const char* what;
    int count;
    std::vector<std::uint8_t> bytes;
    bool applied;
  };
  const Case cases[] = {
      {"116 valid bytes", 116, valid, true},
      {"a valid container and junk to 1024 bytes", 1024, junk1024, true},
      {"1025 bytes", 1025, junk1025, false},
      {"a failed download", -1, valid, false},
      {"0 bytes", 0, {}, false},
      {"115 bytes", 115, cut115, false},
      {"a CRC mismatch", 116, badCrc, false},
      {"another magic", 116, badMagic, false},
      {"a reserved word not 0", 116, badReserved, false},
      {"a length not 100", 116, badLength, false},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> buffer(5120, 0);
    std::copy(c.bytes.begin(), c.bytes.end(), buffer.begin());
    WheelProfile record{};
    record.bytes.fill(0x99);
    const std::size_t shownBefore = dialogs.shown().size();
    EXPECT_EQ(ApplyPreset(c.count, buffer, record), c.applied) << c.what;
    if (c.applied) {
      for (std::uint8_t byte : record.bytes) ASSERT_EQ(byte, 0x5A) << c.what;
      EXPECT_EQ(dialogs.shown().size(), shownBefore) << c.what;
    } else {
      for (std::uint8_t byte : record.bytes) ASSERT_EQ(byte, 0x99) << c.what << " changed it";
      ASSERT_EQ(dialogs.shown().size(), shownBefore + 1) << c.what;
      EXPECT_EQ(dialogs.shown().back().icon, MessageIcon::kError);
      EXPECT_EQ(dialogs.shown().back().text, kPresetError) << c.what;
    }
  }
}

}  // namespace
