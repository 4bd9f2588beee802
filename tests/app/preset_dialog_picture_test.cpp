// The preset dialog drawn over the main screen by the render path of AppState 7 and read back:
// the list's hot band, selected name, scrollbar track, thumb and its grip lines in the colours of
// the dialog, and the note box.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/frame_functions.h"
#include "app/main_screen.h"
#include "app/main_screen_drawing.h"
#include "app/preset_dialog.h"
#include "app/startup.h"
#include "common/app_state.h"
#include "online/settings_document.h"
#include "tests/app/screen_picture_fixture.h"

namespace {

class PresetDialogPicture : public ScreenPicture {
 protected:
  void SetUp() override {
    ScreenPicture::SetUp();
    InstallScreenHandlers();
    SetControlsEnabled(1);
    // Twelve presets: more than the five rows, so the thumb shows, 62 pixels high.
    for (int i = 0; i < 12; ++i) {
      PresetEntry entry{};
      std::snprintf(entry.name, sizeof entry.name, "Preset %d", i + 1);
      std::snprintf(entry.note, sizeof entry.note, "Note %d", i + 1);
      Settings.presets.push_back(entry);
    }
    OpenPresetList();
    ASSERT_EQ(AppState, APP_PRESET_DIALOG);
  }

  void TearDown() override {
    ClosePresetDialog();
    Settings.presets.clear();
    CurrentFrameInput = {};
    ScreenPicture::TearDown();
  }

  static std::uint32_t At(const Screen& screen, int x, int y) {
    return screen[static_cast<std::size_t>(y) * kWidth + x] | 0xFF000000u;
  }
  // Pixels of exactly `colour` in the box.
  static int Count(const Screen& screen, int x, int y, int w, int h, std::uint32_t colour) {
    int count = 0;
    for (int py = y; py < y + h; ++py) {
      for (int px = x; px < x + w; ++px) count += At(screen, px, py) == colour;
    }
    return count;
  }

  // Rows of column x between y0 and y1 that show `colour`.
  static std::vector<int> RowsOf(const Screen& screen, int x, int y0, int y1,
                                 std::uint32_t colour) {
    std::vector<int> rows;
    for (int y = y0; y <= y1; ++y) {
      if (At(screen, x, y) == colour) rows.push_back(y);
    }
    return rows;
  }
  // The thumb's four grip lines: light lines 6 rows apart around the middle m = 191 (at m - 3
  // and m + 3; a line may land on the pixel row above its coordinate), each with a dark line
  // right below it.
  static void ExpectGripLines(const Screen& screen) {
    const std::vector<int> light = RowsOf(screen, 790, 180, 200, 0xFFFFF000u);
    ASSERT_EQ(light.size(), 2u);
    EXPECT_EQ(light[1] - light[0], 6);
    EXPECT_GE(light[0], 187);
    EXPECT_LE(light[0], 188);
    EXPECT_EQ(RowsOf(screen, 790, 180, 200, 0xFFFF8C00u),
              (std::vector<int>{light[0] + 1, light[1] + 1}));
    // The lines run from x 784 to 795, the end point not drawn, as with every line.
    EXPECT_EQ(At(screen, 784, light[0]), 0xFFFFF000u);
    EXPECT_EQ(At(screen, 794, light[0]), 0xFFFFF000u);
    EXPECT_NE(At(screen, 782, light[0]), 0xFFFFF000u);
    EXPECT_NE(At(screen, 797, light[0]), 0xFFFFF000u);
  }

};

TEST_F(PresetDialogPicture, RowsShowTheHotBandAndTheSelectedNameInAmber) {
  PresetDialogInput(0, 400, 175, true);   // select the first row
  PresetDialogInput(0, 400, 235, false);  // then rest over the third
  const Screen screen = Render();
  // The third row's band: from y 160 + 60 - 2 for 30 pixels, 580 wide (the track covers its
  // right end).
  EXPECT_EQ(At(screen, 700, 219), 0xFF606060u);
  EXPECT_EQ(At(screen, 700, 247), 0xFF606060u);
  EXPECT_NE(At(screen, 700, 249), 0xFF606060u);
  EXPECT_NE(At(screen, 700, 205), 0xFF606060u) << "the second row is not hot";
  // The first row's name in amber, the second's in white.
  EXPECT_GT(Count(screen, 232, 160, 200, 30, 0xFFFFC000u), 20);
  EXPECT_EQ(Count(screen, 232, 190, 200, 30, 0xFFFFC000u), 0);
  EXPECT_GT(Count(screen, 232, 190, 200, 30, 0xFFFFFFFFu), 20);
  // The title in white above the list.
  EXPECT_GT(Count(screen, 192, 115, 300, 27, 0xFFFFFFFFu), 20);
  // The selected preset's note in white in the note box.
  EXPECT_GT(Count(screen, 232, 340, 560, 80, 0xFFFFFFFFu), 10);
  EXPECT_EQ(Count(screen, 232, 340, 560, 80, 0xFFFFC000u), 0);
}

TEST_F(PresetDialogPicture, TheScrollbarHasItsTrackThumbAndGripLines) {
  PresetDialogInput(0, 400, 175, false);
  Screen screen = Render();
  // Track: black inside an amber outline, from x 778, 24 wide, 150 high.
  EXPECT_EQ(At(screen, 790, 300), 0xFF000000u);
  EXPECT_GT(Count(screen, 777, 300, 3, 1, 0xFFFFC000u), 0) << "the outline's left edge";
  // Thumb at the top, 62 high: amber from (780, 162), 19 by 57, with its grip lines.
  EXPECT_EQ(At(screen, 790, 170), 0xFFFFC000u);
  EXPECT_EQ(At(screen, 790, 191), 0xFFFFC000u);
  EXPECT_EQ(At(screen, 790, 215), 0xFFFFC000u);
  EXPECT_EQ(At(screen, 790, 230), 0xFF000000u) << "below the thumb";
  ExpectGripLines(screen);
  // Under the mouse the thumb turns a lighter yellow.
  PresetDialogInput(0, 790, 170, false);
  screen = Render();
  EXPECT_EQ(At(screen, 790, 170), 0xFFFFDC00u);
  ExpectGripLines(screen);
  // While it is dragged, darker.
  PresetDialogInput(0, 790, 170, true);
  screen = Render();
  EXPECT_EQ(At(screen, 790, 170), 0xFFFFA000u);
  PresetDialogInput(0, 790, 170, false);
}

TEST_F(PresetDialogPicture, WithoutASelectionTheNoteBoxSaysSoInAmber) {
  const Screen screen = Render();
  EXPECT_GT(Count(screen, 232, 340, 560, 80, 0xFFFFC000u), 20);
  EXPECT_EQ(Count(screen, 232, 340, 560, 80, 0xFFFFFFFFu), 0);
}

}  // namespace
