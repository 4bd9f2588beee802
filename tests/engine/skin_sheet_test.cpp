// The skin sheet on a small synthetic atlas: regions, nine-slice frames, the untextured shapes,
// and releasing.
#include <cmath>

#include "engine/skin_sheet.h"
#include "engine/sprite.h"
#include "tests/engine/graphics_engine_fixture.h"

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kRgb = 0x00FFFFFFu;
constexpr int kCell = 4;

// Cell i of the 3 by 3 frame source, each its own colour.
std::uint32_t CellColour(int i) {
  return 0xFF000000u | static_cast<std::uint32_t>(i * 25 + 20) << 16 |
         static_cast<std::uint32_t>(200 - i * 20) << 8 | static_cast<std::uint32_t>(i * 10);
}

// Region 0: 8 by 8 red at (0, 0). Region 1: the frame source at (16, 0), 12 by 12.
std::uint32_t Atlas(int x, int y) {
  if (x < 8 && y < 8) return kRed;
  if (x >= 16 && x < 28 && y < 12) return CellColour((y / kCell) * 3 + (x - 16) / kCell);
  return 0;
}

const SkinRegion kRegions[] = {{0, 0, 8, 8}, {16, 0, 12, 12}, {40, 40, 4, 4}};

class SkinSheetTest : public EngineDrawTest {
 protected:
  void SetUp() override {
    EngineDrawTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    png_ = MakePng(64, 64, Atlas);
    sheet_.Create(kRegions, 3, 2, png_.data(), static_cast<std::uint32_t>(png_.size()));
    sheet_.DefineFrame(0, 1, kCell);
  }
  void TearDown() override {
    sheet_.Release();
    EngineDrawTest::TearDown();
  }

  std::vector<unsigned char> png_;
  SkinSheet sheet_;
};

TEST_F(SkinSheetTest, CreateCutsOneSpritePerRegionAndBinds) {
  ASSERT_NE(sheet_.texture, nullptr);
  EXPECT_EQ(sheet_.regionCount, 3);
  EXPECT_EQ(sheet_.frameCount, 2);
  EXPECT_FLOAT_EQ(sheet_.sprites[1]->left, 16);
  EXPECT_FLOAT_EQ(sheet_.sprites[1]->width, 12);
  EXPECT_EQ(sheet_.cellSizes[0], kCell);
  EXPECT_EQ(sheet_.cellSizes[1], 0);
  EXPECT_EQ(sheet_.frames[9], nullptr) << "frame 1 is not defined";
  // Piece 5 is the middle of the right column.
  EXPECT_FLOAT_EQ(sheet_.frames[5]->left, 16 + 2 * kCell);
  EXPECT_FLOAT_EQ(sheet_.frames[5]->top, kCell);
}

TEST_F(SkinSheetTest, RegionsDrawUnscaledOrStretchedWithTheirAlpha) {
  BeginCleared();
  DrawRegion(0, 5, 7, 255);
  DrawRegionStretched(0, 30, 40, 16, 4, 255);
  DrawRegion(0, 60, 60, 256);  // only the low 8 bits count: transparent
  DrawRegion(0, 80, 60, 128);
  engine_->Gfx_EndScene();
  EXPECT_EQ(Pixel(5, 7), kRed);
  EXPECT_EQ(Pixel(12, 14), kRed);
  EXPECT_EQ(Pixel(13, 14), kBackground);
  EXPECT_EQ(Pixel(12, 15), kBackground);
  EXPECT_EQ(Pixel(45, 43), kRed);
  EXPECT_EQ(Pixel(46, 43), kBackground);
  EXPECT_EQ(Pixel(45, 44), kBackground);
  EXPECT_EQ(Pixel(63, 63), kBackground);
  EXPECT_NEAR(Channel(Pixel(83, 63), 16), 0x8F, 1);
}

TEST_F(SkinSheetTest, FrameIsNineSlicedAroundAStretchedMiddle) {
  BeginCleared();
  DrawFrame(0, 10, 30, 30, 20, 255);
  engine_->Gfx_EndScene();
  // Column edges 10 | 14 | 36 | 40, row edges 30 | 34 | 46 | 50.
  const int xs[3][2] = {{10, 13}, {14, 35}, {36, 39}};
  const int ys[3][2] = {{30, 33}, {34, 45}, {46, 49}};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      for (int x : xs[column]) {
        for (int y : ys[row]) {
          EXPECT_EQ(Pixel(x, y), CellColour(row * 3 + column)) << x << "," << y;
        }
      }
    }
  }
  EXPECT_EQ(Pixel(40, 40), kBackground);
  EXPECT_EQ(Pixel(20, 50), kBackground);
}

TEST_F(SkinSheetTest, FrameSmallerThanItsCornersKeepsAOnePixelMiddle) {
  BeginCleared();
  DrawFrame(0, 50, 30, 5, 5, 255);  // inner sizes -3 become 1
  DrawFrame(0, 80, 30, 8, 8, 255);  // inner sizes exactly 0
  engine_->Gfx_EndScene();
  EXPECT_EQ(Pixel(54, 34), CellColour(4));
  EXPECT_EQ(Pixel(55, 30), CellColour(2));
  EXPECT_EQ(Pixel(58, 38), CellColour(8));
  EXPECT_EQ(Pixel(59, 38), kBackground);
  EXPECT_EQ(Pixel(84, 30), CellColour(2)) << "no middle column at all";
  EXPECT_EQ(Pixel(84, 34), CellColour(8));
}

