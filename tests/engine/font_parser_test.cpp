// Reading font descriptions, measuring and wrapping. These need no device: glyph sprites keep
// their regions without a texture.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/bitmap_font.h"
#include "engine/sprite.h"

namespace {

// Advances: A 5+1+2 = 8, B 7-1+0 = 6, ? 4+0+1 = 5, space 3.
const std::string kGlyphLines =
    "Char=\"A\",0,0,5,10,1,2\n"
    "Char=42,6,0,7,10,-1,0\r\n"
    "Char = \"?\" , 14 , 0 , 4 , 10 , 0 , 1\n\n\n"
    "Char=20,20,0,3,10,0,0\n";

class FontFromText {
 public:
  explicit FontFromText(const std::string& description, bool decimal = false)
      : font(description.data(), static_cast<std::uint32_t>(description.size()), nullptr, 0,
             decimal) {}
  BitmapFont font;
};

TEST(FontParser, ReadsQuotedAndHexCodesWithTheirRegions) {
  FontFromText f("[BITMAPFONT]\n" + kGlyphLines);
  ASSERT_NE(f.font.Glyph('A'), nullptr);
  ASSERT_NE(f.font.Glyph('B'), nullptr);
  ASSERT_NE(f.font.Glyph(' '), nullptr);
  EXPECT_EQ(f.font.Glyph('C'), nullptr);
  EXPECT_FLOAT_EQ(f.font.Glyph('B')->left, 6);
  EXPECT_FLOAT_EQ(f.font.Glyph('B')->width, 7);
  EXPECT_FLOAT_EQ(f.font.Glyph('?')->left, 14);
  EXPECT_FLOAT_EQ(f.font.Height(), 10);
}

TEST(FontParser, FirstLineMustBeTheExactHeader) {
  for (const char* header : {"[bitmapfont]\n", "[BITMAPFONT] \n", "\n", "BITMAPFONT\n"}) {
    FontFromText f(header + kGlyphLines);
    EXPECT_EQ(f.font.Glyph('A'), nullptr) << header;
    EXPECT_FLOAT_EQ(f.font.TextWidth("AB", true), 0);
  }
}

TEST(FontParser, PlaceholderWithoutCharLinesGivesAnEmptyFont) {
  FontFromText f("[BITMAPFONT]\nBitmap=myriad_16s.png\n");
  for (int code = 0; code < 256; ++code) EXPECT_EQ(f.font.Glyph(code), nullptr);
  EXPECT_FLOAT_EQ(f.font.TextWidth("anything", false), 0);
  f.font.Render(0, 0, TEXT_CENTER, "anything");
}

TEST(FontParser, DescriptionNeedNotEndWithANul) {
  const std::string text = "[BITMAPFONT]\n" + kGlyphLines + "Char=\"C\",0,0,9,10,0,0";
  std::string cut = text + "Char=\"D\",0,0,9,10,0,0";
  FontFromText f(cut.substr(0, text.size()));
  EXPECT_NE(f.font.Glyph('C'), nullptr);
  EXPECT_EQ(f.font.Glyph('D'), nullptr);
}

TEST(FontParser, QuoteMarkIsWrittenAsThreeQuotes) {
  FontFromText f("[BITMAPFONT]\nChar=\"\"\",1,2,3,4,0,0\n");
  ASSERT_NE(f.font.Glyph('"'), nullptr);
  EXPECT_FLOAT_EQ(f.font.Glyph('"')->top, 2);
}

TEST(FontParser, DecimalCodesWhenAskedFor) {
  FontFromText hex("[BITMAPFONT]\nChar=41,0,0,5,10,0,0\n");
  FontFromText decimal("[BITMAPFONT]\nChar=65,0,0,5,10,0,0\n", true);
  EXPECT_NE(hex.font.Glyph('A'), nullptr);
  EXPECT_NE(decimal.font.Glyph('A'), nullptr);
  EXPECT_EQ(decimal.font.Glyph(0x65), nullptr);
}

TEST(FontParser, LaterLineReplacesTheGlyphAndHeightIsTheTallest) {
  FontFromText f(
      "[BITMAPFONT]\nChar=\"A\",0,0,5,10,0,0\nChar=\"A\",1,1,6,22,0,0\n"
      "Char=\"B\",0,0,5,12,0,0\n");
  EXPECT_FLOAT_EQ(f.font.Glyph('A')->width, 6);
  EXPECT_FLOAT_EQ(f.font.Height(), 22);
}

TEST(FontParser, BadCharLinesAreIgnored) {
  FontFromText f(
      "[BITMAPFONT]\n"
      "Char=1FF,0,0,5,10,0,0\n"                     // code past 255
      "Char=FFFFFFFFFFFFFFFFFFFF41,0,0,5,10,0,0\n"  // a long number is not code 0x41
      "Char=\"B\",0,0,5\n"                          // fewer than six numbers
      "Char=\"C\",0,0,5,99999999999999999999,0,0\n"
      "Char=\"D\",0,0,-5,10,0,0\n"  // negative width
      "Char\"E\",0,0,5,10,0,0\n"    // no equals sign
      "Char=,0,0,5,10,0,0\n"        // no code
      "Char=\"\n"                   // cut after the quote
      "Char=\"F\",0,0,5,10,0,0\n");
  for (int code = 0; code < 256; ++code) {
    if (code != 'F') {
      EXPECT_EQ(f.font.Glyph(code), nullptr) << code;
    }
  }
  EXPECT_NE(f.font.Glyph('F'), nullptr);
}

TEST(FontParser, LongLinesAreCutAt255Characters) {
  const std::string padding(300, ' ');
  const std::string longBitmap = "Bitmap=" + std::string(5000, 'x') + ".png\n";
  FontFromText f("[BITMAPFONT]\nChar=\"A\",0,0,5,10,0,0" + padding + "junk\n" + "Char=\"B\"," +
                 padding + "0,0,5,10,0,0\n" + longBitmap);
  EXPECT_NE(f.font.Glyph('A'), nullptr) << "the numbers lie inside the first 255";
  EXPECT_EQ(f.font.Glyph('B'), nullptr) << "the numbers were cut off";
}

TEST(FontParser, BitmapThatCannotLoadStopsReading) {
  FontFromText f(
      "[BITMAPFONT]\nChar=\"A\",0,0,5,10,0,0\nBitmap = x.png\nChar=\"B\",0,0,5,10,0,0\n");
  EXPECT_NE(f.font.Glyph('A'), nullptr) << "glyphs before the Bitmap line stay";
  EXPECT_EQ(f.font.Glyph('B'), nullptr);
  EXPECT_EQ(f.font.Texture(), nullptr);
  FontFromText noName("[BITMAPFONT]\nBitmap =  \nChar=\"B\",0,0,5,10,0,0\n");
  EXPECT_NE(noName.font.Glyph('B'), nullptr) << "a Bitmap line without a name is ignored";
}

class FontMeasure : public ::testing::Test {
 protected:
  FontFromText f{"[BITMAPFONT]\n" + kGlyphLines};
  BitmapFont& font = f.font;
};

TEST_F(FontMeasure, FirstLineOrWidestLine) {
  EXPECT_FLOAT_EQ(font.TextWidth("AB\nBBBB", false), 14);
  EXPECT_FLOAT_EQ(font.TextWidth("AB\nBBBB", true), 24);
  EXPECT_FLOAT_EQ(font.TextWidth("BBBB\n\r\nA", true), 24);
  EXPECT_FLOAT_EQ(font.TextWidth("", true), 0);
  EXPECT_FLOAT_EQ(font.TextWidth(nullptr, true), 0);
}

TEST_F(FontMeasure, BytesWithoutGlyphCountAsQuestionMark) {
  EXPECT_FLOAT_EQ(font.TextWidth("\xE9", false), 5);
  EXPECT_FLOAT_EQ(font.TextWidth("A\rB", false), 8 + 5 + 6) << "a carriage return is a byte";
  FontFromText noQuestion("[BITMAPFONT]\nChar=\"A\",0,0,5,10,1,2\n");
  EXPECT_FLOAT_EQ(noQuestion.font.TextWidth("\xE9"
                                            "A\xE9",
                                            false),
                  8)
      << "skipped";
}

TEST_F(FontMeasure, WrapPutsEachTooWideWordOnItsOwnLine) {
  char text[] = "AA BB AB";
  EXPECT_EQ(font.WrapInPlace(text, 10), 2);
  EXPECT_STREQ(text, "AA\nBB\nAB");
}

TEST_F(FontMeasure, WrapBreaksBeforeTheWordThatOverflows) {
  char text[] = "A B A BBBB";  // widths: A 8, space 3, B 6
  EXPECT_EQ(font.WrapInPlace(text, 40), 1);
  EXPECT_STREQ(text, "A B A\nBBBB");
  char lastTooWide[] = "A BBBBBBBBBB";
  EXPECT_EQ(font.WrapInPlace(lastTooWide, 20), 1);
  EXPECT_STREQ(lastTooWide, "A\nBBBBBBBBBB") << "the over-wide last word keeps its own line";
}

TEST_F(FontMeasure, WrapCountsLineFeedsAlreadyThere) {
  char text[] = "AB\nA";
  EXPECT_EQ(font.WrapInPlace(text, 100), 1);
  EXPECT_STREQ(text, "AB\nA");
  char single[] = "ABABABABAB";
  EXPECT_EQ(font.WrapInPlace(single, 5), 0) << "a lone word has nowhere to break";
}

TEST_F(FontMeasure, PrintCutsAtTheSharedBufferAndPlainTextIsNeverAFormat) {
  const std::string longText(2000, 'A');
  font.Print(0, 0, TEXT_LEFT, "%s", longText.c_str());
  EXPECT_EQ(std::strlen(BitmapFont::LastFormatted()), 1023u);
  font.PrintText(0, 0, TEXT_LEFT, "100% %s %n");
  EXPECT_STREQ(BitmapFont::LastFormatted(), "100% %s %n");
  font.PrintBoxText(0, 0, 10, 50, TEXT_LEFT, "AB %d BA");
  EXPECT_STREQ(BitmapFont::LastFormatted(), "AB\n%d\nBA");
  font.PrintBox(0, 0, 1000, 50, TEXT_LEFT, "%d %s", 42, "B");
  EXPECT_STREQ(BitmapFont::LastFormatted(), "42 B");
}

}  // namespace
