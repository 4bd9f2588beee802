// The main screen drawn by the program on the off-screen driver with the carried skin, and read
// back: what each state shows, at which alpha and in which order. (Where factory profile 1's
// labels, lights, level and handles land on the main screen is checked end to end, in
// tests/scenarios.) An element drawn at full alpha shows its opaque texels unchanged; one drawn
// at alpha a over a picture P shows texel * a + P * (255 - a).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/main_screen.h"
#include "app/main_screen_drawing.h"
#include "app/profile_switch.h"
#include "app/skin_regions.h"
#include "app_assets.h"
#include "common/app_state.h"
#include "device/receiver_access.h"
#include "engine/png_codec.h"
#include "profile/factory_profiles.h"
#include "profile/profile_controls.h"
#include "profile/profile_mapping.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"
#include "tests/app/screen_picture_fixture.h"
#include "tests/support/main_screen_places.h"

namespace {

struct Box {
  int x, y, w, h;
  bool Holds(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

int Channel(std::uint32_t argb, int shift) {
  return static_cast<int>((argb >> shift) & 0xFF);
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  }
  return true;
}

TEST(MainScreenAlpha, DimmedUnderEveryOverlay) {
  EXPECT_EQ(MainScreenAlpha(0), 128);
  for (int state = 1; state <= 6; ++state) EXPECT_EQ(MainScreenAlpha(state), 255) << state;
  for (int state = 7; state <= 11; ++state) EXPECT_EQ(MainScreenAlpha(state), 128) << state;
}

class MainScreenPicture : public ScreenPicture {
 protected:
  void SetUp() override {
    ScreenPicture::SetUp();
    const auto png = app_assets::Get("skin/skin.png");
    ASSERT_TRUE(DecodePng(png.data(), png.size(), &atlas_));
    CurrentProfile = 0;
  }

  void TearDown() override {
    LabelSlideProgress = 0;
    for (WheelProfile& record : ProfileSet) record = {};
    ScreenPicture::TearDown();
  }

  // What a receiver with the factory profiles does to the screen.
  static void ShowFactoryProfiles() {
    for (int p = 0; p < 3; ++p) ProfileSet[p] = FactoryProfiles[p];
    for (int p = 0; p < 3; ++p) ProfileToControls(p);
    SetControlsEnabled(1);
  }

  std::uint32_t Texel(int region, int dx, int dy) const {
    const SkinRegion& r = kSkinRegions[region];
    return atlas_.pixels[static_cast<std::size_t>(r.y + dy) * atlas_.width + r.x + dx];
  }

  // Checks that the opaque texels of `region` drawn with their top-left at (x, y) show on the
  // screen unchanged, apart from those under `covers` (drawn later) or outside the window.
  void ExpectDrawn(const Screen& screen, int region, int x, int y,
                   const std::vector<Box>& covers = {}) {
    const SkinRegion& r = kSkinRegions[region];
    int opaque = 0;
    int shown = 0;
    for (int dy = 0; dy < r.h; ++dy) {
      for (int dx = 0; dx < r.w; ++dx) {
        const int px = x + dx;
        const int py = y + dy;
        if (px < 0 || py < 0 || px >= kWidth || py >= kHeight) continue;
        const std::uint32_t texel = Texel(region, dx, dy);
        if ((texel >> 24) != 0xFF) continue;
        bool covered = false;
        for (const Box& cover : covers) covered = covered || cover.Holds(px, py);
        if (covered) continue;
        ++opaque;
        shown += Near(screen[py * kWidth + px], texel, 1);
      }
    }
    EXPECT_GT(opaque, 0) << "region " << region << " at " << x << "," << y;
    EXPECT_EQ(shown, opaque) << "region " << region << " at " << x << "," << y;
  }