TEST_F(SkinSheetTest, NegativeFillRectExtendsLeftAndUp) {
  BeginCleared();
  FillRect(60, 60, -20, -10, 0xFF00FF00);
  engine_->Gfx_EndScene();
  EXPECT_EQ(Pixel(40, 50), 0xFF00FF00u);
  EXPECT_EQ(Pixel(59, 59), 0xFF00FF00u);
  EXPECT_EQ(Pixel(60, 59), kBackground);
  EXPECT_EQ(Pixel(59, 60), kBackground);
  EXPECT_EQ(Pixel(39, 55), kBackground);
  EXPECT_EQ(Pixel(45, 49), kBackground);
}

TEST_F(SkinSheetTest, ThickLineIsTwiceTheHalfWidthAcross) {
  BeginCleared();
  DrawThickLine(10, 80, 70, 80, 3, 0xFFFFFFFF);
  DrawThickLine(100, 10, 100, 50, 2, 0xFFFFFFFF);
  engine_->Gfx_EndScene();
  int rows = 0;
  for (int y = 70; y < 90; ++y) rows += Pixel(40, y) == 0xFFFFFFFFu;
  EXPECT_EQ(rows, 6);
  EXPECT_EQ(Pixel(40, 77), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(40, 82), 0xFFFFFFFFu);
  int columns = 0;
  for (int x = 90; x < 110; ++x) columns += Pixel(x, 30) == 0xFFFFFFFFu;
  EXPECT_EQ(columns, 4);
}

TEST_F(SkinSheetTest, ArcFanRunsRedToYellowAndIsSymmetric) {
  BeginCleared();
  DrawArcFan(64, 60, 50, -45, 45, 255, 0);
  engine_->Gfx_EndScene();
  const std::vector<std::uint32_t> fan = Screen();
  for (int d = 5; d <= 25; d += 5) {  // inside the 45-degree edges at y = 30
    const std::uint32_t left = fan[30 * kWidth + 64 - d];
    const std::uint32_t right = fan[30 * kWidth + 64 + d];
    ASSERT_EQ(Channel(left, 16), 255) << d;
    ASSERT_EQ(Channel(right, 16), 255) << d;
    EXPECT_EQ(Channel(left, 0), 0);
    // Green runs 0 at -45 degrees to 255 at +45: mirrored points add up to about 255.
    EXPECT_NEAR(Channel(left, 8) + Channel(right, 8), 255, 12) << d;
    EXPECT_LT(Channel(left, 8), Channel(right, 8));
  }
  EXPECT_EQ(fan[55 * kWidth + 20], kBackground) << "outside the fan";

  BeginCleared();
  DrawArcFan(64, 60, 50, 45, -45, 255, 0);
  engine_->Gfx_EndScene();
  EXPECT_EQ(Screen(), fan) << "swapped angles draw the same fan";

  BeginCleared();
  DrawArcFan(64, 60, 50, -45, 45, 255, 1);
  engine_->Gfx_EndScene();
  EXPECT_GT(Channel(Pixel(64 - 20, 30), 8), Channel(Pixel(64 + 20, 30), 8)) << "reversed";
}

TEST_F(SkinSheetTest, ArcFanWithEqualAnglesDrawsNothing) {
  BeginCleared();
  const auto before = gfx().DrawCalls();
  DrawArcFan(64, 60, 50, 30, 30, 255, 0);
  engine_->Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls(), before);
  EXPECT_EQ(Pixel(64, 40), kBackground);
}

TEST_F(SkinSheetTest, OutlineIsOneBatchOfFourLines) {
  BeginCleared();
  const auto before = gfx().DrawCalls();
  DrawRectOutline(20, 20, 30, 10, 0xFFFFFFFF);
  engine_->Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls() - before, 1u);
  EXPECT_EQ(Pixel(35, 25), kBackground) << "the inside stays empty";
  int lit = 0;
  for (int y = 18; y < 33; ++y) lit += (Pixel(35, y) & kRgb) == kRgb;
  EXPECT_EQ(lit, 2) << "one row for the top edge, one for the bottom";
}

TEST_F(SkinSheetTest, ReleaseTwiceIsSafeAndUnbinds) {
  sheet_.Release();
  EXPECT_EQ(sheet_.texture, nullptr);
  EXPECT_EQ(sheet_.sprites, nullptr);
  EXPECT_EQ(sheet_.regionCount, 0);
  sheet_.Release();
  BeginCleared();
  const auto before = gfx().DrawCalls();
  DrawRegion(0, 5, 5, 255);
  DrawFrame(0, 5, 5, 20, 20, 255);
  FillRect(0, 0, 10, 10, kRed);
  engine_->Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls(), before) << "nothing draws through a released sheet";
}

TEST_F(SkinSheetTest, OutOfRangeNumbersDrawNothing) {
  BeginCleared();
  const auto before = gfx().DrawCalls();
  DrawRegion(3, 5, 5, 255);
  DrawRegion(-1, 5, 5, 255);
  DrawFrame(1, 5, 5, 20, 20, 255);  // slot exists but was never defined
  DrawFrame(2, 5, 5, 20, 20, 255);
  sheet_.DefineFrame(5, 0, 4);
  engine_->Gfx_EndScene();
  EXPECT_EQ(gfx().DrawCalls(), before);
}

}  // namespace
