// Drawing text on the whole engine with a small synthetic font: placement, alignment, the "?"
// fallback, boxes and colour.
#include <string>

#include "engine/bitmap_font.h"
#include "engine/sprite.h"
#include "tests/engine/graphics_engine_fixture.h"

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

// A red at x 0-4, B green at 6-12, ? blue at 14-17, space transparent; all 10 high.
std::uint32_t Glyphs(int x, int) {
  if (x < 5) return kRed;
  if (x >= 6 && x < 13) return kGreen;
  if (x >= 14 && x < 18) return kBlue;
  return 0;
}

// Advances: A 5+1+2 = 8, B 7-1+0 = 6, ? 4+0+1 = 5, space 3.
const std::string kGlyphLines =
    "Char=\"A\",0,0,5,10,1,2\n"
    "Char=\"B\",6,0,7,10,-1,0\n"
    "Char=\"?\",14,0,4,10,0,1\n"
    "Char=20,20,0,3,10,0,0\n";

class FontRenderTest : public EngineDrawTest {
 protected:
  void SetUp() override {
    EngineDrawTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    png_ = MakePng(32, 16, Glyphs);
    font_ = Make("[BITMAPFONT]\nBitmap=glyphs.png\n" + kGlyphLines);
    ASSERT_NE(font_->Texture(), nullptr);
  }
  void TearDown() override {
    delete font_;
    EngineDrawTest::TearDown();
  }

  BitmapFont* Make(const std::string& description) {
    return new BitmapFont(description.data(), static_cast<std::uint32_t>(description.size()),
                          png_.data(), static_cast<std::uint32_t>(png_.size()), false);
  }

  std::vector<unsigned char> png_;
  BitmapFont* font_ = nullptr;
};

TEST_F(FontRenderTest, GlyphsFollowThePenWithPreAndPost) {
  BeginCleared();
  font_->Render(10, 20, TEXT_LEFT, "AB");
  engine_->Gfx_EndScene();
  EXPECT_EQ(Pixel(10, 25), kBackground) << "A's pre of 1";
  EXPECT_EQ(Pixel(11, 20), kRed);
  EXPECT_EQ(Pixel(15, 29), kRed);
  EXPECT_EQ(Pixel(16, 25), kBackground);
  EXPECT_EQ(Pixel(17, 25), kGreen) << "B's pre of -1 after A's 8";
  EXPECT_EQ(Pixel(23, 25), kGreen);
  EXPECT_EQ(Pixel(24, 25), kBackground);
  EXPECT_EQ(Pixel(12, 30), kBackground) << "y is the top of the line";
}

TEST_F(FontRenderTest, RightAlignedLinesAllEndAtX) {
  BeginCleared();
  font_->Render(100, 20, TEXT_RIGHT, "AB\nB");
  engine_->Gfx_EndScene();
  EXPECT_EQ(Pixel(99, 25), kGreen);
  EXPECT_EQ(Pixel(100, 25), kBackground);
  EXPECT_EQ(Pixel(99, 35), kGreen) << "the second line, one glyph height down";
  EXPECT_EQ(Pixel(100, 35), kBackground);
  EXPECT_EQ(Pixel(93, 35), kGreen);
  EXPECT_EQ(Pixel(92, 35), kBackground);
}

TEST_F(FontRenderTest, CentredLineOfWidth101StartsFiftyToTheLeft) {
  const char* line = "AAAAAAAAAAAA?";
  ASSERT_FLOAT_EQ(font_->TextWidth(line, false), 101);
  BeginCleared();
  font_->Render(64, 20, TEXT_CENTER, line);
  engine_->Gfx_EndScene();
  EXPECT_EQ(Pixel(14, 25), kBackground);  // the pen starts at 14, A's pre moves it to 15
  EXPECT_EQ(Pixel(15, 25), kRed);
}

TEST_F(FontRenderTest, ByteWithoutGlyphIsDrawnAsQuestionMark) {
  BeginCleared();
  font_->Render(10, 50, TEXT_LEFT,
                "\xE9"
                "A");
  engine_->Gfx_EndScene();
  EXPECT_EQ(Pixel(10, 55), kBlue);
  EXPECT_EQ(Pixel(13, 55), kBlue);
  EXPECT_EQ(Pixel(16, 55), kRed) << "the pen moved by the ? advance of 5";
}

TEST_F(FontRenderTest, BoxPlacesTheWrappedBlockMiddleOrBottom) {
  BeginCleared();
  font_->PrintBox(10, -20, 20, 100, TEXT_LEFT | TEXT_MIDDLE, "%s", "AB AB AB");
  engine_->Gfx_EndScene();
  // Three lines of 10 in a box of 100: the block starts 35 below the box's top.
  EXPECT_EQ(Pixel(11, 14), kBackground);
  EXPECT_EQ(Pixel(11, 15), kRed);
  EXPECT_EQ(Pixel(11, 44), kRed);
  EXPECT_EQ(Pixel(11, 45), kBackground);

  BeginCleared();
  font_->PrintBoxText(60, 0, 40, 90, TEXT_RIGHT | TEXT_BOTTOM, "AB AB AB");
  engine_->Gfx_EndScene();
  // Lines "AB AB" and "AB" end at x 100; the block ends at the box's bottom, 90.
  EXPECT_EQ(Pixel(99, 89), kGreen);
  EXPECT_EQ(Pixel(99, 90), kBackground);
  EXPECT_EQ(Pixel(99, 70), kGreen);
  EXPECT_EQ(Pixel(99, 69), kBackground);
}

TEST_F(FontRenderTest, SetColorTintsEveryGlyph) {
  font_->SetColor(0x80FFFFFFu);
  BeginCleared();
  font_->Render(10, 20, TEXT_LEFT, "A");
  engine_->Gfx_EndScene();
  EXPECT_NEAR(Channel(Pixel(12, 25), 16), 0x8F, 1);
  EXPECT_EQ(font_->Glyph('B')->quad.v[3].colour, 0x80FFFFFFu);
}

TEST_F(FontRenderTest, GlyphsBeforeTheBitmapLineHaveNoTexture) {
  BitmapFont* early = Make(
      "[BITMAPFONT]\nChar=\"A\",0,0,5,10,1,2\nBitmap=g.png\n"
      "Char=\"B\",6,0,7,10,-1,0\n");
  EXPECT_EQ(early->Glyph('A')->quad.texture, nullptr);
  EXPECT_EQ(early->Glyph('B')->quad.texture, early->Texture());
  EXPECT_NE(early->Texture(), nullptr);
  delete early;
}

TEST_F(FontRenderTest, CorruptImageStopsReadingAtTheBitmapLine) {
  png_.resize(png_.size() / 2);
  BitmapFont* broken = Make("[BITMAPFONT]\nBitmap=glyphs.png\n" + kGlyphLines);
  EXPECT_EQ(broken->Texture(), nullptr);
  EXPECT_EQ(broken->Glyph('A'), nullptr);
  EXPECT_STREQ(engine_->System_LastError(), "Can't create texture");
  delete broken;
}

}  // namespace
