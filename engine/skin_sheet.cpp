#include "engine/skin_sheet.h"

#include <cmath>

#include "engine/engine.h"
#include "engine/sprite.h"

namespace {
constexpr int kFramePieces = 9;
constexpr int kArcTriangles = 32;
constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kQuarterTurn = 1.5707964f;
constexpr float kGreenStep = 255.0f / kArcTriangles;
constexpr float kLineDepth = 0.5f;
constexpr std::uint32_t kWhiteRgb = 0x00FFFFFFu;

// The sheet the drawing functions use, and the engine they draw through.
struct Binding {
  const SkinSheet* sheet = nullptr;
  Engine* engine = nullptr;
  const SkinRegion* regions = nullptr;
  GfxTexture* texture = nullptr;
  Sprite** sprites = nullptr;
  Sprite** frames = nullptr;
  std::int32_t* cellSizes = nullptr;
  int regionCount = 0;
  int frameCount = 0;
};
Binding bound;

std::uint32_t AlphaColour(int alpha) {
  return kWhiteRgb + (static_cast<std::uint32_t>(alpha & 0xFF) << 24);
}

Sprite* RegionSprite(int region) {
  if (region < 0 || region >= bound.regionCount || bound.sprites == nullptr) return nullptr;
  return bound.sprites[region];
}

Vertex Plain(float x, float y, std::uint32_t colour) {
  return Vertex{x, y, 0.5f, colour, 0, 0};
}
}  // namespace

SkinSheet::~SkinSheet() {
  Release();
}

void SkinSheet::Create(const SkinRegion* regionTable, int count, int frameSlots,
                       const unsigned char* pngBytes, std::uint32_t pngSize) {
  Release();
  engine_ = Engine_Create(ENGINE_VERSION);
  regions = regionTable;
  regionCount = regionTable != nullptr && count > 0 ? count : 0;
  // A size of 0 would make the engine read the bytes as a file name.
  if (engine_ != nullptr && pngBytes != nullptr && pngSize > 0)
    texture = engine_->Texture_Load(pngBytes, pngSize, false);
  sprites = new Sprite*[regionCount > 0 ? regionCount : 1]();
  for (int i = 0; i < regionCount; ++i) {
    const SkinRegion& r = regions[i];
    sprites[i] = new Sprite(texture, static_cast<float>(r.x), static_cast<float>(r.y),
                            static_cast<float>(r.w), static_cast<float>(r.h));
  }
  frameCount = frameSlots > 0 ? frameSlots : 0;
  if (frameCount > 0) {
    frames = new Sprite*[frameCount * kFramePieces]();
    cellSizes = new std::int32_t[frameCount]();
  }
  Bind();
}

void SkinSheet::DefineFrame(int frame, int region, int cellSize) {
  if (frame < 0 || frame >= frameCount || region < 0 || region >= regionCount || cellSize <= 0)
    return;
  cellSizes[frame] = cellSize;
  const float cell = static_cast<float>(cellSize);
  const float x = static_cast<float>(regions[region].x);
  const float y = static_cast<float>(regions[region].y);
  Sprite** pieces = frames + frame * kFramePieces;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      Sprite*& piece = pieces[row * 3 + column];
      delete piece;
      piece = new Sprite(texture, x + column * cell, y + row * cell, cell, cell);
    }
  }
}

void SkinSheet::Bind() {
  bound =
      Binding{this, engine_, regions, texture, sprites, frames, cellSizes, regionCount, frameCount};
}

void SkinSheet::Release() {
  if (frames != nullptr) {
    for (int i = 0; i < frameCount * kFramePieces; ++i) delete frames[i];
    delete[] frames;
    delete[] cellSizes;
  }
  if (sprites != nullptr) {
    for (int i = 0; i < regionCount; ++i) delete sprites[i];
    delete[] sprites;
  }
  if (engine_ != nullptr) {
    engine_->Texture_Free(texture);
    engine_->Release();
  }
  // Nothing may draw through a binding whose sprites are gone.
  if (bound.sheet == this) bound = Binding{};
  engine_ = nullptr;
  texture = nullptr;
  frames = nullptr;
  sprites = nullptr;
  cellSizes = nullptr;
  frameCount = 0;
  regionCount = 0;
}

void DrawRegion(int region, int x, int y, int alpha) {
  Sprite* sprite = RegionSprite(region);
  if (sprite == nullptr) return;
  sprite->Sprite_SetColor(AlphaColour(alpha), -1);
  sprite->Sprite_Draw(static_cast<float>(x), static_cast<float>(y));
}

void DrawRegionStretched(int region, int x, int y, int w, int h, int alpha) {
  Sprite* sprite = RegionSprite(region);
  if (sprite == nullptr) return;
  sprite->Sprite_SetColor(AlphaColour(alpha), -1);
  sprite->Sprite_DrawStretch(static_cast<float>(x), static_cast<float>(y),
                             static_cast<float>(x + w), static_cast<float>(y + h));
}

