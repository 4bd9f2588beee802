// The engine object: creation and reference count, states and their kinds, the error texts,
// device-change delivery and the empty answers of the sound part.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/engine_impl.h"

namespace {

bool ReturnsFalse() {
  return false;
}
bool ReturnsTrue() {
  return true;
}

TEST(EngineCreate, AcceptsOnlyTheInterfaceVersion) {
  EXPECT_EQ(Engine_Create(383), nullptr);
  EXPECT_EQ(Engine_Create(0x181), nullptr);
  EXPECT_EQ(Engine_Create(0), nullptr);
}

TEST(EngineCreate, SharesOneObjectThatLivesUntilTheLastRelease) {
  Engine* first = Engine_Create(ENGINE_VERSION);
  ASSERT_NE(first, nullptr);
  Engine* second = Engine_Create(384);
  EXPECT_EQ(first, second);

  first->System_SetState(STATE_TITLE, "Kept");
  first->Release();
  Engine* third = Engine_Create(ENGINE_VERSION);
  EXPECT_EQ(third, second);
  EXPECT_STREQ(third->System_GetState(STATE_TITLE), "Kept");

  second->Release();
  third->Release();
  // The last release destroyed it: a new engine starts from the defaults.
  Engine* fresh = Engine_Create(ENGINE_VERSION);
  ASSERT_NE(fresh, nullptr);
  EXPECT_STREQ(fresh->System_GetState(STATE_TITLE), "Engine");
  fresh->Release();
}

class EngineStates : public ::testing::Test {
 protected:
  std::unique_ptr<EngineImpl> engine = std::make_unique<EngineImpl>();
};

TEST_F(EngineStates, StartWithTheirDefaults) {
  const struct {
    BoolState state;
    bool value;
  } bools[] = {{STATE_WINDOWED, false}, {STATE_DEPTH_BUFFER, false}, {STATE_TEXTURE_FILTER, true},
               {STATE_SOUND, true},     {STATE_RUN_INACTIVE, false}, {STATE_HIDE_CURSOR, true},
               {STATE_SPLASH, true}};
  for (const auto& b : bools) EXPECT_EQ(engine->System_GetState(b.state), b.value) << b.state;

  const struct {
    IntState state;
    int value;
  } ints[] = {{STATE_SCREEN_WIDTH, 800},  {STATE_SCREEN_HEIGHT, 600},
              {STATE_SCREEN_BPP, 32},     {STATE_SAMPLE_RATE, 44100},
              {STATE_EFFECT_VOLUME, 100}, {STATE_MUSIC_VOLUME, 100},
              {STATE_STREAM_VOLUME, 100}, {STATE_FPS, 0},
              {STATE_POWER, -2}};
  for (const auto& i : ints) EXPECT_EQ(engine->System_GetState(i.state), i.value) << i.state;

  for (FuncState f : {STATE_FRAME_FUNC, STATE_RENDER_FUNC, STATE_FOCUS_LOST_FUNC,
                      STATE_FOCUS_GAINED_FUNC, STATE_RESTORE_FUNC, STATE_EXIT_FUNC}) {
    EXPECT_EQ(engine->System_GetState(f), nullptr) << f;
  }
  EXPECT_EQ(engine->deviceChangeFunc, nullptr);
  EXPECT_EQ(engine->System_GetState(STATE_WINDOW), nullptr);
  EXPECT_EQ(engine->System_GetState(STATE_PARENT_WINDOW), nullptr);
  EXPECT_STREQ(engine->System_GetState(STATE_TITLE), "Engine");
  EXPECT_EQ(engine->System_GetState(STATE_ICON), nullptr);
  // No log or ini file reads as null, not as an empty text.
  EXPECT_EQ(engine->System_GetState(STATE_LOG_FILE), nullptr);
  EXPECT_EQ(engine->System_GetState(STATE_INI_FILE), nullptr);
  EXPECT_STREQ(engine->System_LastError(), "");
}

TEST_F(EngineStates, KeepWhatIsSet) {
  engine->System_SetState(STATE_WINDOWED, true);
  engine->System_SetState(STATE_SCREEN_WIDTH, 1024);
  engine->System_SetState(STATE_FRAME_FUNC, ReturnsTrue);
  engine->System_SetState(STATE_EXIT_FUNC, ReturnsFalse);
  engine->System_SetState(STATE_ICON, MakeResourceId(107));
  EXPECT_TRUE(engine->System_GetState(STATE_WINDOWED));
  EXPECT_EQ(engine->System_GetState(STATE_SCREEN_WIDTH), 1024);
  EXPECT_EQ(engine->System_GetState(STATE_FRAME_FUNC), &ReturnsTrue);
  EXPECT_EQ(engine->System_GetState(STATE_EXIT_FUNC), &ReturnsFalse);
  EXPECT_EQ(engine->System_GetState(STATE_ICON), MakeResourceId(107));

  engine->System_SetState(STATE_FPS, 60);
  EXPECT_EQ(engine->timer.fixedDeltaMs, 16u);
  engine->System_SetState(STATE_FPS, -1);
  EXPECT_EQ(engine->timer.fixedDeltaMs, 0u);
}

TEST_F(EngineStates, CopyTextsAndCutLongTitles) {
  std::string title = "Window";
  engine->System_SetState(STATE_TITLE, title.c_str());
  title = "Changed";
  EXPECT_STREQ(engine->System_GetState(STATE_TITLE), "Window");

  const std::string longTitle(400, 'x');
  engine->System_SetState(STATE_TITLE, longTitle.c_str());
  EXPECT_EQ(std::string(engine->System_GetState(STATE_TITLE)), std::string(255, 'x'));
}

TEST_F(EngineStates, IgnoreNumbersOfAnotherKindAndUnknownNumbers) {
  engine->System_SetState(static_cast<IntState>(STATE_WINDOWED), 1);
  engine->System_SetState(static_cast<BoolState>(STATE_SCREEN_WIDTH), true);
  engine->System_SetState(static_cast<TextState>(STATE_FPS), "60");
  engine->System_SetState(static_cast<FuncState>(STATE_TITLE), ReturnsTrue);
  engine->System_SetState(static_cast<IntState>(14), 5);
  engine->System_SetState(static_cast<BoolState>(99), true);
  EXPECT_FALSE(engine->System_GetState(STATE_WINDOWED));
  EXPECT_EQ(engine->System_GetState(STATE_SCREEN_WIDTH), 800);
  EXPECT_EQ(engine->System_GetState(STATE_FPS), 0);
  EXPECT_STREQ(engine->System_GetState(STATE_TITLE), "Engine");

  EXPECT_EQ(engine->System_GetState(static_cast<IntState>(STATE_TITLE)), 0);
  EXPECT_FALSE(engine->System_GetState(static_cast<BoolState>(STATE_FPS)));
  EXPECT_EQ(engine->System_GetState(static_cast<TextState>(STATE_SCREEN_WIDTH)), nullptr);
  EXPECT_EQ(engine->System_GetState(static_cast<FuncState>(STATE_SPLASH)), nullptr);
  EXPECT_EQ(engine->System_GetState(static_cast<WindowState>(STATE_FPS)), nullptr);
  EXPECT_EQ(engine->System_GetState(static_cast<IntState>(STATE_DEVICE_CHANGE_FUNC)), 0);
}

TEST_F(EngineStates, ReadOnlyStatesRefuseValues) {
  engine->System_SetState(STATE_POWER, 50);
  EXPECT_EQ(engine->System_GetState(STATE_POWER), -2);
  int fake = 0;
  engine->System_SetState(STATE_WINDOW, &fake);
  EXPECT_EQ(engine->System_GetState(STATE_WINDOW), nullptr);
  engine->System_SetState(STATE_PARENT_WINDOW, &fake);
  EXPECT_EQ(engine->System_GetState(STATE_PARENT_WINDOW), &fake);
}

TEST_F(EngineStates, SetLogAndIniNamesBecomeFullPathsAndNullClears) {
  engine->System_SetState(STATE_INI_FILE, "settings.ini");
  EXPECT_EQ(std::string(engine->System_GetState(STATE_INI_FILE)),
            std::string(engine->programFolder) + "settings.ini");
  engine->System_SetState(STATE_INI_FILE, nullptr);
  EXPECT_EQ(engine->System_GetState(STATE_INI_FILE), nullptr);
}

TEST(EngineErrors, StartBeforeInitiateFailsWithItsText) {
  EngineImpl engine;
  engine.System_SetState(STATE_FRAME_FUNC, ReturnsTrue);
  EXPECT_FALSE(engine.System_Start());
  EXPECT_STREQ(engine.System_LastError(), "System_Start: System_Initiate wasn't called");
}

TEST(EngineErrors, LongMessagesAreCutToTheErrorBuffer) {
  EngineImpl engine;
  const std::string name(600, 'n');
  EXPECT_EQ(engine.Resource_Load(name.c_str(), nullptr), nullptr);
  EXPECT_EQ(std::string(engine.System_LastError()).size(), sizeof engine.errorText - 1);
  EXPECT_EQ(std::string(engine.System_LastError()).rfind("Can't load resource: nnn", 0), 0u);
}

struct DeviceChangeSeen {
  int calls = 0;
  std::uint32_t message = 0;
  std::uintptr_t event = 0;
  std::uint32_t deviceType = 0;
  std::string path;
} seen;

bool RecordDeviceChange(WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                        std::intptr_t lParam) {
  const auto* record = reinterpret_cast<const DeviceInterfaceRecord*>(lParam);
  seen.calls += 1;
  seen.message = message;
  seen.event = wParam;
  seen.deviceType = record->deviceType;
  seen.path = record->path;
  return wParam == DBT_DEVICEARRIVAL;
}

TEST(EngineDeviceChange, ReachesTheFunctionAsADeviceInterfaceMessage) {
  EngineImpl engine;
  EXPECT_FALSE(engine.DeliverDeviceChange(DBT_DEVICEARRIVAL, "/dev/hidraw3"));
  engine.System_SetState(STATE_DEVICE_CHANGE_FUNC, RecordDeviceChange);
  seen = {};
  EXPECT_TRUE(engine.DeliverDeviceChange(DBT_DEVICEARRIVAL, "/dev/hidraw3"));
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.message, WM_DEVICECHANGE);
  EXPECT_EQ(seen.event, 0x8000u);
  EXPECT_EQ(seen.deviceType, 5u);
  EXPECT_EQ(seen.path, "/dev/hidraw3");
  EXPECT_FALSE(engine.DeliverDeviceChange(DBT_DEVICEREMOVECOMPLETE, "/dev/hidraw3"));
  EXPECT_EQ(seen.event, 0x8004u);
}

