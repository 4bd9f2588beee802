// Every control in every look, drawn through the real skin sheet on a small synthetic atlas, off
// screen, and compared with a reference picture. Set CORSARO_UPDATE_PICTURES=1 to write the
// reference again after a deliberate change (and look at it before committing it).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/offscreen_render.h"
#include "engine/png_codec.h"
#include "engine/skin_sheet.h"
#include "ui/button.h"
#include "ui/check.h"
#include "ui/clock_slider.h"
#include "ui/panel.h"
#include "ui/radio_group.h"
#include "ui/skin_link.h"

namespace {
constexpr int kWidth = 320;
constexpr int kHeight = 160;
constexpr int kAtlasW = 128;
constexpr int kAtlasH = 64;
constexpr std::uint32_t kBackground = 0xFF202020u;
constexpr int kChannelTolerance = 2;

constexpr int kButtonNormal = 0;
constexpr int kButtonPressed = 1;
constexpr int kButtonHover = 2;
constexpr int kCheckOff = 3;
constexpr int kCheckOn = 4;
constexpr int kCheckHoverOff = 5;
constexpr int kCheckHoverOn = 6;
constexpr int kRadioOff = 7;
constexpr int kRadioOn = 8;
constexpr int kRadioHover = 9;
constexpr int kTyre = 10;
constexpr int kPictureRegionCount = 11;

struct AtlasCell {
  SkinRegion region;
  std::uint32_t colour;
};

// Solid cells with a darker rim and a white mark at the top-left, so that placement, stretching
// and alpha all show. Two pixels of clear space between cells.
const AtlasCell kCells[kPictureRegionCount] = {
    {{0, 0, 24, 16}, 0xFF6080A0u},   {{26, 0, 24, 16}, 0xFF204080u},
    {{52, 0, 24, 16}, 0x8040FF40u},  {{78, 0, 16, 16}, 0xFF808080u},
    {{96, 0, 16, 16}, 0xFFFF8000u},  {{0, 18, 16, 16}, 0xFFA0E0A0u},
    {{18, 18, 16, 16}, 0xFFFFE040u}, {{36, 18, 12, 12}, 0xFF505050u},
    {{50, 18, 12, 12}, 0xFFE02020u}, {{64, 18, 12, 12}, 0xFF50A050u},
    {{78, 18, 16, 16}, 0xFF303030u},
};

SkinRegion regionTable[kPictureRegionCount];

std::uint32_t Darker(std::uint32_t argb) {
  return (argb & 0xFF000000u) | ((argb >> 1) & 0x7F7F7Fu);
}

std::uint32_t AtlasPixel(int x, int y) {
  for (const AtlasCell& cell : kCells) {
    const SkinRegion& r = cell.region;
    const int cx = x - r.x;
    const int cy = y - r.y;
    if (cx < 0 || cy < 0 || cx >= r.w || cy >= r.h) continue;
    if (cx == 0 || cy == 0 || cx == r.w - 1 || cy == r.h - 1) return Darker(cell.colour);
    if (cx >= 2 && cx < 5 && cy >= 2 && cy < 5) return 0xFFFFFFFFu;
    return cell.colour;
  }
  return 0;
}

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::vector<unsigned char> bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  unsigned char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  std::fclose(file);
  return bytes;
}

std::vector<unsigned char> AtlasPng() {
  std::vector<std::uint32_t> pixels(kAtlasW * kAtlasH);
  for (int y = 0; y < kAtlasH; ++y)
    for (int x = 0; x < kAtlasW; ++x) pixels[y * kAtlasW + x] = AtlasPixel(x, y);
  const std::string path = ::testing::TempDir() + "widgets_atlas.png";
  EXPECT_TRUE(WritePng(path.c_str(), kAtlasW, kAtlasH, pixels.data()));
  std::vector<unsigned char> bytes = ReadFile(path);
  std::remove(path.c_str());
  return bytes;
}

UIButton* AddButton(UIPanel* panel, int x, int y) {
  auto* button = new UIButton(1, kButtonNormal, kButtonPressed, kButtonHover, x, y, false);
  panel->AddChild(button);
  return button;
}

UICheck* AddCheck(UIPanel* panel, int x, int y) {
  auto* box = new UICheck(2, kCheckOff, kCheckOn, kCheckHoverOff, kCheckHoverOn, x, y);
  panel->AddChild(box);
  return box;
}

// Row 1: buttons normal, hover, pressed, disabled, disabled while pressed, hidden.
void AddButtons(UIPanel* panel) {
  AddButton(panel, 8, 8);
  AddButton(panel, 40, 8)->HandleMouse(EVENT_HOVER, 45, 12);
  AddButton(panel, 72, 8)->HandleMouse(EVENT_HELD, 77, 12);
  AddButton(panel, 104, 8)->SetState(false, true);
  UIButton* dimPressed = AddButton(panel, 136, 8);
  dimPressed->HandleMouse(EVENT_HELD, 140, 12);
  dimPressed->SetState(false, true);
  AddButton(panel, 168, 8)->SetState(true, false);
}

