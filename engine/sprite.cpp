// Placeholder bodies until this part is built.
#include "engine/sprite.h"

Sprite::Sprite(TextureHandle, float l, float t, float w, float h)
    : left(l), top(t), width(w), height(h), textureWidth(1), textureHeight(1), engine_(nullptr) {}
Sprite::~Sprite() = default;
void Sprite::Sprite_Draw(float, float) {}
void Sprite::Sprite_DrawEx(float, float, float, float, float) {}
void Sprite::Sprite_DrawStretch(float, float, float, float) {}
void Sprite::Sprite_SetColor(std::uint32_t, int) {}
