#include "engine/bitmap_font.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/engine.h"
#include "engine/sprite.h"

namespace {
constexpr const char* kHeader = "[BITMAPFONT]";
constexpr int kMaxLineLength = 255;
constexpr int kCharNumbers = 6;  // x, y, w, h, pre, post
constexpr long kMaxGlyphCoordinate = 65535;
constexpr unsigned char kFallback = '?';

// Shared by every font: the last text Print or PrintBox formatted.
char formatBuffer[kFontFormatBufferSize];

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsSpace(char c) {
  return IsBlank(c) || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool IsLineEnd(char c) {
  return c == '\n' || c == '\r';
}

const char* SkipSpace(const char* p) {
  while (IsSpace(*p)) ++p;
  return p;
}

// Copies the line at p (at most 255 bytes; the rest of a longer line is dropped) and returns
// the start of the next one.
const char* NextLine(const char* p, char (&line)[kMaxLineLength + 1]) {
  int length = 0;
  while (*p != '\0' && !IsLineEnd(*p)) {
    if (length < kMaxLineLength) line[length++] = *p;
    ++p;
  }
  line[length] = '\0';
  while (IsLineEnd(*p)) ++p;
  return p;
}

int DigitValue(char c, int base) {
  int value = 99;
  if (c >= '0' && c <= '9') value = c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

// Reads the glyph code after "Char="; -1 for a line to ignore.
int ReadCode(const char** cursor, bool decimalCodes) {
  const char* p = *cursor;
  while (IsBlank(*p)) ++p;
  if (*p == '"') {
    if (p[1] == '\0' || p[2] == '\0') return -1;
    *cursor = p + 3;
    return static_cast<unsigned char>(p[1]);
  }
  const int base = decimalCodes ? 10 : 16;
  int value = 0;
  int digits = 0;
  for (int digit; (digit = DigitValue(*p, base)) >= 0; ++p, ++digits) {
    if (value <= 255) value = value * base + digit;
  }
  *cursor = p;
  return digits > 0 && value <= 255 ? value : -1;
}

// Scans " , %d" six times; false unless all six are there and each fits its range.
bool ReadNumbers(const char* p, long (&numbers)[kCharNumbers]) {
  for (int i = 0; i < kCharNumbers; ++i) {
    p = SkipSpace(p);
    if (*p != ',') return false;
    p = SkipSpace(p + 1);
    char* end = nullptr;
    errno = 0;
    numbers[i] = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE) return false;
    const long low = i < 4 ? 0 : -kMaxGlyphCoordinate;
    if (numbers[i] < low || numbers[i] > kMaxGlyphCoordinate) return false;
    p = end;
  }
  return true;
}

int Truncate(float value) {
  return static_cast<int>(value);
}
}  // namespace

BitmapFont::BitmapFont(const char* description, std::uint32_t descriptionLength,
                       const unsigned char* pngBytes, std::uint32_t pngSize, bool decimalCodes) {
  engine_ = Engine_Create(ENGINE_VERSION);
  std::vector<char> text(static_cast<std::size_t>(descriptionLength) + 1, '\0');
  if (description != nullptr) std::memcpy(text.data(), description, descriptionLength);
  ReadDescription(text.data(), pngBytes, pngSize, decimalCodes);
}

BitmapFont::~BitmapFont() {
  for (Sprite*& glyph : glyphs_) {
    delete glyph;
    glyph = nullptr;
  }
  if (engine_ != nullptr) {
    engine_->Texture_Free(texture_);
    engine_->Release();
  }
}

void BitmapFont::ReadDescription(char* text, const unsigned char* pngBytes, std::uint32_t pngSize,
                                 bool decimalCodes) {
  char line[kMaxLineLength + 1];
  const char* p = NextLine(text, line);
  if (std::strcmp(line, kHeader) != 0) {
    if (engine_ != nullptr) engine_->System_Log("Internal Font has incorrect format.");
    return;
  }
  while (*p != '\0') {
    p = NextLine(p, line);
    if (std::strncmp(line, "Bitmap", 6) == 0) {
      if (!ReadBitmapLine(line, pngBytes, pngSize)) return;
    } else if (std::strncmp(line, "Char", 4) == 0) {
      ReadCharLine(line, decimalCodes);
    }
  }
}

bool BitmapFont::ReadBitmapLine(const char* line, const unsigned char* pngBytes,
                                std::uint32_t pngSize) {
  // "Bitmap = name": the name only has to be there; the image comes from pngBytes.
  const char* p = SkipSpace(line + 6);
  if (*p != '=') return true;
  p = SkipSpace(p + 1);
  if (*p == '\0') return true;
  // A second Bitmap line would only load the same image again over the glyphs made so far.
  if (texture_ != nullptr) return true;
  // A size of 0 would make the engine read the bytes as a file name.
  if (engine_ != nullptr && pngBytes != nullptr && pngSize > 0)
    texture_ = engine_->Texture_Load(pngBytes, pngSize, false);
  return texture_ != nullptr;
}

void BitmapFont::ReadCharLine(const char* line, bool decimalCodes) {
  const char* p = std::strchr(line, '=');
  if (p == nullptr) return;
  ++p;
  const int code = ReadCode(&p, decimalCodes);
  long n[kCharNumbers];
  if (code < 0 || !ReadNumbers(p, n)) return;
  delete glyphs_[code];
  glyphs_[code] = new Sprite(texture_, static_cast<float>(n[0]), static_cast<float>(n[1]),
                             static_cast<float>(n[2]), static_cast<float>(n[3]));
  glyphs_[code]->Sprite_SetColor(colour_, -1);
  pre_[code] = static_cast<float>(n[4]);
  post_[code] = static_cast<float>(n[5]);
  if (n[3] > height_) height_ = static_cast<float>(n[3]);
}

int BitmapFont::ChosenGlyph(unsigned char byte) const {
  if (glyphs_[byte] != nullptr) return byte;
  return glyphs_[kFallback] != nullptr ? kFallback : -1;
}

float BitmapFont::LineWidth(const char* text, const char** end) const {
  float sum = 0;
  for (; *text != '\0' && *text != '\n'; ++text) {
    const int g = ChosenGlyph(static_cast<unsigned char>(*text));
    if (g >= 0) sum += glyphs_[g]->width + pre_[g] + post_[g] + tracking_;
  }
  *end = text;
  return sum;
}

float BitmapFont::TextWidth(const char* text, bool allLines) {
  if (text == nullptr) return 0;
  const char* end = nullptr;
  float widest = LineWidth(text, &end);
  if (allLines) {
    while (*end != '\0') {
      const char* next = end;
      while (IsLineEnd(*next)) ++next;
      if (*next == '\0') break;
      const float width = LineWidth(next, &end);
      if (width > widest) widest = width;
    }
  }
  return widest * scale_ * proportion_;
}

float BitmapFont::PenStart(float x, int align, const char* line) {
  switch (align & TEXT_HORIZONTAL_MASK) {
    case TEXT_RIGHT:
      return x - TextWidth(line, false);
    case TEXT_CENTER:
      return x - Truncate(TextWidth(line, false) * 0.5f);
    default:
      return x;
  }
}

void BitmapFont::Render(float x, float y, int align, const char* text) {
  if (text == nullptr) return;
  const float advance = scale_ * proportion_;
  float pen = PenStart(x, align, text);
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '\n') {
      y += Truncate(height_ * scale_ * spacing_);
      pen = PenStart(x, align, p + 1);
      continue;
    }
    const int g = ChosenGlyph(static_cast<unsigned char>(*p));
    if (g < 0) continue;
    pen += pre_[g] * advance;
    glyphs_[g]->Sprite_DrawEx(pen, y, rotation_, advance, scale_);
    pen += (glyphs_[g]->width + post_[g] + tracking_) * advance;
  }
}

