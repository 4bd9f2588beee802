#pragma once
// The whole engine with a device on the offscreen driver, for code that reaches the engine through
// Engine_Create (sprites, the skin sheet, fonts). Point sampling keeps stretched pictures exact.
// Skipped while Engine_Create has no engine to give.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/engine_impl.h"
#include "engine/png_codec.h"
#include "tests/engine/graphics_fixture.h"
#include "tests/support/offscreen_engine.h"

class EngineDrawTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 128;
  static constexpr int kHeight = 96;
  static constexpr std::uint32_t kBackground = 0xFF202020u;

  void SetUp() override {
    UseOffscreenVideo();
    engine_ = StartOffscreenEngine(kWidth, kHeight, /*textureFilter=*/false);
    ASSERT_NE(engine_, nullptr);
  }

  void TearDown() override {
    if (engine_ == nullptr) return;
    engine_->System_Shutdown();
    engine_->Release();
  }

  Graphics& gfx() { return static_cast<EngineImpl*>(engine_)->graphics; }

  void BeginCleared() {
    ASSERT_TRUE(engine_->Gfx_BeginScene());
    engine_->Gfx_Clear(kBackground);
  }

  std::uint32_t Pixel(int x, int y) {
    std::uint32_t value = 0;
    EXPECT_TRUE(gfx().ReadPixels(nullptr, x, y, 1, 1, &value));
    return value;
  }

  std::vector<std::uint32_t> Screen() {
    std::vector<std::uint32_t> pixels(kWidth * kHeight);
    EXPECT_TRUE(gfx().ReadPixels(nullptr, 0, 0, kWidth, kHeight, pixels.data()));
    return pixels;
  }

  static int Channel(std::uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

  // PNG bytes of an image filled by the function of (x, y).
  template <typename Fill>
  static std::vector<unsigned char> MakePng(int w, int h, Fill fill) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels[y * w + x] = fill(x, y);
    const std::string path = ::testing::TempDir() + "engine_draw_test.png";
    EXPECT_TRUE(WritePng(path.c_str(), w, h, pixels.data()));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::vector<unsigned char> bytes(static_cast<std::size_t>(w) * h * 5 + 1024);
    bytes.resize(file ? std::fread(bytes.data(), 1, bytes.size(), file) : 0);
    if (file) std::fclose(file);
    std::remove(path.c_str());
    return bytes;
  }

  Engine* engine_ = nullptr;
};
