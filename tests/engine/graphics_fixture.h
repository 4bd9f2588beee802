#pragma once
// A real GL device for graphics tests: a window of the platform on SDL's offscreen driver (EGL on
// Mesa) and an engine object whose graphics part is initiated on it directly.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/engine_impl.h"
#include "engine/platform/platform.h"

// Points SDL at the offscreen driver unless the environment names another.
inline void UseOffscreenVideo() {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
}

class GraphicsTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 128;
  static constexpr int kHeight = 96;
  static constexpr std::uint32_t kBackground = 0xFF202020u;

  void SetUp() override {
    UseOffscreenVideo();
    ASSERT_TRUE(os().StartVideo()) << os().LastError();
    videoStarted_ = true;
    platform::WindowSpec spec;
    spec.title = "graphics test";
    spec.bounds = {0, 0, kWidth, kHeight};
    spec.hidden = true;
    Graphics::PrepareWindow(&spec);
    window_ = os().OpenWindow(spec);
    ASSERT_NE(window_, nullptr) << os().LastError();
    engine_ = std::make_unique<EngineImpl>();
    engine_->window = window_;
    engine_->screenWidth = kWidth;
    engine_->screenHeight = kHeight;
    engine_->depthBuffer = WantDepthBuffer();
    ASSERT_TRUE(gfx().Initiate()) << gfx().LastError();
  }

  void TearDown() override {
    engine_.reset();
    if (window_ != nullptr) os().CloseWindow(window_);
    if (videoStarted_) os().StopVideo();
  }

  virtual bool WantDepthBuffer() const { return false; }

  Graphics& gfx() { return engine_->graphics; }
  EngineImpl& engine() { return *engine_; }

  // A quad over x, y, w, h in one colour with texture coordinates 0 to 1.
  static Quad MakeQuad(float x, float y, float w, float h, std::uint32_t colour,
                       TextureHandle texture = nullptr, int blend = BLEND_DEFAULT, float z = 0.5f) {
    Quad q{};
    q.v[0] = Vertex{x, y, z, colour, 0, 0};
    q.v[1] = Vertex{x + w, y, z, colour, 1, 0};
    q.v[2] = Vertex{x + w, y + h, z, colour, 1, 1};
    q.v[3] = Vertex{x, y + h, z, colour, 0, 1};
    q.texture = texture;
    q.blend = blend;
    return q;
  }

  // A texture filled by the function of (x, y), through Texture_Lock.
  template <typename Fill>
  TextureHandle MakeTexture(int w, int h, Fill fill) {
    TextureHandle texture = engine_->Texture_Create(w, h);
    std::uint32_t* pixels = engine_->Texture_Lock(texture, false, 0, 0, 0, 0);
    if (pixels == nullptr) return texture;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels[y * w + x] = fill(x, y);
    engine_->Texture_Unlock(texture);
    return texture;
  }

  std::uint32_t Pixel(int x, int y, TargetHandle target = nullptr) {
    std::uint32_t value = 0;
    EXPECT_TRUE(gfx().ReadPixels(target, x, y, 1, 1, &value));
    return value;
  }

  // Starts a scene cleared to the background colour.
  void BeginCleared() {
    ASSERT_TRUE(engine_->Gfx_BeginScene(nullptr));
    engine_->Gfx_Clear(kBackground);
  }

  static int Channel(std::uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

  static platform::Platform& os() { return platform::Current(); }
  platform::NativeWindow window_ = nullptr;
  bool videoStarted_ = false;
  std::unique_ptr<EngineImpl> engine_;
};
