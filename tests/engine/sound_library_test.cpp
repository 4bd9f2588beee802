// Sound off, a missing or wrong library and a missing output device: the engine's sound operations
// then answer their empty values, and only a library that cannot be used is an error.
#include "tests/engine/sound_fixture.h"

namespace {

using SoundLibrary = SoundTest;

// Every operation with a handle that a working engine would accept, checked for empty answers.
void ExpectEmptyAnswers(Engine* api, std::uint32_t handle) {
  EXPECT_EQ(api->Sound_PlaySample(handle), 0u);
  EXPECT_EQ(api->Sound_PlaySampleEx(handle, 50, 10, 1.5f, true), 0u);
  EXPECT_EQ(api->Sound_PlayMusic(handle), 0u);
  EXPECT_EQ(api->Sound_PlayStream(handle), 0u);
  EXPECT_EQ(api->Sound_GetMusicAmplify(handle), -1);
  EXPECT_EQ(api->Sound_GetMusicLength(handle), -1);
  EXPECT_EQ(api->Sound_GetInstrumentVolume(handle, 1), -1);
  EXPECT_EQ(api->Sound_GetMusicChannelVolume(handle, 1), -1);
  int order = 5, row = 5;
  EXPECT_FALSE(api->Sound_GetMusicPosition(handle, &order, &row));
  EXPECT_FALSE(api->Channel_IsPlaying(handle));
  EXPECT_FALSE(api->Channel_IsSliding(handle));
  EXPECT_EQ(api->Channel_GetLength(handle), -1.0f);
  EXPECT_EQ(api->Channel_GetPosition(handle), -1.0f);
  // Harmless.
  api->Channel_SetVolume(handle, 10);
  api->Channel_SlideTo(handle, 1.0f, 0);
  api->Channel_PauseAll();
  api->Channel_ResumeAll();
  api->Channel_StopAll();
  api->Sound_FreeSample(handle);
  api->Sound_FreeMusic(handle);
  api->Sound_FreeStream(handle);
}

TEST_F(SoundLibrary, SoundOffAnswersEmptyValuesWithoutTheLibrary) {
  engine->System_SetState(STATE_EFFECT_VOLUME, 40);
  EXPECT_EQ(engine->soundLibrary, nullptr);
  const std::vector<unsigned char> wav = SquareWav(kRate, 100, 1000);
  const auto* bytes = reinterpret_cast<const char*>(wav.data());
  EXPECT_EQ(api->Sound_LoadSample(bytes, wav.size()), 0u);
  EXPECT_EQ(api->Sound_LoadMusic(bytes, wav.size()), 0u);
  EXPECT_EQ(api->Sound_LoadStream(bytes, wav.size()), 0u);
  ExpectEmptyAnswers(api, 1);
  EXPECT_STREQ(api->System_LastError(), "");
  EXPECT_EQ(Log().find("Sound Device"), std::string::npos);
}

TEST_F(SoundLibrary, SwitchingOnLogsTheDeviceAndRate) {
  ASSERT_TRUE(SoundOn());
  const std::string log = Log();
  EXPECT_NE(log.find("Sound Device: "), std::string::npos) << log;
  EXPECT_NE(log.find("Sample rate: 22050\n"), std::string::npos) << log;
}

TEST_F(SoundLibrary, WithoutAnOutputDeviceLoadsAnswerTheDummyHandle) {
  setenv("SDL_AUDIODRIVER", "no such driver", 1);
  engine->System_SetState(STATE_SOUND, true);
  ASSERT_NE(engine->soundLibrary, nullptr);
  EXPECT_TRUE(engine->soundSilent);
  EXPECT_STREQ(api->System_LastError(), "");
  EXPECT_NE(Log().find("SDL2_mixer Init failed, using no sound\n"), std::string::npos);

  const std::vector<unsigned char> wav = SquareWav(kRate, 100, 1000);
  const auto* bytes = reinterpret_cast<const char*>(wav.data());
  EXPECT_EQ(api->Sound_LoadSample(bytes, wav.size()), 1u);
  EXPECT_EQ(api->Sound_LoadStream(bytes, wav.size()), 1u);
  EXPECT_EQ(api->Sound_LoadMusic(bytes, wav.size()), 1u);
  ExpectEmptyAnswers(api, 1);
}

TEST(SoundLibraryMissing, MakesInitiateFailWithItsText) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  ScratchFolder folder;
  EngineImpl engine;
  engine.soundLibraryFile = "libSDL2_mixer-not-installed.so.0";
  engine.System_SetState(STATE_LOG_FILE, (folder / "sound.log").c_str());
  engine.System_SetState(STATE_WINDOWED, true);
  engine.System_SetState(STATE_SPLASH, false);
  EXPECT_FALSE(engine.System_Initiate(false));
  EXPECT_STREQ(engine.System_LastError(), "Can't load libSDL2_mixer-not-installed.so.0");
  EXPECT_EQ(engine.window, nullptr);  // initiation shut the engine down again
  EXPECT_NE(
      ReadFileText(folder / "sound.log").find("Can't load libSDL2_mixer-not-installed.so.0\n"),
      std::string::npos);
  ExpectEmptyAnswers(&engine, 1);
}

TEST(SoundLibraryMissing, AnotherLibraryIsTheWrongVersion) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  EngineImpl engine;
  engine.soundLibraryFile = "libSDL2-2.0.so.0";
  engine.System_SetState(STATE_WINDOWED, true);
  engine.System_SetState(STATE_SPLASH, false);
  EXPECT_FALSE(engine.System_Initiate(false));
  EXPECT_STREQ(engine.System_LastError(), "Incorrect libSDL2-2.0.so.0 version");
}

}  // namespace
