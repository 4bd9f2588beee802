// The main screen as a user sees it in the demo: a fresh receiver's factory profile 1, the
// dimmed screen under the no-receiver notice where only the window buttons react, the receiver
// pulled out and put back, and a stored record with codes the tables do not know; and gestures
// that end on something else: a drag released over a button, a drag cut short by pulling the
// receiver out, a press swept over tiles, labels and handles, edits kept over a replug.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/scenarios/demo_run.h"
#include "tests/scenarios/skin_pictures.h"
#include "tests/support/main_screen_places.h"
#include "tests/support/profile_records.h"

namespace {

constexpr std::size_t kFlashSize = 131072;

// Atlas rectangles of the region table.
AtlasRect Region(int region) {
  switch (region) {
    case 6:
      return {1017, 0, 266, 600};  // background strip
    case 24:
      return {946, 71, 21, 20};  // light on
    case 38:
      return {0, 478, 500, 211};  // no-receiver notice
    case 57:
      return {523, 667, 18, 21};  // level dot
    case 58:
      return {542, 667, 18, 21};  // level dot, checked
    case 62:
      return {501, 667, 21, 20};  // light off
    case 71:
      return {1348, 63, 53, 53};  // tyre
    case 72:
      return {462, 982, 27, 30};
    case 76:
      return {1402, 63, 27, 30};
    case 77:
      return {1284, 184, 27, 30};
    case 80:
      return {941, 539, 27, 30};
    case 81:
      return {750, 736, 27, 30};
    case 82:
      return {711, 776, 27, 30};
    case 83:
      return {821, 667, 27, 30};
    case 87:
      return {1430, 63, 27, 30};
    case 88:
      return {1376, 117, 27, 30};
    case 89:
      return {988, 507, 27, 30};
    case 90:
      return {1312, 184, 27, 30};
    case 94:
      return {518, 975, 27, 30};
    case 95:
      return {678, 827, 27, 30};
    case 96:
      return {969, 539, 27, 30};
    case 100:
      return {739, 776, 27, 30};
    case 101:
      return {849, 667, 27, 30};
    case 102:
      return {573, 944, 27, 30};
    case 108:
      return {0, 690, 409, 31};  // no-receiver footer
    default:
      ADD_FAILURE() << "no atlas rectangle for region " << region;
      return {0, 0, 0, 0};
  }
}

// The places of the pointers and labels drawn after control `control`'s label.
std::vector<ShotBox> LaterLabels(int control) {
  std::vector<ShotBox> boxes;
  for (int later = control + 1; later < 19; ++later) {
    const LabelPlace& place = kLabelPlaces[later];
    boxes.push_back({place.pointerX, place.pointerY, 27, 26});
    boxes.push_back({place.labelX, place.labelY, 27, 30});
  }
  return boxes;
}

void ExpectShown(const ImageArgb& shot, int region, int x, int y,
                 const std::vector<ShotBox>& covers = {}, int scale = 1) {
  const TexelCount count = CountShownTexelsAtScale(shot, scale, Region(region), x, y, covers);
  EXPECT_GT(count.opaque, 0) << "region " << region << " at " << x << "," << y;
  EXPECT_EQ(count.shown, count.opaque) << "region " << region << " at " << x << "," << y;
}

// The labels of profile 1 at the places of the geometry table, with `tiles` on the controls
// (0 for none).
void ExpectLabels(const ImageArgb& shot, const int (&tiles)[19], int scale = 1) {
  for (int control = 0; control < 19; ++control) {
    if (tiles[control] == 0) continue;
    SCOPED_TRACE("control " + std::to_string(control));
    const LabelPlace& place = kLabelPlaces[control];
    ExpectShown(shot, tiles[control], place.labelX, place.labelY, LaterLabels(control), scale);
  }
}

// A handle of the slider stands at the angle stored: the tyre, 39 by 39, centred there. The
// wheel's cover, drawn over the slider, hides what lies under its opaque pixels.
void ExpectHandle(const ImageArgb& shot, int stored) {
  const HandleCentre centre = HandleAt(stored);
  const ShotBox box{centre.x - 19, centre.y - 19, 39, 39};
  std::vector<ShotBox> cover;
  const AtlasRect wheelCover{569, 290, 371, 376};  // region 110, drawn at (322, 90)
  const ImageArgb& atlas = SkinAtlas();
  for (int y = box.y; y < box.y + box.h; ++y) {
    for (int x = box.x; x < box.x + box.w; ++x) {
      const int cx = x - 322;
      const int cy = y - 90;
      if (cx < 0 || cy < 0 || cx >= wheelCover.w || cy >= wheelCover.h) continue;
      const std::uint32_t texel =
          atlas.pixels[static_cast<std::size_t>(wheelCover.y + cy) * atlas.width + wheelCover.x +
                       cx];
      if ((texel >> 24) != 0) cover.push_back({x, y, 1, 1});
    }
  }
  const TexelCount count = CountShownStretched(shot, Region(71), box, 8, cover);
  EXPECT_GT(count.opaque, 400) << "handle at " << centre.x << "," << centre.y;
  EXPECT_GE(count.shown * 100, count.opaque * 97) << "handle at " << centre.x << "," << centre.y;
}

// Factory profile 1's lights, level and slider: both lights on, level Med, angles 3000 and 32767.
void ExpectFactoryProfileOne(const ImageArgb& shot) {
  ExpectLabels(shot, kFactoryOneTiles);
  ExpectShown(shot, 24, 408, 503);
  ExpectShown(shot, 24, 503, 503);
  ExpectShown(shot, 57, 568, 531);
  ExpectShown(shot, 58, 599, 531);
  ExpectShown(shot, 57, 630, 531);
  ExpectHandle(shot, 3000);
  ExpectHandle(shot, 32767);
}

bool SamePicture(const ImageArgb& a, const ImageArgb& b) {
  return a.width == b.width && a.height == b.height && !a.pixels.empty() && a.pixels == b.pixels;
}

// Factory profile 1 as 100 bytes (the hex rows of the factory records).
std::string FactoryProfileOne() {
  const unsigned char bytes[100] = {
      0x0F, 0x04, 0x05, 0x17, 0x18, 0x00, 0x00, 0x00, 0x03, 0x0D, 0x04, 0x12, 0x10, 0x11, 0x0B,
      0x0A, 0x0C, 0x06, 0x05, 0x08, 0x07, 0x0C, 0x0B, 0x0A, 0x09, 0x0F, 0x10, 0x02, 0x0E, 0x11,
      0x01, 0x12, 0x12, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00,
      0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0xFF, 0x00, 0x01,
      0x00, 0x01, 0x00, 0xFF, 0x00, 0x01, 0x00, 0x00, 0x80, 0xFF, 0x7F, 0x00, 0x00, 0xB8, 0x0B,
      0x00, 0x00, 0xFF, 0x7F, 0x00, 0x00, 0x40, 0x40, 0x00, 0x00,
  };
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

// An erased flash with the profile marker and profile 1 at 0xC010 (profiles 2 and 3 zero).
std::string FlashWithProfileOne(const std::string& record) {
  std::string flash(kFlashSize, '\xFF');
  flash.replace(0xC000, 4, "\x32\x54\x76\x98");
  flash.replace(0xC010, 100, record);
  flash.replace(0xC090, 100, std::string(100, '\0'));
  flash.replace(0xC110, 100, std::string(100, '\0'));
  return flash;
}

// Slot s of a record: the code at 8 + s, the parameter at 36 + 2s, little-endian.
void PutSlot(std::string& record, int slot, unsigned char code, int param) {
  record[8 + slot] = static_cast<char>(code);
  record[36 + 2 * slot] = static_cast<char>(param & 0xFF);
  record[37 + 2 * slot] = static_cast<char>((param >> 8) & 0xFF);
}

constexpr const char* kWrittenLine =
    "info\tCorsaro270 Customiser\tWheel profile data has been written correctly\\n\\r \\n\\rYou "
    "may now disconnect your wheel.";

// Angle `which` (0 the first, 1 the second) of record `profile` in a flash dump: the
// little-endian word at 88 or 92 of the record at 0xC010 + 0x80 * profile.
int StoredAngle(const std::vector<std::uint8_t>& flash, int profile, int which) {
  const std::size_t at = 0xC010 + 0x80 * static_cast<std::size_t>(profile) + 88 + 4 * which;
  if (flash.size() < at + 4) {
    ADD_FAILURE() << "no flash dump";
    return -1;
  }
  return static_cast<int>(static_cast<std::uint32_t>(flash[at]) |
                          static_cast<std::uint32_t>(flash[at + 1]) << 8 |
                          static_cast<std::uint32_t>(flash[at + 2]) << 16 |
                          static_cast<std::uint32_t>(flash[at + 3]) << 24);
}

std::vector<std::uint8_t> SectorOf(const std::vector<std::uint8_t>& flash) {
  if (flash.size() != kFlashSize) return {};
  return {flash.begin() + 0xC000, flash.begin() + 0xD000};
}

TEST_F(DemoRun, AFreshReceiverShowsFactoryProfileOne) {
  ASSERT_EQ(Run("wait-state 6\n"
                "screenshot main\n"),
            0)
      << Stderr();
  const ImageArgb main = Screenshot("main");
  ASSERT_EQ(main.width, 1024);
  ASSERT_FALSE(SkinAtlas().pixels.empty());
  ExpectFactoryProfileOne(main);
}

// How far a picture at twice the pixels, each 2 by 2 block averaged, lies from a picture at 1:
// the mean difference a channel, and the share of pixels with a channel more than 16 off.
struct Halved {
  double meanDifference = 0;
  double farShare = 1;
};
Halved CompareHalved(const ImageArgb& doubled, const ImageArgb& single) {
  Halved result;
  if (doubled.width != 2 * single.width || doubled.height != 2 * single.height ||
      single.pixels.empty())
    return result;
  double sum = 0;
  long far = 0;
  for (int y = 0; y < single.height; ++y) {
    for (int x = 0; x < single.width; ++x) {
      int worst = 0;
      for (int shift : {0, 8, 16}) {
        int total = 0;
        for (int j = 0; j < 2; ++j) {
          for (int i = 0; i < 2; ++i) {
            const std::uint32_t p =
                doubled.pixels[static_cast<std::size_t>(2 * y + j) * doubled.width + 2 * x + i];
            total += static_cast<int>((p >> shift) & 0xFF);
          }
        }
        const int one = static_cast<int>((single.pixels[y * single.width + x] >> shift) & 0xFF);
        const int difference = std::abs((total + 2) / 4 - one);
        sum += difference;
        worst = std::max(worst, difference);
      }
      far += worst > 16;
    }
  }
  const double pixels = static_cast<double>(single.width) * single.height;
  result.meanDifference = sum / (3 * pixels);
  result.farShare = static_cast<double>(far) / pixels;
  return result;
}

// Texels of `region` in the doubled atlas that the 1x atlas scaled up pixel for pixel does not
// give (more than 8 off a channel): what shows that a picture came from the doubled art.
int TexelsUnlikeScaledUp(AtlasRect region) {
  const ImageArgb& single = SkinAtlas();
  const ImageArgb& doubled = DoubledSkinAtlas();
  int unlike = 0;
  for (int y = 0; y < 2 * region.h; ++y) {
    for (int x = 0; x < 2 * region.w; ++x) {
      const std::uint32_t a =
          doubled.pixels[static_cast<std::size_t>(2 * region.y + y) * doubled.width + 2 * region.x +
                         x];
      const std::uint32_t b =
          single
              .pixels[static_cast<std::size_t>(region.y + y / 2) * single.width + region.x + x / 2];
      bool near = true;
      for (int shift : {0, 8, 16, 24})
        near = near && std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                static_cast<int>((b >> shift) & 0xFF)) <= 8;
      unlike += !near;
    }
  }
  return unlike;
}

// At scale 2 the window keeps its layout and draws four pixels for each: the screenshot is
// 2048 by 1200, halves back to the picture at scale 1, and shows the labels and the lights
// texel for texel from the art drawn at twice the pixels (which differs from the 1x art scaled
// up in every one of them), so edges and text step across one physical pixel.
TEST_F(DemoRun, AtScaleTwoTheMainScreenIsDrawnFromTheDoubledArt) {
  const std::string script = "wait-state 6\nscreenshot main\n";
  ASSERT_EQ(Run(script), 0) << Stderr();
  const ImageArgb single = Screenshot("main");
  ASSERT_EQ(Run(script, {"--scale", "2"}), 0) << Stderr();
  const ImageArgb doubled = Screenshot("main");
  ASSERT_EQ(doubled.width, 2048);
  ASSERT_EQ(doubled.height, 1200);
  ASSERT_FALSE(DoubledSkinAtlas().pixels.empty());

  const Halved halved = CompareHalved(doubled, single);
  EXPECT_LT(halved.meanDifference, 3.0);
  EXPECT_LT(halved.farShare, 0.03);

  ExpectLabels(doubled, kFactoryOneTiles, 2);
  ExpectShown(doubled, 24, 408, 503, {}, 2);
  ExpectShown(doubled, 58, 599, 531, {}, 2);
  for (int region : {24, 58, 72, 80}) {
    const AtlasRect rect = Region(region);
    EXPECT_GT(TexelsUnlikeScaledUp(rect), rect.w * rect.h / 4) << "region " << region;
  }
}

std::vector<int> StatesOnly(const std::vector<std::pair<int, int>>& states) {
  std::vector<int> only;
  for (const auto& [frame, state] : states) only.push_back(state);
  return only;
}

// A click lands on the same control at scale 2 as at 1: two pixels left of the Presets button
// (699, 5, 70 by 62) it opens nothing, on the button it opens the preset dialog.
TEST_F(DemoRun, AtScaleTwoClicksLandWhereTheyLandAtOne) {
  const std::string script =
      "wait-state 6\n"
      "click 697 36\n"
      "frames 3\n"
      "screenshot beside\n"
      "click 734 36\n"
      "wait-state 7 10\n"
      "screenshot dialog\n";
  ASSERT_EQ(Run(script), 0) << Stderr();
  const std::vector<int> single = StatesOnly(States());
  const ImageArgb singleBeside = Screenshot("beside");
  const ImageArgb singleDialog = Screenshot("dialog");
  ASSERT_EQ(Run(script, {"--scale", "2"}), 0) << Stderr();
  EXPECT_EQ(StatesOnly(States()), single);
  ASSERT_FALSE(single.empty());
  EXPECT_EQ(single.back(), 7);
  for (const auto& [name, picture] :
       {std::pair{"beside", &singleBeside}, std::pair{"dialog", &singleDialog}}) {
    SCOPED_TRACE(name);
    const Halved halved = CompareHalved(Screenshot(name), *picture);
    EXPECT_LT(halved.meanDifference, 3.0);
    EXPECT_LT(halved.farShare, 0.03);
  }
}

TEST_F(DemoRun, WithoutAReceiverOnlyTheWindowButtonsReactUntilItArrives) {
  ASSERT_EQ(Run("frames 2\n"
                "screenshot waiting\n"
                "# Load, Save, profile disc 2, the Med dot and a palette tile\n"
                "click 595 35\n"
                "click 663 35\n"
                "click 870 35\n"
                "click 607 540\n"
                "drag 715 530 100 256\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot after-clicks\n"
                "# the about button\n"
                "click 1002 76\n"
                "plug\n"
                "wait-state 6\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot connected\n",
                {"--no-receiver"}),
            0)
      << Stderr();
  const ImageArgb waiting = Screenshot("waiting");
  // Dimmed under the notice and its footer: e = (600 - 211) / 2 = 194.
  ExpectShown(waiting, 38, 262, 134);
  ExpectShown(waiting, 108, 307, 343);
  // The palette at half alpha over the background strip, which starts its third copy at x 532.
  const ImageArgb& atlas = SkinAtlas();
  const AtlasRect tile = Region(72);
  const AtlasRect strip = Region(6);
  int blended = 0;
  int opaque = 0;
  for (int dy = 0; dy < tile.h; ++dy) {
    for (int dx = 0; dx < tile.w; ++dx) {
      const std::uint32_t texel = atlas.pixels[(tile.y + dy) * atlas.width + tile.x + dx];
      if ((texel >> 24) != 0xFF) continue;
      const std::uint32_t under =
          atlas.pixels[(strip.y + 515 + dy) * atlas.width + strip.x + 702 + dx - 532];
      const std::uint32_t shown = waiting.pixels[(515 + dy) * 1024 + 702 + dx];
      bool near = true;
      for (int shift : {0, 8, 16}) {
        const int expected = (static_cast<int>((texel >> shift) & 0xFF) * 128 +
                              static_cast<int>((under >> shift) & 0xFF) * 127) /
                             255;
        near = near && std::abs(static_cast<int>((shown >> shift) & 0xFF) - expected) <= 2;
      }
      ++opaque;
      blended += near;
    }
  }
  EXPECT_GT(opaque, 0);
  EXPECT_EQ(blended, opaque) << "the palette is drawn at 128";

  // The clicks changed nothing: no state, no picture.
  EXPECT_TRUE(SamePicture(waiting, Screenshot("after-clicks")));
  const std::vector<std::pair<int, int>> states = States();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0], (std::pair<int, int>{0, 0}));
  EXPECT_EQ(states[1].second, 6);
  // The about box, with the wheel's firmware 0 while no receiver is there.
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            "info\tCorsaro270 Customiser\tPC Software v1.3\\n\\rInternal Firmware "
                            "v1.96\\n\\rWheel Firmware v0. 0            \\n\\rBuild Date - Jun 26 "
                            "2012\\n\\r"});
  // Plugged in: the customiser with factory profile 1.
  ExpectFactoryProfileOne(Screenshot("connected"));
}

