#include "engine/sprite.h"

#include <cmath>

namespace {
constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;
constexpr float kDefaultDepth = 0.5f;
}  // namespace

Sprite::Sprite(TextureHandle texture, float l, float t, float w, float h)
    : left(l), top(t), width(w), height(h), textureWidth(1), textureHeight(1) {
  engine_ = Engine_Create(ENGINE_VERSION);
  if (texture != nullptr && engine_ != nullptr) {
    // Fractions of the real surface, which may be larger than the image.
    textureWidth = static_cast<float>(engine_->Texture_Width(texture, false));
    textureHeight = static_cast<float>(engine_->Texture_Height(texture, false));
    if (textureWidth <= 0) textureWidth = 1;
    if (textureHeight <= 0) textureHeight = 1;
  }
  quad.texture = texture;
  quad.blend = BLEND_DEFAULT;
  for (Vertex& v : quad.v) {
    v.colour = kOpaqueWhite;
    v.z = kDefaultDepth;
  }
  const float u1 = left / textureWidth, u2 = (left + width) / textureWidth;
  const float v1 = top / textureHeight, v2 = (top + height) / textureHeight;
  quad.v[0].u = u1, quad.v[0].v = v1;
  quad.v[1].u = u2, quad.v[1].v = v1;
  quad.v[2].u = u2, quad.v[2].v = v2;
  quad.v[3].u = u1, quad.v[3].v = v2;
}

Sprite::~Sprite() {
  if (engine_ != nullptr) engine_->Release();
}

void Sprite::SetCorners(float x1, float y1, float x2, float y2) {
  quad.v[0].x = x1, quad.v[0].y = y1;
  quad.v[1].x = x2, quad.v[1].y = y1;
  quad.v[2].x = x2, quad.v[2].y = y2;
  quad.v[3].x = x1, quad.v[3].y = y2;
}

void Sprite::Sprite_Draw(float x, float y) {
  const float x1 = x - hotX, y1 = y - hotY;
  SetCorners(x1, y1, x1 + width, y1 + height);
  if (engine_ != nullptr) engine_->Gfx_DrawQuad(&quad);
}

void Sprite::Sprite_DrawEx(float x, float y, float rotation, float hscale, float vscale) {
  if (vscale == 0) vscale = hscale;
  const float tx1 = -hotX * hscale, ty1 = -hotY * vscale;
  const float tx2 = (width - hotX) * hscale, ty2 = (height - hotY) * vscale;
  if (rotation == 0) {
    SetCorners(tx1 + x, ty1 + y, tx2 + x, ty2 + y);
  } else {
    const float c = std::cos(rotation), s = std::sin(rotation);
    const float corners[4][2] = {{tx1, ty1}, {tx2, ty1}, {tx2, ty2}, {tx1, ty2}};
    for (int i = 0; i < 4; ++i) {
      quad.v[i].x = corners[i][0] * c - corners[i][1] * s + x;
      quad.v[i].y = corners[i][0] * s + corners[i][1] * c + y;
    }
  }
  if (engine_ != nullptr) engine_->Gfx_DrawQuad(&quad);
}

void Sprite::Sprite_DrawStretch(float x1, float y1, float x2, float y2) {
  SetCorners(x1, y1, x2, y2);
  if (engine_ != nullptr) engine_->Gfx_DrawQuad(&quad);
}

void Sprite::Sprite_SetColor(std::uint32_t colour, int corner) {
  if (corner == -1) {
    for (Vertex& v : quad.v) v.colour = colour;
  } else if (corner >= 0 && corner < 4) {
    quad.v[corner].colour = colour;
  }
}
