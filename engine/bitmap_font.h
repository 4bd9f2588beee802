#pragma once
// Text drawn from a glyph image and a font description: one Sprite per described byte over the
// image's texture. The description is ASCII lines; the first is "[BITMAPFONT]", then
//   Bitmap=<image name>                     (the image itself is passed in as PNG bytes)
//   Char=<code>,x,y,w,h,pre,post            (code: one quoted byte, or a hex or decimal number)
// Bytes without a glyph are drawn and measured as "?"; without "?" they are skipped.

#include <cstdint>

class Engine;
class Sprite;
struct GfxTexture;

enum TextAlign : int {
  TEXT_LEFT = 0,
  TEXT_RIGHT = 1,
  TEXT_CENTER = 2,
  TEXT_HORIZONTAL_MASK = 3,
  TEXT_BOTTOM = 4,
  TEXT_MIDDLE = 8,
};

// Size of the formatting buffer that Print and PrintBox share (texts are cut at 1023 bytes).
constexpr int kFontFormatBufferSize = 1024;

class BitmapFont {
 public:
  // Reads the description (need not end with a NUL) and loads the glyph texture from the PNG
  // bytes, which stay the caller's. A bad first line logs "Internal Font has incorrect format."
  // and leaves a font that draws nothing and measures 0.
  BitmapFont(const char* description, std::uint32_t descriptionLength,
             const unsigned char* pngBytes, std::uint32_t pngSize, bool decimalCodes);
  ~BitmapFont();
  BitmapFont(const BitmapFont&) = delete;
  BitmapFont& operator=(const BitmapFont&) = delete;

  // Draws the text with y at the top of the first line; a line feed starts a new line, aligned
  // again. align's low two bits: TEXT_LEFT, TEXT_RIGHT (x is the right end), TEXT_CENTER.
  void Render(float x, float y, int align, const char* text);
  // printf-style Render through the shared buffer. Only for formats written in this program.
  void Print(float x, float y, int align, const char* format, ...)
      __attribute__((format(printf, 5, 6)));
  // printf-style text wrapped at spaces to the box's width and aligned in it (TEXT_BOTTOM or
  // TEXT_MIDDLE, else top). Only for formats written in this program.
  void PrintBox(float x, float y, float w, float h, int align, const char* format, ...)
      __attribute__((format(printf, 7, 8)));
  // Print and PrintBox for text from outside the program: the text is copied, never formatted.
  void PrintText(float x, float y, int align, const char* text);
  void PrintBoxText(float x, float y, float w, float h, int align, const char* text);
  // Width of the first line, or with allLines of the widest line.
  float TextWidth(const char* text, bool allLines);
  // Colour of all later drawing (ARGB).
  void SetColor(std::uint32_t colour);

  // Wraps the text in place as PrintBox does: a space (or the space before a word) becomes a
  // line feed where the line would grow wider than w. Returns the number of line breaks.
  int WrapInPlace(char* text, float w);
  // The shared buffer: the last text Print, PrintBox or their plain variants drew.
  static const char* LastFormatted();

  float Height() const { return height_; }
  const Sprite* Glyph(unsigned char code) const { return glyphs_[code]; }
  GfxTexture* Texture() const { return texture_; }

 private:
  void ReadDescription(char* text, const unsigned char* pngBytes, std::uint32_t pngSize,
                       bool decimalCodes);
  // False when reading must stop.
  bool ReadBitmapLine(const char* line, const unsigned char* pngBytes, std::uint32_t pngSize);
  void ReadCharLine(const char* line, bool decimalCodes);
  // The code drawn for a byte: itself, "?" in its place, or -1 for nothing.
  int ChosenGlyph(unsigned char byte) const;
  float LineWidth(const char* text, const char** end) const;
  float PenStart(float x, int align, const char* line);
  void WrapAndRender(float x, float y, float w, float h, int align);

  Engine* engine_ = nullptr;
  GfxTexture* texture_ = nullptr;
  Sprite* glyphs_[256] = {};
  float pre_[256] = {};
  float post_[256] = {};
  float height_ = 0;
  float scale_ = 1;
  float proportion_ = 1;
  float rotation_ = 0;
  float tracking_ = 0;
  float spacing_ = 1;
  std::uint32_t colour_ = 0xFFFFFFFFu;
  float depth_ = 0.5f;
  int blend_ = 2;
};