TEST_F(DemoRun, UnpluggingAndPluggingAgainLeavesTheSameScreen) {
  std::string script = "wait-state 6\nscreenshot first\n";
  for (int round = 1; round <= 3; ++round) {
    const std::string n = std::to_string(round);
    script += "unplug\nwait-state 0\nscreenshot out" + n + "\nplug\nwait-state 6\nscreenshot in" +
              n + "\n";
  }
  ASSERT_EQ(Run(script), 0) << Stderr();
  const ImageArgb first = Screenshot("first");
  ExpectFactoryProfileOne(first);
  const ImageArgb out = Screenshot("out1");
  ExpectShown(out, 38, 262, 134);
  for (int round = 1; round <= 3; ++round) {
    const std::string n = std::to_string(round);
    EXPECT_TRUE(SamePicture(first, Screenshot("in" + n))) << "back in, round " << n;
    EXPECT_TRUE(SamePicture(out, Screenshot("out" + n))) << "pulled out, round " << n;
  }
  std::vector<int> states;
  for (const auto& [frame, state] : States()) states.push_back(state);
  EXPECT_EQ(states, (std::vector<int>{6, 0, 6, 0, 6, 0, 6}));
}

TEST_F(DemoRun, AStoredRecordWithUnknownCodesShowsThoseControlsEmpty) {
  std::string odd = FactoryProfileOne();
  PutSlot(odd, 9, 19, 1);        // control 0: a code outside the tables
  PutSlot(odd, 10, 18, -32768);  // control 1: the anticlockwise wheel
  PutSlot(odd, 11, 255, 1);      // control 2: outside the tables
  PutSlot(odd, 12, 21, 0);       // control 3: the stick up
  PutSlot(odd, 13, 3, 1);        // control 4: outside the tables
  std::string empty = odd;
  PutSlot(empty, 9, 0, 0);
  PutSlot(empty, 11, 0, 0);
  PutSlot(empty, 13, 0, 0);
  const std::string oddFlash = FlashWithProfileOne(odd);
  WriteFile(Path("odd.bin"), FlashFile(0x0196, oddFlash));
  WriteFile(Path("empty.bin"), FlashFile(0x0196, FlashWithProfileOne(empty)));

  ASSERT_EQ(Run("wait-state 6\nscreenshot odd\ndump-flash odd\n", {"--flash", Path("odd.bin")}), 0)
      << Stderr();
  const ImageArgb shown = Screenshot("odd");
  int tiles[19];
  for (int control = 0; control < 19; ++control) tiles[control] = kFactoryOneTiles[control];
  tiles[0] = tiles[2] = tiles[4] = 0;
  tiles[1] = 81;
  tiles[3] = 76;
  ExpectLabels(shown, tiles);
  // Nothing was written back: the flash is as it was stored.
  const std::vector<std::uint8_t> flash = Flash("odd");
  EXPECT_TRUE(std::string(flash.begin(), flash.end()) == oddFlash);

  // The unknown codes look exactly like no action at all.
  ASSERT_EQ(Run("wait-state 6\nscreenshot empty\n", {"--flash", Path("empty.bin")}), 0) << Stderr();
  EXPECT_TRUE(SamePicture(shown, Screenshot("empty")));
}

