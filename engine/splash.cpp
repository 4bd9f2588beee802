#include "engine/splash.h"

#include <span>

#include "engine/engine_impl.h"
#include "engine_assets.h"

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

// --- The splash as System_Initiate runs it ---

namespace {
constexpr std::uint32_t kSplashDelayMs = 200;

// The splash frame function takes no context; it finds its state here.
struct RunningSplash {
  EngineImpl* engine = nullptr;
  Quad quad{};
  float elapsed = 0;
};
RunningSplash running;

bool SplashFrame() {
  running.elapsed += running.engine->Timer_Delta();
  const int alpha = SplashAlpha(running.elapsed);
  if (alpha < 0) return true;
  DrawSplashFrame(running.engine, &running.quad, alpha);
  return false;
}
}  // namespace

void EngineImpl::RunSplash() {
  clock->Sleep(kSplashDelayMs);
  const std::span<const unsigned char> png = engine_assets::Get("engine/splash.png");
  TextureHandle logo =
      png.empty() ? nullptr
                  : Texture_Load(png.data(), static_cast<std::uint32_t>(png.size()), false);
  // Without its logo the splash would be a white square; leave it out.
  if (logo == nullptr) return;

  const EngineCallback savedFrame = frameFunc;
  const EngineCallback savedRender = renderFunc;
  const WindowHandle savedParent = parentWindow;
  parentWindow = nullptr;
  frameFunc = SplashFrame;
  renderFunc = nullptr;
  running = RunningSplash{this, MakeSplashQuad(screenWidth, screenHeight, logo), 0};
  System_Start();
  running = RunningSplash{};
  Texture_Free(logo);
  parentWindow = savedParent;
  frameFunc = savedFrame;
  renderFunc = savedRender;
}
