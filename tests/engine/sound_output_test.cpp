// What sound plays, read from the mixed output: lengths, volumes, pan, stopping and slides.
#include "tests/engine/sound_fixture.h"

namespace {

using SoundOutput = SoundTest;

// A fifth of a second at 22050 Hz.
constexpr int kShortFrames = 4410;

TEST_F(SoundOutput, ASampleAtFullVolumeSoundsForExactlyItsLength) {
  ASSERT_TRUE(SoundOn()) << engine->System_LastError();
  const SampleHandle sample = LoadSquare(kShortFrames);
  ASSERT_NE(sample, 0u) << engine->System_LastError();
  const ChannelHandle channel = api->Sound_PlaySample(sample);
  ASSERT_NE(channel, 0u);
  EXPECT_TRUE(api->Channel_IsPlaying(channel));
  EXPECT_NEAR(api->Channel_GetLength(channel), 0.2f, 1e-4f);

  ASSERT_TRUE(WaitFor([&] { return !api->Channel_IsPlaying(channel); }));
  EXPECT_NEAR(api->Channel_GetPosition(channel), 0.2f, 1e-4f);
  SDL_Delay(100);
  const std::vector<StereoFrame> output = SoundOffAndRead();
  EXPECT_EQ(LoudFrames(output), kShortFrames);
  EXPECT_EQ(Peak(output), 12000);
  for (const StereoFrame& frame : output) {
    if (frame.left == 0) continue;
    ASSERT_EQ(std::abs(frame.left), 12000);
    ASSERT_EQ(frame.right, frame.left);
  }
}

TEST_F(SoundOutput, VolumeZeroPlaysInSilence) {
  ASSERT_TRUE(SoundOn());
  const ChannelHandle channel = api->Sound_PlaySampleEx(LoadSquare(kShortFrames), 0);
  ASSERT_NE(channel, 0u);
  EXPECT_TRUE(api->Channel_IsPlaying(channel));
  ASSERT_TRUE(WaitFor([&] { return !api->Channel_IsPlaying(channel); }));
  EXPECT_EQ(LoudFrames(SoundOffAndRead()), 0);
}

TEST_F(SoundOutput, AStoppedChannelFallsSilent) {
  ASSERT_TRUE(SoundOn());
  const ChannelHandle channel =
      api->Sound_PlaySampleEx(LoadSquare(kShortFrames), 100, 0, 1.0f, true);
  ASSERT_NE(channel, 0u);
  SDL_Delay(300);
  EXPECT_TRUE(api->Channel_IsPlaying(channel));
  api->Channel_Stop(channel);
  EXPECT_FALSE(api->Channel_IsPlaying(channel));
  SDL_Delay(300);
  const std::vector<StereoFrame> output = SoundOffAndRead();
  // The loop sounded until the stop; the last fifth of a second, well after it, is silent.
  ASSERT_GT(output.size(), static_cast<std::size_t>(kShortFrames));
  EXPECT_GT(LoudFrames(output), kShortFrames);
  const std::vector<StereoFrame> tail(output.end() - kShortFrames, output.end());
  EXPECT_EQ(LoudFrames(tail), 0);
}

TEST_F(SoundOutput, TheEffectVolumeScalesChannelsFromTheStartAndWhenItChanges) {
  engine->System_SetState(STATE_EFFECT_VOLUME, 50);
  ASSERT_TRUE(SoundOn());
  const ChannelHandle channel =
      api->Sound_PlaySampleEx(LoadSquare(kShortFrames), 50, 0, 1.0f, true);
  SDL_Delay(200);
  engine->System_SetState(STATE_EFFECT_VOLUME, 100);
  SDL_Delay(200);
  api->Channel_Stop(channel);
  const std::vector<StereoFrame> output = SoundOffAndRead();
  // 50 of 50 is a quarter of 12000; 50 of 100 is half; there is nothing else.
  int quarter = 0, half = 0, other = 0;
  for (const StereoFrame& frame : output) {
    const int level = std::abs(frame.left);
    quarter += level == 3000;
    half += level == 6000;
    other += level != 0 && level != 3000 && level != 6000;
  }
  EXPECT_GT(quarter, 0);
  EXPECT_GT(half, 0);
  EXPECT_EQ(other, 0);
}

TEST_F(SoundOutput, PanFullyLeftSilencesTheRightSide) {
  ASSERT_TRUE(SoundOn());
  const ChannelHandle channel = api->Sound_PlaySampleEx(LoadSquare(kShortFrames), 100, -100);
  ASSERT_TRUE(WaitFor([&] { return !api->Channel_IsPlaying(channel); }));
  const std::vector<StereoFrame> output = SoundOffAndRead();
  int left = 0, right = 0;
  for (const StereoFrame& frame : output) {
    left += frame.left != 0;
    right += frame.right != 0;
  }
  EXPECT_EQ(left, kShortFrames);
  EXPECT_EQ(right, 0);
}

// The frame loop's callbacks are plain functions; they reach the test here.
Engine* slidingEngine = nullptr;
ChannelHandle slidingChannel = 0;
int slideFrames = 0;

bool FrameUntilTheSlideEnds() {
  ++slideFrames;
  return !slidingEngine->Channel_IsSliding(slidingChannel) || slideFrames > 300;
}

TEST_F(SoundOutput, AVolumeSlideRunsWithTheFramesAndEndsAtItsTarget) {
  ASSERT_TRUE(SoundOn());
  const ChannelHandle channel =
      api->Sound_PlaySampleEx(LoadSquare(kShortFrames), 100, 0, 1.0f, true);
  ASSERT_NE(channel, 0u);
  api->Channel_SlideTo(channel, 0.25f, 0);
  EXPECT_TRUE(api->Channel_IsSliding(channel));
  SDL_Delay(100);
  // Without frames nothing slides.
  EXPECT_TRUE(api->Channel_IsSliding(channel));

  slidingEngine = api;
  slidingChannel = channel;
  slideFrames = 0;
  engine->System_SetState(STATE_FPS, 60);
  engine->System_SetState(STATE_RUN_INACTIVE, true);
  engine->System_SetState(STATE_FRAME_FUNC, FrameUntilTheSlideEnds);
  engine->timer.Start(*engine->clock);
  ASSERT_TRUE(engine->System_Start());
  EXPECT_FALSE(api->Channel_IsSliding(channel));
  // About a quarter of a second at 60 frames a second.
  EXPECT_GE(slideFrames, 10);
  EXPECT_LE(slideFrames, 40);
  EXPECT_TRUE(api->Channel_IsPlaying(channel));
  SDL_Delay(200);

  const std::vector<StereoFrame> output = SoundOffAndRead();
  std::vector<int> levels;
  for (const StereoFrame& frame : output) {
    if (frame.left != 0 && (levels.empty() || levels.back() != std::abs(frame.left))) {
      levels.push_back(std::abs(frame.left));
    }
  }
  // Whole at first, then ever quieter, and silent at the end while the loop still plays.
  ASSERT_GE(levels.size(), 5u);
  EXPECT_EQ(levels.front(), 12000);
  EXPECT_TRUE(std::is_sorted(levels.rbegin(), levels.rend()));
  const std::vector<StereoFrame> tail(output.end() - kShortFrames / 2, output.end());
  EXPECT_EQ(LoudFrames(tail), 0);
}

}  // namespace