TEST_F(DemoRun, ASliderDragReleasedOverAButtonClicksNothingAndAssignWritesWhatItShows) {
  ASSERT_EQ(Run("wait-state 6\n"
                "# handle 2, at 135 degrees, released over Assign Setting: it stops at 0\n"
                "drag 665 431 199 523\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot over-assign\n"
                "dump-flash after-drag\n"
                "# the A tile released over Assign Setting\n"
                "drag 715 530 199 523\n"
                "# handle 2, now at 12.4 degrees, released over Reset to default\n"
                "drag 557 61 308 523\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot over-reset\n"
                "click 199 520\n"
                "frames 2\n"
                "dump-flash assigned\n"),
            0)
      << Stderr();
  // Only the click on Assign Setting wrote; Reset asked nothing.
  EXPECT_EQ(Messages(), std::vector<std::string>{kWrittenLine});
  const std::vector<std::uint8_t> afterDrag = Flash("after-drag");
  ASSERT_EQ(afterDrag.size(), kFlashSize);
  EXPECT_TRUE(afterDrag == std::vector<std::uint8_t>(kFlashSize, 0xFF))
      << "a release over Assign Setting wrote the receiver";
  // Handle 1 stayed at factory profile 1's 3000 and handle 2 went to 0: in order 0 and 3000.
  const ImageArgb overAssign = Screenshot("over-assign");
  ExpectHandle(overAssign, 0);
  ExpectHandle(overAssign, 3000);
  // Then handle 2 went to 0 too, and that is what was written and what the screen shows.
  const std::vector<std::uint8_t> assigned = Flash("assigned");
  EXPECT_EQ(StoredAngle(assigned, 0, 0), 0);
  EXPECT_EQ(StoredAngle(assigned, 0, 1), 0);
  ExpectHandle(Screenshot("over-reset"), 0);
}

