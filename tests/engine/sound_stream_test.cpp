// Music and streams on the mixer's music player: whose bytes they play from, and how long.
#include <filesystem>

#include "tests/engine/sound_fixture.h"

namespace {

using SoundStreams = SoundTest;

constexpr int kSecondFrames = 22050;

TEST_F(SoundStreams, AStreamFromAFileKeepsTheFileBytesUntilFreed) {
  ASSERT_TRUE(SoundOn());
  const std::string path = folder / "three seconds.wav";
  const std::vector<unsigned char> wav = SquareWav(kRate, 3 * kSecondFrames, 12000);
  WriteFileText(path, std::string(wav.begin(), wav.end()));
  const StreamHandle stream = api->Sound_LoadStream(path.c_str());
  ASSERT_NE(stream, 0u) << api->System_LastError();
  // The stream plays from the bytes it read, not from the file.
  std::filesystem::remove(path);

  ASSERT_EQ(api->Sound_PlayStream(stream), stream);
  EXPECT_TRUE(api->Channel_IsPlaying(stream));
  EXPECT_FLOAT_EQ(api->Channel_GetLength(stream), 3.0f);
  api->Channel_SetPosition(stream, 2.0f);
  EXPECT_GE(api->Channel_GetPosition(stream), 2.0f);
  // What is left of it plays out in about a second.
  ASSERT_TRUE(WaitFor([&] { return !api->Channel_IsPlaying(stream); }, 2000));
  api->Sound_FreeStream(stream);
  EXPECT_EQ(api->Channel_GetLength(stream), -1.0f);

  const int loud = LoudFrames(SoundOffAndRead());
  EXPECT_GE(loud, kSecondFrames);
  EXPECT_LT(loud, 2 * kSecondFrames);
}

TEST_F(SoundStreams, SwitchingSoundOffFreesStreamsStillLoaded) {
  ASSERT_TRUE(SoundOn());
  const std::string path = folder / "stream.wav";
  const std::vector<unsigned char> wav = SquareWav(kRate, kSecondFrames, 12000);
  WriteFileText(path, std::string(wav.begin(), wav.end()));
  const StreamHandle stream = api->Sound_LoadStream(path.c_str());
  ASSERT_NE(api->Sound_PlayStream(stream, true), 0u);
  engine->System_SetState(STATE_SOUND, false);
  // The leak checker sees the file's bytes go; the handle names nothing any more.
  ASSERT_TRUE(SoundOn());
  EXPECT_EQ(api->Sound_PlayStream(stream), 0u);
  EXPECT_EQ(api->Channel_GetLength(stream), -1.0f);
}

TEST_F(SoundStreams, MusicKeepsItsOwnCopyOfTheCallersBytes) {
  ASSERT_TRUE(SoundOn());
  std::vector<unsigned char> wav = SquareWav(kRate, kSecondFrames / 5, 12000);
  const MusicHandle music =
      api->Sound_LoadMusic(reinterpret_cast<const char*>(wav.data()), wav.size());
  ASSERT_NE(music, 0u) << api->System_LastError();
  std::fill(wav.begin() + 44, wav.end(), 0);

  ASSERT_EQ(api->Sound_PlayMusic(music, false), music);
  EXPECT_TRUE(api->Channel_IsPlaying(music));
  ASSERT_TRUE(WaitFor([&] { return !api->Channel_IsPlaying(music); }));
  api->Sound_FreeMusic(music);
  const std::vector<StereoFrame> output = SoundOffAndRead();
  EXPECT_EQ(LoudFrames(output), kSecondFrames / 5);
  EXPECT_EQ(Peak(output), 12000);
}

TEST_F(SoundStreams, MusicAndStreamVolumesScaleTheirOwnKind) {
  engine->System_SetState(STATE_MUSIC_VOLUME, 50);
  engine->System_SetState(STATE_STREAM_VOLUME, 25);
  const std::vector<unsigned char> wav = SquareWav(kRate, kSecondFrames / 5, 12000);
  const auto* bytes = reinterpret_cast<const char*>(wav.data());

  ASSERT_TRUE(SoundOn());
  const MusicHandle music = api->Sound_LoadMusic(bytes, wav.size());
  api->Sound_PlayMusic(music, false);
  ASSERT_TRUE(WaitFor([&] { return !api->Channel_IsPlaying(music); }));
  EXPECT_EQ(Peak(SoundOffAndRead()), 6000);

  ASSERT_TRUE(SoundOn());
  const StreamHandle stream = api->Sound_LoadStream(bytes, wav.size());
  api->Sound_PlayStream(stream);
  ASSERT_TRUE(WaitFor([&] { return !api->Channel_IsPlaying(stream); }));
  EXPECT_EQ(Peak(SoundOffAndRead()), 3000);
}

TEST_F(SoundStreams, OneMusicPlayerServesMusicAndStreams) {
  ASSERT_TRUE(SoundOn());
  const std::vector<unsigned char> wav = SquareWav(kRate, kSecondFrames, 12000);
  const auto* bytes = reinterpret_cast<const char*>(wav.data());
  const MusicHandle music = api->Sound_LoadMusic(bytes, wav.size());
  const StreamHandle stream = api->Sound_LoadStream(bytes, wav.size());
  ASSERT_NE(api->Sound_PlayMusic(music), 0u);
  ASSERT_NE(api->Sound_PlayStream(stream), 0u);
  EXPECT_FALSE(api->Channel_IsPlaying(music));
  EXPECT_TRUE(api->Channel_IsPlaying(stream));
  EXPECT_EQ(api->Channel_GetPosition(music), 0.0f);

  api->Channel_Pause(stream);
  EXPECT_FALSE(api->Channel_IsPlaying(stream));
  api->Channel_Resume(stream);
  EXPECT_TRUE(api->Channel_IsPlaying(stream));
  api->Channel_Stop(stream);
  EXPECT_FALSE(api->Channel_IsPlaying(stream));
  api->Sound_FreeStream(stream);
  api->Sound_FreeMusic(music);
}

TEST_F(SoundStreams, PlayingMusicAgainDoesNotRestartIt) {
  ASSERT_TRUE(SoundOn());
  const std::vector<unsigned char> wav = SquareWav(kRate, 2 * kSecondFrames, 12000);
  const MusicHandle music =
      api->Sound_LoadMusic(reinterpret_cast<const char*>(wav.data()), wav.size());
  api->Sound_PlayMusic(music, false);
  ASSERT_TRUE(WaitFor([&] { return api->Channel_GetPosition(music) > 0.3f; }));
  api->Channel_Pause(music);
  const float position = api->Channel_GetPosition(music);
  api->Sound_PlayMusic(music, false);
  EXPECT_TRUE(api->Channel_IsPlaying(music));
  EXPECT_GE(api->Channel_GetPosition(music), position);
}

TEST_F(SoundStreams, BytesThatDecodeToNothingFailWithTheirTexts) {
  ASSERT_TRUE(SoundOn());
  const char junk[] = "not a sound at all, only text of some length";
  EXPECT_EQ(api->Sound_LoadSample(junk, sizeof junk), 0u);
  EXPECT_STREQ(api->System_LastError(), "Can't create sound effect");
  EXPECT_EQ(api->Sound_LoadMusic(junk, sizeof junk), 0u);
  EXPECT_STREQ(api->System_LastError(), "Can't load music");
  EXPECT_EQ(api->Sound_LoadStream(junk, sizeof junk), 0u);
  EXPECT_STREQ(api->System_LastError(), "Can't load stream");
  EXPECT_EQ(api->Sound_LoadSample((folder / "missing.wav").c_str()), 0u);
  EXPECT_NE(std::string(api->System_LastError()).find("missing.wav"), std::string::npos);
  EXPECT_EQ(api->Sound_LoadStream(nullptr, 10), 0u);
  EXPECT_STREQ(api->System_LastError(), "Can't load stream");
}

TEST_F(SoundStreams, WhatTheMixerCannotDoIsIgnoredAndLoggedOnce) {
  ASSERT_TRUE(SoundOn());
  const std::vector<unsigned char> wav = SquareWav(kRate, kSecondFrames / 5, 12000);
  const auto* bytes = reinterpret_cast<const char*>(wav.data());
  const MusicHandle music = api->Sound_LoadMusic(bytes, wav.size());
  api->Sound_SetMusicAmplify(music, 80);
  EXPECT_EQ(api->Sound_GetMusicAmplify(music), -1);
  EXPECT_EQ(api->Sound_GetMusicLength(music), -1);
  int order = 7, row = 7;
  EXPECT_FALSE(api->Sound_GetMusicPosition(music, &order, &row));
  EXPECT_EQ(order, 7);
  api->Sound_SetInstrumentVolume(music, 1, 50);
  EXPECT_EQ(api->Sound_GetInstrumentVolume(music, 1), -1);
  EXPECT_EQ(api->Sound_GetMusicChannelVolume(music, 1), -1);

  const ChannelHandle channel =
      api->Sound_PlaySampleEx(api->Sound_LoadSample(bytes, wav.size()), 100, 0, 2.0f);
  api->Channel_SetPitch(channel, 0.5f);
  EXPECT_FLOAT_EQ(api->Channel_GetLength(channel), 0.2f);

  const std::string log = Log();
  const std::string pitch = "Sound: SDL2_mixer cannot change a channel's pitch; ignored\n";
  ASSERT_NE(log.find(pitch), std::string::npos) << log;
  EXPECT_EQ(log.find(pitch), log.rfind(pitch));
  EXPECT_NE(log.find("Sound: SDL2_mixer cannot amplify music; ignored\n"), std::string::npos);
  EXPECT_NE(log.find("Sound: SDL2_mixer cannot set instrument volumes; ignored\n"),
            std::string::npos);
}

}  // namespace