TEST(EngineSound, AnswersTheEmptyValuesWithoutTheLibrary) {
  EngineImpl engine;
  engine.System_SetState(STATE_SOUND, false);
  EXPECT_EQ(engine.Sound_LoadSample("boom.wav", 0), 0u);
  EXPECT_EQ(engine.Sound_LoadStream("song.ogg", 0), 0u);
  EXPECT_EQ(engine.Sound_LoadMusic("tune.mod", 0), 0u);
  EXPECT_EQ(engine.Sound_PlaySample(1), 0u);
  EXPECT_EQ(engine.Sound_GetMusicAmplify(1), -1);
  EXPECT_EQ(engine.Sound_GetMusicLength(1), -1);
  EXPECT_EQ(engine.Sound_GetInstrumentVolume(1, 0), -1);
  EXPECT_EQ(engine.Sound_GetMusicChannelVolume(1, 0), -1);
  int order = 7, row = 9;
  EXPECT_FALSE(engine.Sound_GetMusicPosition(1, &order, &row));
  EXPECT_EQ(order, 7);
  EXPECT_FALSE(engine.Channel_IsPlaying(1));
  EXPECT_FALSE(engine.Channel_IsSliding(1));
  EXPECT_EQ(engine.Channel_GetLength(1), -1.0f);
  EXPECT_EQ(engine.Channel_GetPosition(1), -1.0f);
  EXPECT_EQ(engine.soundLibrary, nullptr);
}

}  // namespace