  // Checks that `region` at (x, y) was drawn at `alpha` over the picture `under` shows there,
  // apart from the texels inside `skip`.
  void ExpectBlended(const Screen& screen, const Screen& under, int region, int x, int y, int alpha,
                     const Box& skip = {0, 0, 0, 0}) {
    const SkinRegion& r = kSkinRegions[region];
    int opaque = 0;
    int blended = 0;
    for (int dy = 0; dy < r.h; ++dy) {
      for (int dx = 0; dx < r.w; ++dx) {
        const std::uint32_t texel = Texel(region, dx, dy);
        if ((texel >> 24) != 0xFF || skip.Holds(x + dx, y + dy)) continue;
        const std::size_t at = static_cast<std::size_t>(y + dy) * kWidth + x + dx;
        std::uint32_t expected = 0;
        for (int shift : {0, 8, 16}) {
          const int value =
              (Channel(texel, shift) * alpha + Channel(under[at], shift) * (255 - alpha)) / 255;
          expected |= static_cast<std::uint32_t>(value) << shift;
        }
        ++opaque;
        blended += Near(screen[at], expected, 2);
      }
    }
    EXPECT_GT(opaque, 0) << "region " << region;
    EXPECT_EQ(blended, opaque) << "region " << region << " at alpha " << alpha;
  }

  // The background alone: the 266-pixel strip repeated from x 0.
  Screen BackgroundStrips() const {
    Screen strips(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        strips[y * kWidth + x] = Texel(kRegionBackgroundStrip, x % 266, y);
      }
    }
    return strips;
  }

  // The smallest box holding every pixel where two pictures differ; w 0 when none does.
  static Box Differences(const Screen& a, const Screen& b) {
    int left = kWidth, top = kHeight, right = -1, bottom = -1;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (a[y * kWidth + x] == b[y * kWidth + x]) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    if (right < 0) return {0, 0, 0, 0};
    return {left, top, right - left + 1, bottom - top + 1};
  }

