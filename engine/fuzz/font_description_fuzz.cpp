// Feeds arbitrary bytes to the bitmap font as its description, with hexadecimal and decimal
// glyph codes, then measures and wraps text with the glyphs it read. No image is given, so a
// "Bitmap=" line ends the reading as a failed image load does; glyphs before it count.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/bitmap_font.h"
#include "engine/engine.h"

namespace {

void CheckWidth(float width) {
  if (!std::isfinite(width) || width < -2 * 65535.0f * 1024) std::abort();
}

void Exercise(const std::uint8_t* data, std::size_t size, bool decimalCodes) {
  BitmapFont font(reinterpret_cast<const char*>(data), static_cast<std::uint32_t>(size), nullptr, 0,
                  decimalCodes);
  if (!(font.Height() >= 0 && font.Height() <= 65535)) std::abort();
  // The description's own bytes are the text, cut where the format buffer cuts.
  std::string text(reinterpret_cast<const char*>(data), size < 1023 ? size : 1023);
  text = text.c_str();
  CheckWidth(font.TextWidth(text.c_str(), false));
  CheckWidth(font.TextWidth(text.c_str(), true));
  std::string wrapped = text;
  const int breaks = font.WrapInPlace(wrapped.data(), 200.0f);
  if (breaks < 0 || wrapped.size() != text.size()) std::abort();
  // Wrapping only turns spaces into line feeds.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (wrapped[i] != text[i] && !(text[i] == ' ' && wrapped[i] == '\n')) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One engine for the whole run, as the program has one; each font takes its own reference.
  static Engine* engine = Engine_Create(ENGINE_VERSION);
  if (engine == nullptr) std::abort();
  Exercise(data, size, false);
  Exercise(data, size, true);
  return 0;
}