void BitmapFont::SetColor(std::uint32_t colour) {
  colour_ = colour;
  for (Sprite* glyph : glyphs_) {
    if (glyph != nullptr) glyph->Sprite_SetColor(colour, -1);
  }
}

void BitmapFont::Print(float x, float y, int align, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(formatBuffer, sizeof formatBuffer, format, args);
  va_end(args);
  Render(x, y, align, formatBuffer);
}

void BitmapFont::PrintBox(float x, float y, float w, float h, int align, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(formatBuffer, sizeof formatBuffer, format, args);
  va_end(args);
  WrapAndRender(x, y, w, h, align);
}

void BitmapFont::PrintText(float x, float y, int align, const char* text) {
  std::snprintf(formatBuffer, sizeof formatBuffer, "%s", text ? text : "");
  Render(x, y, align, formatBuffer);
}

void BitmapFont::PrintBoxText(float x, float y, float w, float h, int align, const char* text) {
  std::snprintf(formatBuffer, sizeof formatBuffer, "%s", text ? text : "");
  WrapAndRender(x, y, w, h, align);
}

const char* BitmapFont::LastFormatted() {
  return formatBuffer;
}

int BitmapFont::WrapInPlace(char* text, float w) {
  char* lineStart = text;
  char* word = text;
  int breaks = 0;
  for (;;) {
    char* separator = word;
    while (*separator != '\0' && *separator != ' ' && *separator != '\n') ++separator;
    const char kept = *separator;
    *separator = '\0';
    const float width = TextWidth(lineStart, true);
    *separator = kept;
    if (width > w) {
      if (word == lineStart) {
        // A first word that is too wide keeps its line; what follows starts a new one.
        if (kept == ' ') {
          *separator = '\n';
          ++breaks;
          lineStart = separator + 1;
        }
      } else {
        word[-1] = '\n';
        ++breaks;
        lineStart = word;
      }
    }
    if (kept == '\n') {
      ++breaks;
      lineStart = separator + 1;
    }
    if (kept == '\0') return breaks;
    word = separator + 1;
  }
}

// Wraps the shared buffer, then places the block in the box.
void BitmapFont::WrapAndRender(float x, float y, float w, float h, int align) {
  const int lines = WrapInPlace(formatBuffer, w) + 1;
  const float blockHeight = height_ * scale_ * spacing_ * static_cast<float>(lines);
  float tx = x;
  if ((align & TEXT_HORIZONTAL_MASK) == TEXT_RIGHT) tx = x + w;
  if ((align & TEXT_HORIZONTAL_MASK) == TEXT_CENTER) tx = x + Truncate(w * 0.5f);
  float ty = y;
  if (align & TEXT_BOTTOM) {
    ty = y + h - blockHeight;
  } else if (align & TEXT_MIDDLE) {
    ty = y + Truncate((h - blockHeight) * 0.5f);
  }
  Render(tx, ty, align, formatBuffer);
}
