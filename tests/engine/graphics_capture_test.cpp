// The next frame presented on the screen saved as a PNG, with the pixels about to be shown.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/frame_capture.h"
#include "engine/png_codec.h"
#include "tests/engine/graphics_fixture.h"

namespace {

class FrameCaptureTest : public GraphicsTest {
 protected:
  void SetUp() override {
    // Tests run side by side; each writes a file of its own.
    path_ = ::testing::TempDir() + "frame_capture_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png";
    GraphicsTest::SetUp();
  }
  void TearDown() override {
    std::remove(path_.c_str());
    GraphicsTest::TearDown();
  }

  // A screen scene: the background, with a red 4 by 3 block at (10, 20).
  void PresentScene() {
    BeginCleared();
    Quad block = MakeQuad(10, 20, 4, 3, 0xFFFF0000u);
    engine_->Gfx_DrawQuad(&block);
    engine_->Gfx_EndScene();
  }

  ImageArgb Saved() {
    std::ifstream in(path_, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ImageArgb image;
    EXPECT_TRUE(DecodePng(bytes.data(), bytes.size(), &image)) << path_;
    return image;
  }

  std::string path_;
};

TEST_F(FrameCaptureTest, TheNextPresentedFrameIsSavedWithItsPixels) {
  EXPECT_EQ(CaptureStatus(engine_.get()), FrameCaptureStatus::kNone);
  ASSERT_TRUE(CaptureNextFrame(engine_.get(), path_.c_str()));
  EXPECT_EQ(CaptureStatus(engine_.get()), FrameCaptureStatus::kPending);

  PresentScene();
  EXPECT_EQ(CaptureStatus(engine_.get()), FrameCaptureStatus::kSaved);
  ImageArgb image = Saved();
  ASSERT_EQ(image.width, 128);
  ASSERT_EQ(image.height, 96);
  EXPECT_EQ(image.pixels[20 * 128 + 10], 0xFFFF0000u);
  EXPECT_EQ(image.pixels[22 * 128 + 13], 0xFFFF0000u);
  EXPECT_EQ(image.pixels[23 * 128 + 13], 0xFF202020u) << "below the block";
  EXPECT_EQ(image.pixels[0], 0xFF202020u);
}

TEST_F(FrameCaptureTest, OneRequestTakesOneFrame) {
  ASSERT_TRUE(CaptureNextFrame(engine_.get(), path_.c_str()));
  PresentScene();
  std::remove(path_.c_str());
  PresentScene();
  std::ifstream again(path_);
  EXPECT_FALSE(again.good()) << "a second frame was saved too";
}

TEST_F(FrameCaptureTest, ScenesOnRenderTargetsAreNotPresentedAndWait) {
  TargetHandle target = engine_->Target_Create(16, 16, false);
  ASSERT_NE(target, nullptr);
  ASSERT_TRUE(CaptureNextFrame(engine_.get(), path_.c_str()));
  ASSERT_TRUE(engine_->Gfx_BeginScene(target));
  engine_->Gfx_Clear(0xFF00FF00u);
  engine_->Gfx_EndScene();
  EXPECT_EQ(CaptureStatus(engine_.get()), FrameCaptureStatus::kPending);

  PresentScene();
  EXPECT_EQ(CaptureStatus(engine_.get()), FrameCaptureStatus::kSaved);
  EXPECT_EQ(Saved().width, 128);
  engine_->Target_Free(target);
}

TEST_F(FrameCaptureTest, AnUnwritablePathFailsAndBadRequestsAreRefused) {
  const std::string missing = ::testing::TempDir() + "no-such-folder/frame.png";
  ASSERT_TRUE(CaptureNextFrame(engine_.get(), missing.c_str()));
  PresentScene();
  EXPECT_EQ(CaptureStatus(engine_.get()), FrameCaptureStatus::kFailed);

  EXPECT_FALSE(CaptureNextFrame(nullptr, path_.c_str()));
  EXPECT_FALSE(CaptureNextFrame(engine_.get(), nullptr));
  EXPECT_FALSE(CaptureNextFrame(engine_.get(), ""));
  EXPECT_EQ(CaptureStatus(nullptr), FrameCaptureStatus::kNone);
}

}  // namespace
