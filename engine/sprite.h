#pragma once
// A textured quad over a region of a texture, drawn at a position with a hot spot. Each sprite
// holds an engine reference; without an engine (none created yet) it draws nothing.

#include "engine/engine.h"

class Sprite {
 public:
  // Takes an engine reference; texture coordinates are fractions of the texture's real surface
  // size (1 by 1 without texture).
  Sprite(TextureHandle texture, float left, float top, float width, float height);
  ~Sprite();
  Sprite(const Sprite&) = delete;
  Sprite& operator=(const Sprite&) = delete;

  // Draws the region with its hot spot at x, y, unscaled.
  void Sprite_Draw(float x, float y);
  // Draws scaled and rotated (radians) about the hot spot placed at x, y.
  // A vertical scale of 0 means the horizontal scale.
  void Sprite_DrawEx(float x, float y, float rotation, float hscale = 1.0f, float vscale = 0.0f);
  // Draws the region stretched over the rectangle x1, y1 to x2, y2.
  void Sprite_DrawStretch(float x1, float y1, float x2, float y2);
  // Corner -1 sets all four corner colours; 0 to 3 one of them.
  void Sprite_SetColor(std::uint32_t colour, int corner = -1);

  // Users may change the quad's colours, texture coordinates and blend, and the hot spot.
  Quad quad{};
  float left, top, width, height;     // region, texture pixels
  float textureWidth, textureHeight;  // the texture's surface size
  float hotX = 0, hotY = 0;

 private:
  void SetCorners(float x1, float y1, float x2, float y2);

  Engine* engine_;
};