TEST_F(DemoRun, PullingTheReceiverOutMidDragEndsTheDragAndAssignKeepsTheAnglesInOrder) {
  ASSERT_EQ(Run("wait-state 6\n"
                "# handle 2 picked up at 135 degrees and held at about 123 when the receiver goes\n"
                "move 665 431\n"
                "down\n"
                "frames 2\n"
                "move 700 400\n"
                "frames 2\n"
                "unplug\n"
                "wait-state 0\n"
                "up\n"
                "frames 2\n"
                "plug\n"
                "wait-state 6\n"
                "# the pointer moves on with no button down\n"
                "move 300 400\n"
                "frames 2\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot back\n"
                "click 199 520\n"
                "frames 2\n"
                "dump-flash assigned\n"),
            0)
      << Stderr();
  EXPECT_EQ(Messages(), std::vector<std::string>{kWrittenLine});
  const std::vector<std::uint8_t> assigned = Flash("assigned");
  const int first = StoredAngle(assigned, 0, 0);
  const int second = StoredAngle(assigned, 0, 1);
  EXPECT_LE(first, second) << "the first angle was written above the second";
  // The unfinished drag was dropped: factory profile 1's 3000 and 32767, where the screen
  // shows them.
  EXPECT_EQ(first, 3000);
  EXPECT_EQ(second, 32767);
  const ImageArgb back = Screenshot("back");
  ExpectHandle(back, 3000);
  ExpectHandle(back, 32767);
}

