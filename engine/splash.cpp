#include "engine/splash.h"

namespace {
constexpr float kFadeInEnd = 0.25f;
constexpr float kHoldEnd = 1.0f;
constexpr float kFadeOutEnd = 1.25f;
constexpr float kFadeRate = 4.0f;  // per second: a quarter second per fade
constexpr std::uint32_t kWhiteRgb = 0x00FFFFFFu;
constexpr std::uint32_t kBlack = 0;
}  // namespace

int SplashAlpha(float elapsed) {
  if (elapsed < kFadeInEnd) return static_cast<int>(elapsed * kFadeRate * 255);
  if (elapsed < kHoldEnd) return 255;
  if (elapsed < kFadeOutEnd) return static_cast<int>((1 - (elapsed - kHoldEnd) * kFadeRate) * 255);
  return -1;
}

Quad MakeSplashQuad(int screenWidth, int screenHeight, TextureHandle logo) {
  const float cx = static_cast<float>(screenWidth / 2);
  const float cy = static_cast<float>(screenHeight / 2);
  const float half = kSplashSize / 2;
  Quad quad{};
  quad.v[0] = Vertex{cx - half, cy - half, 0.5f, 0xFFFFFFFFu, 0, 0};
  quad.v[1] = Vertex{cx + half, cy - half, 0.5f, 0xFFFFFFFFu, 1, 0};
  quad.v[2] = Vertex{cx + half, cy + half, 0.5f, 0xFFFFFFFFu, 1, 1};
  quad.v[3] = Vertex{cx - half, cy + half, 0.5f, 0xFFFFFFFFu, 0, 1};
  quad.texture = logo;
  quad.blend = BLEND_DEFAULT;
  return quad;
}

void DrawSplashFrame(Engine* engine, Quad* quad, int alpha) {
  const std::uint32_t colour = (static_cast<std::uint32_t>(alpha & 0xFF) << 24) + kWhiteRgb;
  for (Vertex& v : quad->v) v.colour = colour;
  if (!engine->Gfx_BeginScene(nullptr)) return;
  engine->Gfx_Clear(kBlack);
  engine->Gfx_DrawQuad(quad);
  engine->Gfx_EndScene();
}
