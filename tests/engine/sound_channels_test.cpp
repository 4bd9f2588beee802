// Channels as the program drives them: pausing, positions, the limit of plays per sample, and
// handles that outlive what they named.
#include "tests/engine/sound_fixture.h"

namespace {

using SoundChannels = SoundTest;

// One second at 22050 Hz.
constexpr int kSecondFrames = 22050;

TEST_F(SoundChannels, PauseHoldsThePositionAndResumeMovesItOn) {
  ASSERT_TRUE(SoundOn());
  const ChannelHandle channel = api->Sound_PlaySample(LoadSquare(kSecondFrames));
  ASSERT_NE(channel, 0u);
  EXPECT_FLOAT_EQ(api->Channel_GetLength(channel), 1.0f);
  ASSERT_TRUE(WaitFor([&] { return api->Channel_GetPosition(channel) > 0.1f; }));

  api->Channel_Pause(channel);
  EXPECT_FALSE(api->Channel_IsPlaying(channel));
  const float paused = api->Channel_GetPosition(channel);
  SDL_Delay(150);
  EXPECT_EQ(api->Channel_GetPosition(channel), paused);

  api->Channel_Resume(channel);
  EXPECT_TRUE(api->Channel_IsPlaying(channel));
  ASSERT_TRUE(WaitFor([&] { return api->Channel_GetPosition(channel) > paused + 0.1f; }));
  EXPECT_LE(api->Channel_GetPosition(channel), 1.0f);
}

TEST_F(SoundChannels, ResumeAllLeavesChannelsPausedOnTheirOwn) {
  ASSERT_TRUE(SoundOn());
  const SampleHandle sample = LoadSquare(kSecondFrames);
  const ChannelHandle first = api->Sound_PlaySampleEx(sample, 100, 0, 1.0f, true);
  const ChannelHandle second = api->Sound_PlaySampleEx(sample, 100, 0, 1.0f, true);
  api->Channel_Pause(first);

  api->Channel_PauseAll();
  EXPECT_FALSE(api->Channel_IsPlaying(first));
  EXPECT_FALSE(api->Channel_IsPlaying(second));
  // What starts meanwhile waits too.
  const ChannelHandle third = api->Sound_PlaySample(sample);
  ASSERT_NE(third, 0u);
  EXPECT_FALSE(api->Channel_IsPlaying(third));

  api->Channel_ResumeAll();
  EXPECT_FALSE(api->Channel_IsPlaying(first));
  EXPECT_TRUE(api->Channel_IsPlaying(second));
  EXPECT_TRUE(api->Channel_IsPlaying(third));

  api->Channel_StopAll();
  EXPECT_FALSE(api->Channel_IsPlaying(second));
  EXPECT_FALSE(api->Channel_IsPlaying(third));
}

TEST_F(SoundChannels, AFifthPlayOfASampleTakesOverTheQuietest) {
  ASSERT_TRUE(SoundOn());
  const SampleHandle sample = LoadSquare(kSecondFrames);
  const int volumes[] = {50, 20, 80, 90};
  std::vector<ChannelHandle> plays;
  for (int volume : volumes) plays.push_back(api->Sound_PlaySampleEx(sample, volume));
  // Another sample does not count against this one's four.
  const ChannelHandle other = api->Sound_PlaySample(LoadSquare(kSecondFrames));
  const ChannelHandle fifth = api->Sound_PlaySampleEx(sample, 60);
  ASSERT_NE(fifth, 0u);
  EXPECT_TRUE(api->Channel_IsPlaying(plays[0]));
  EXPECT_FALSE(api->Channel_IsPlaying(plays[1]));
  EXPECT_EQ(api->Channel_GetLength(plays[1]), -1.0f);
  EXPECT_TRUE(api->Channel_IsPlaying(plays[2]));
  EXPECT_TRUE(api->Channel_IsPlaying(plays[3]));
  EXPECT_TRUE(api->Channel_IsPlaying(other));
  EXPECT_TRUE(api->Channel_IsPlaying(fifth));
}

TEST_F(SoundChannels, AFreedSampleStopsAndItsChannelAnswersEmptyValues) {
  ASSERT_TRUE(SoundOn());
  const SampleHandle sample = LoadSquare(kSecondFrames);
  const ChannelHandle channel = api->Sound_PlaySample(sample);
  ASSERT_TRUE(api->Channel_IsPlaying(channel));
  api->Sound_FreeSample(sample);
  EXPECT_FALSE(api->Channel_IsPlaying(channel));
  EXPECT_EQ(api->Channel_GetLength(channel), -1.0f);
  EXPECT_EQ(api->Channel_GetPosition(channel), -1.0f);
  EXPECT_EQ(api->Sound_PlaySample(sample), 0u);
  api->Channel_Stop(channel);
  api->Sound_FreeSample(sample);
}

TEST_F(SoundChannels, SettingAnAttributeEndsItsSlide) {
  ASSERT_TRUE(SoundOn());
  const ChannelHandle channel = api->Sound_PlaySample(LoadSquare(kSecondFrames));
  api->Channel_SlideTo(channel, 1.0f, 0, 100);
  api->Channel_SetVolume(channel, 50);
  EXPECT_TRUE(api->Channel_IsSliding(channel));  // the pan still slides
  api->Channel_SetPanning(channel, 0);
  EXPECT_FALSE(api->Channel_IsSliding(channel));
  api->Channel_SlideTo(channel, 1.0f, 0);
  api->Channel_Stop(channel);
  EXPECT_FALSE(api->Channel_IsSliding(channel));
}

}  // namespace