  ImageArgb atlas_;
};

TEST_F(MainScreenPicture, LabelsComeAfterTheWheelsCoverAndLightsAfterTheirChecks) {
  ShowFactoryProfiles();
  const Screen screen = Render();
  // Control 4's label lies inside the cover over the slider (322, 90, 371 by 376).
  const LabelPlace& place = kLabelPlaces[4];
  ExpectDrawn(screen, kFactoryOneTiles[4], place.labelX, place.labelY);
  ExpectDrawn(screen, kRegionLightOn, 408, 503);
  ExpectDrawn(screen, kRegionLightOn, 503, 503);
  ExpectDrawn(screen, kRegionDragAndDropWord, 986, 479);
}

TEST_F(MainScreenPicture, WithoutAReceiverTheScreenIsDimmedUnderTheNotice) {
  ASSERT_EQ(AppState, APP_NO_RECEIVER);
  const Screen screen = Render();
  // The notice and its footer at full alpha, centred: e = (600 - 211) / 2 = 194.
  ExpectDrawn(screen, kRegionNoReceiverNotice, 262, 134);
  ExpectDrawn(screen, kRegionNoReceiverFooter, 307, 343);
  // The palette at half alpha over the background strips (266 pixels wide, from x 532).
  const Screen strips = BackgroundStrips();
  ExpectBlended(screen, strips, 72, 702, 515, 128);
  ExpectBlended(screen, strips, kRegionDragAndDropWord, 986, 479, 128);
  // The window buttons are enabled and drawn at full alpha.
  ExpectDrawn(screen, kRegionCloseNormal, 990, 8);
}

TEST_F(MainScreenPicture, ARefusedReceiverAddsItsAccessLineBelowTheNotice) {
  ASSERT_EQ(AppState, APP_NO_RECEIVER);
  const Screen absent = Render();
  NoteReceiverOpenResult(HidOpenError::kPermissionDenied, "/dev/hidraw5");
  const Screen refused = Render();
  NoteReceiverOpenResult(HidOpenError::kNotPresent, "");
  // Only the band below the notice's frame (which ends at y 194 + 211 + 2) changes.
  const Box line = Differences(absent, refused);
  EXPECT_GT(line.w, 0);
  EXPECT_GE(line.y, 407);
  EXPECT_LE(line.y + line.h, 600);
  EXPECT_GE(line.x, 0);
  EXPECT_EQ(Differences(absent, Render()).w, 0) << "the line goes with the refusal";
}

TEST_F(MainScreenPicture, WithoutAReceiverNoLabelLightOrSliderIsDrawn) {
  ShowFactoryProfiles();
  SetControlsEnabled(0);
  ASSERT_EQ(AppState, APP_NO_RECEIVER);
  const Screen screen = Render();
  ControlActions[0] = -1;
  RearLightCheck->checked = false;  // the flag alone: the check's pictures stay
  AngleSlider->SetAngles(60, 70);
  EXPECT_EQ(Differences(screen, Render()).w, 0);
  // The same changes on the main screen change the picture.
  AppState = APP_MAIN_SCREEN;
  const Screen main = Render();
  ControlActions[0] = 6;
  EXPECT_NE(Differences(main, Render()).w, 0);
}

TEST_F(MainScreenPicture, UnderThePresetDialogLabelsDimButTheLightsDoNot) {
  ShowFactoryProfiles();
  AppState = APP_PRESET_DIALOG;
  const Screen screen = Render();
  ExpectDrawn(screen, kRegionLightOn, 408, 503);
  // Control 0's label over what lies under it without the label.
  ControlActions[0] = -1;
  const Screen without = Render();
  const LabelPlace& spot = kLabelPlaces[0];
  // Its pointer, under the label's right edge, went with it.
  ExpectBlended(screen, without, kFactoryOneTiles[0], spot.labelX, spot.labelY, 128,
                {spot.pointerX, spot.pointerY, 20, 26});
  // The slider is still drawn.
  ControlActions[0] = 6;
  AngleSlider->handle1.hidden = true;
  EXPECT_NE(Differences(screen, Render()).w, 0);
}

TEST_F(MainScreenPicture, UpdateStatesDrawNoLabelsLightsOrSliderAndNoOverlayYet) {
  ShowFactoryProfiles();
  AppState = APP_UPDATE_REQUESTED;
  const Screen requested = Render();
  // Their overlays are not built yet: the four states look alike, and dimmed.
  for (int state : {APP_UPDATE_RUNNING, APP_UPDATE_WAIT_RETURN, APP_UPDATE_FAILED}) {
    AppState = state;
    EXPECT_EQ(Differences(requested, Render()).w, 0) << state;
  }
  const Screen strips = BackgroundStrips();
  ExpectBlended(requested, strips, kRegionDragAndDropWord, 986, 479, 128);
  ControlActions[0] = -1;
  RearLightCheck->checked = false;
  AngleSlider->SetAngles(60, 70);
  EXPECT_EQ(Differences(requested, Render()).w, 0);
  AppState = APP_MAIN_SCREEN;
  EXPECT_NE(Differences(requested, Render()).w, 0);
}

TEST_F(MainScreenPicture, SlidingLabelsMoveSidewaysAtFullAlpha) {
  ShowFactoryProfiles();
  AppState = APP_PRESET_DIALOG;  // dimmed, yet sliding labels are drawn opaque
  LabelSlideProgress = 0.5;      // 300 pixels
  const Screen screen = Render();
  // Control 4 (a right-hand face button) slides right, control 6 (left-hand) slides left.
  ExpectDrawn(screen, kFactoryOneTiles[4], kLabelPlaces[4].labelX + 300, kLabelPlaces[4].labelY);
  ExpectDrawn(screen, kLabelPlaces[4].pointerRegion, kLabelPlaces[4].pointerX + 300,
              kLabelPlaces[4].pointerY,
              {{kLabelPlaces[4].labelX + 300, kLabelPlaces[4].labelY, 27, 30}});
  ExpectDrawn(screen, kFactoryOneTiles[6], kLabelPlaces[6].labelX - 300, kLabelPlaces[6].labelY);
  // The palette stays in place, dimmed.
  LabelSlideProgress = 0;
  AppState = APP_MAIN_SCREEN;
  const Screen main = Render();
  ExpectDrawn(main, 72, 702, 515);
  EXPECT_NE(main[520 * kWidth + 715], screen[520 * kWidth + 715]);
}

}  // namespace