TEST_F(DemoRun, APressSweptFromEmptySpaceOverTilesLabelsAndHandlesPicksNothingUp) {
  ASSERT_EQ(Run("wait-state 6\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot before\n"
                "# pressed on empty space, over control 5's label and on to control 7\n"
                "down\n"
                "frames 2\n"
                "move 588 235\n"
                "frames 2\n"
                "move 431 272\n"
                "frames 2\n"
                "up\n"
                "frames 2\n"
                "# over the A tile of the palette and on to control 5\n"
                "move 500 590\n"
                "down\n"
                "frames 2\n"
                "move 715 530\n"
                "frames 2\n"
                "move 588 272\n"
                "frames 2\n"
                "up\n"
                "frames 2\n"
                "# over handle 2 and on to the left\n"
                "move 500 590\n"
                "down\n"
                "frames 2\n"
                "move 665 431\n"
                "frames 2\n"
                "move 300 450\n"
                "frames 2\n"
                "up\n"
                "frames 2\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot after\n"),
            0)
      << Stderr();
  const ImageArgb before = Screenshot("before");
  const ImageArgb after = Screenshot("after");
  ExpectFactoryProfileOne(after);
  EXPECT_TRUE(SamePicture(before, after)) << "a sweep changed the screen";
}

TEST_F(DemoRun, AReceiverBackWithTheRecordsItHeldKeepsTheEditsOfEveryProfile) {
  ASSERT_EQ(Run("wait-state 6\n"
                "# profile 1: the A tile onto control 5, written to the receiver\n"
                "drag 715 530 588 272\n"
                "click 199 520\n"
                "# profile 3: the Y tile onto control 4 and the Rear Light off, not written\n"
                "click 932 35\n"
                "wait-state 4\n"
                "wait-state 6\n"
                "drag 823 530 596 300\n"
                "click 419 520\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot edited\n"
                "unplug\n"
                "wait-state 0\n"
                "plug\n"
                "wait-state 6\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot back\n"
                "click 199 520\n"
                "frames 2\n"
                "dump-flash assigned\n"),
            0)
      << Stderr();
  // Profile 3 with its edits, as it was before the receiver went.
  const ImageArgb back = Screenshot("back");
  EXPECT_TRUE(SamePicture(Screenshot("edited"), back));
  ExpectShown(back, 102, kLabelPlaces[4].labelX, kLabelPlaces[4].labelY);
  ExpectShown(back, 62, 408, 503);
  EXPECT_NE(Log().find("The receiver is back with the profiles it held: the edits are kept"),
            std::string::npos)
      << Log();

  Record one = WrittenBack(FactoryRecord(0));
  ::PutSlot(one, 14, 12, 1);  // control 5: A
  Record three = WrittenBack(FactoryRecord(2));
  ::PutSlot(three, 13, 9, 1);  // control 4: Y
  three[0] = 0x0C;             // Front Light only
  EXPECT_EQ(Messages(), (std::vector<std::string>{kWrittenLine, kWrittenLine}));
  EXPECT_EQ(SectorOf(Flash("assigned")), ProfileSector(one, WrittenBack(FactoryRecord(1)), three));
}