// Row 2: check boxes unchecked, hover, pressed, checked, hover-checked, disabled unchecked,
// disabled checked, hidden.
void AddChecks(UIPanel* panel) {
  constexpr int kY = 40;
  AddCheck(panel, 8, kY);
  AddCheck(panel, 32, kY)->HandleMouse(EVENT_HOVER, 36, kY + 4);
  AddCheck(panel, 56, kY)->HandleMouse(EVENT_HELD, 60, kY + 4);
  AddCheck(panel, 80, kY)->SetChecked(true);
  UICheck* hoverChecked = AddCheck(panel, 104, kY);
  hoverChecked->SetChecked(true);
  hoverChecked->HandleMouse(EVENT_HOVER, 108, kY + 4);
  AddCheck(panel, 128, kY)->SetState(false, true);
  UICheck* dimChecked = AddCheck(panel, 152, kY);
  dimChecked->SetChecked(true);
  dimChecked->SetState(false, true);
  AddCheck(panel, 176, kY)->SetState(true, false);
}

// Row 3: a radio group with the middle member selected and the first one under the mouse.
void AddRadioGroup(UIPanel* panel) {
  constexpr int kY = 76;
  auto* group = new UIRadioGroup(3, 0, 0);
  for (int x : {8, 24, 40}) {
    auto* member = new UICheck(4, kRadioOff, kRadioOn, kRadioHover, -1, x, kY);
    member->radioMember = true;
    group->AddMember(member);
  }
  group->Select(1);
  group->HandleMouse(EVENT_HOVER, 44, kY + 4);
  panel->AddChild(group);
}

// A mirrored slider with its second handle under the mouse.
void AddSlider(UIPanel* panel) {
  auto* slider = new UIClockSlider(0, kTyre, kTyre, kTyre, 240, 110, panel);
  slider->mirror = true;
  slider->SetRange(0, 135);
  slider->radius = 40;
  slider->fanAlpha = 190;
  slider->SetAngles(20, 110);
  slider->HandleMouse(EVENT_HOVER, slider->hover2.anchorX, slider->hover2.anchorY);
  panel->AddChild(slider);
}

void DrawControls(Engine* engine, void*) {
  engine->System_SetState(STATE_TEXTURE_FILTER, false);
  const std::vector<unsigned char> png = AtlasPng();
  for (int i = 0; i < kPictureRegionCount; ++i) regionTable[i] = kCells[i].region;
  SkinSheet sheet;
  sheet.Create(regionTable, kPictureRegionCount, 0, png.data(),
               static_cast<std::uint32_t>(png.size()));
  UiLinkSkin(regionTable, kPictureRegionCount);
  {
    UIPanel panel(0, 0);
    AddButtons(&panel);
    AddChecks(&panel);
    AddRadioGroup(&panel);
    AddSlider(&panel);
    if (engine->Gfx_BeginScene()) {
      engine->Gfx_Clear(kBackground);
      panel.DrawAll(255);
      engine->Gfx_EndScene();
    }
  }
  UiLinkSkin(nullptr, 0);
  sheet.Release();
}

bool Decode(const std::string& path, ImageArgb* image) {
  const std::vector<unsigned char> bytes = ReadFile(path);
  return !bytes.empty() && DecodePng(bytes.data(), bytes.size(), image);
}

int Differing(const ImageArgb& a, const ImageArgb& b) {
  int count = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    for (int shift = 0; shift < 32; shift += 8) {
      const int ca = (a.pixels[i] >> shift) & 0xFF;
      const int cb = (b.pixels[i] >> shift) & 0xFF;
      if (std::abs(ca - cb) > kChannelTolerance) {
        ++count;
        break;
      }
    }
  }
  return count;
}

TEST(WidgetPicture, EveryControlInEveryLook) {
  const std::string rendered = ::testing::TempDir() + "widgets_picture.png";
  ASSERT_TRUE(RenderOffscreenPng(kWidth, kHeight, DrawControls, nullptr, rendered.c_str()));
  const std::string reference = std::string(CORSARO_TEST_DATA_DIR) + "/widgets_picture.png";
  if (std::getenv("CORSARO_UPDATE_PICTURES")) {
    const std::vector<unsigned char> bytes = ReadFile(rendered);
    std::FILE* file = std::fopen(reference.c_str(), "wb");
    ASSERT_NE(file, nullptr) << reference;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  ImageArgb actual;
  ImageArgb expected;
  ASSERT_TRUE(Decode(rendered, &actual));
  ASSERT_TRUE(Decode(reference, &expected)) << "no reference picture at " << reference;
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  EXPECT_EQ(Differing(actual, expected), 0) << "rendered picture kept at " << rendered;
}
}  // namespace