void DrawFrame(int frame, int x, int y, int w, int h, int alpha) {
  if (frame < 0 || frame >= bound.frameCount || bound.frames == nullptr) return;
  Sprite** piece = bound.frames + frame * kFramePieces;
  for (int i = 0; i < kFramePieces; ++i) {
    if (piece[i] == nullptr) return;  // the frame was never defined
  }
  const float cell = static_cast<float>(bound.cellSizes[frame]);
  // A box smaller than its corners keeps a one-pixel middle rather than a negative one.
  float innerWidth = static_cast<float>(w) - 2 * cell;
  float innerHeight = static_cast<float>(h) - 2 * cell;
  if (innerWidth < 0) innerWidth = 1;
  if (innerHeight < 0) innerHeight = 1;
  const std::uint32_t colour = AlphaColour(alpha);
  for (int i = 0; i < kFramePieces; ++i) piece[i]->Sprite_SetColor(colour, -1);

  const float left = static_cast<float>(x), top = static_cast<float>(y);
  const float x1 = left + cell, x2 = x1 + innerWidth;
  const float y1 = top + cell, y2 = y1 + innerHeight;
  piece[0]->Sprite_Draw(left, top);
  piece[1]->Sprite_DrawStretch(x1, top, x2, y1);
  piece[2]->Sprite_Draw(x2, top);
  piece[3]->Sprite_DrawStretch(left, y1, x1, y2);
  piece[4]->Sprite_DrawStretch(x1, y1, x2, y2);
  piece[5]->Sprite_DrawStretch(x2, y1, x2 + cell, y2);
  piece[6]->Sprite_Draw(left, y2);
  piece[7]->Sprite_DrawStretch(x1, y2, x2, y2 + cell);
  piece[8]->Sprite_Draw(x2, y2);
}

void FillRect(int x, int y, int w, int h, std::uint32_t colour) {
  if (bound.engine == nullptr) return;
  if (w < 0) {
    x += w;
    w = -w;
  }
  if (h < 0) {
    y += h;
    h = -h;
  }
  const float x1 = static_cast<float>(x), y1 = static_cast<float>(y);
  const float x2 = static_cast<float>(x + w), y2 = static_cast<float>(y + h);
  Quad quad{
      {Plain(x1, y1, colour), Plain(x2, y1, colour), Plain(x2, y2, colour), Plain(x1, y2, colour)},
      nullptr,
      BLEND_DEFAULT};
  bound.engine->Gfx_DrawQuad(&quad);
}

void DrawRectOutline(int x, int y, int w, int h, std::uint32_t colour) {
  DrawLine(x, y, x + w, y, colour);
  DrawLine(x + w, y, x + w, y + h, colour);
  DrawLine(x + w, y + h, x, y + h, colour);
  // Ends one pixel above the top edge so that the top-left corner pixel is covered.
  DrawLine(x, y + h, x, y - 1, colour);
}

void DrawLine(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  if (bound.engine == nullptr) return;
  bound.engine->Gfx_DrawLine(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                             static_cast<float>(y2), colour, kLineDepth);
}

void DrawThickLine(int x1, int y1, int x2, int y2, int halfWidth, std::uint32_t colour) {
  if (bound.engine == nullptr) return;
  // The normal (dy, -dx) / length, scaled by the half width.
  const float angle =
      std::atan2(static_cast<float>(x2 - x1), static_cast<float>(y2 - y1)) + kQuarterTurn;
  const float ox = std::sin(angle) * static_cast<float>(halfWidth);
  const float oy = std::cos(angle) * static_cast<float>(halfWidth);
  const float ax = static_cast<float>(x1), ay = static_cast<float>(y1);
  const float bx = static_cast<float>(x2), by = static_cast<float>(y2);
  Quad quad{{Plain(ax + ox, ay + oy, colour), Plain(bx + ox, by + oy, colour),
             Plain(bx - ox, by - oy, colour), Plain(ax - ox, ay - oy, colour)},
            nullptr,
            BLEND_DEFAULT};
  bound.engine->Gfx_DrawQuad(&quad);
}

void DrawArcFan(int cx, int cy, int radius, float angleA, float angleB, int alpha, int reverse) {
  if (bound.engine == nullptr || angleA == angleB) return;
  const float lo = angleA < angleB ? angleA : angleB;
  const float hi = angleA < angleB ? angleB : angleA;
  const float step = (hi - lo) / kArcTriangles;
  const float centreX = static_cast<float>(cx), centreY = static_cast<float>(cy);
  const float r = static_cast<float>(radius);
  const std::uint32_t top = static_cast<std::uint32_t>(alpha & 0xFF) << 24 | 0x00FF0000u;

  float green = reverse ? 255.0f : 0.0f;
  const float greenStep = reverse ? -kGreenStep : kGreenStep;
  auto rim = [&](int k, std::uint32_t colour) {
    const float a = (lo + k * step) * kDegreesToRadians;
    return Vertex{centreX + r * std::sin(a), centreY - r * std::cos(a), 0.5f, colour, 0, 0};
  };
  for (int k = 0; k < kArcTriangles; ++k) {
    const std::uint32_t colour = top | static_cast<std::uint32_t>(static_cast<int>(green)) << 8;
    const float nextGreen = green + greenStep;
    const std::uint32_t next = top | static_cast<std::uint32_t>(static_cast<int>(nextGreen)) << 8;
    Triangle t{{Plain(centreX, centreY, colour), rim(k, colour), rim(k + 1, next)},
               nullptr,
               BLEND_DEFAULT};
    bound.engine->Gfx_DrawTriangle(&t);
    green = nextGreen;
  }
}