TEST_F(DemoRun, AReceiverBackWithOtherRecordsShowsWhatItHoldsNow) {
  Record one = FactoryRecord(0);
  ::PutSlot(one, 14, 12, 1);  // control 5: A
  std::string flash(kFlashSize, '\xFF');
  flash.replace(0xC000, 4, "\x32\x54\x76\x98");
  const Record records[3] = {one, FactoryRecord(1), FactoryRecord(2)};
  for (std::size_t i = 0; i < 3; ++i) {
    flash.replace(0xC010 + 0x80 * i, 100,
                  std::string(reinterpret_cast<const char*>(records[i].data()), 100));
  }
  WriteFile(Path("stored.bin"), FlashFile(0x0196, flash));
  ASSERT_EQ(Run("wait-state 6\n"
                "# the Y tile onto control 4; Assign Setting is cut short as the receiver goes\n"
                "drag 823 530 596 300\n"
                "fault remove-after 30\n"
                "click 199 520\n"
                "wait-state 0\n"
                "fault none\n"
                "plug\n"
                "wait-state 6\n"
                "move 500 590\n"
                "frames 2\n"
                "screenshot back\n"
                "dump-flash back\n",
                {"--flash", Path("stored.bin")}),
            0)
      << Stderr();
  EXPECT_EQ(Messages(),
            std::vector<std::string>{"info\tCorsaro270 Customiser\tERROR WRITING DATA TO WHEEL"});
  // The sector was erased and its marker never came back: the receiver holds no profiles now,
  // which read as the factory ones.
  const std::vector<std::uint8_t> sector = SectorOf(Flash("back"));
  ASSERT_EQ(sector.size(), 4096u);
  EXPECT_EQ(std::vector<std::uint8_t>(sector.begin(), sector.begin() + 4),
            std::vector<std::uint8_t>(4, 0xFF));
  ExpectFactoryProfileOne(Screenshot("back"));
  EXPECT_NE(Log().find("The receiver is back with other profiles: they are read, the edits "
                       "that were not assigned are dropped"),
            std::string::npos)
      << Log();
}

}  // namespace
