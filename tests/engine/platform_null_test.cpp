// The engine on the null platform: its window, its message pump and its frame loop without a
// display, read back from the platform's own records.
#include <gtest/gtest.h>

#include "engine/engine_impl.h"
#include "platform/null/null_platform.h"

namespace {

using platform::EventKind;

// What the frame functions below see.
int frames = 0;
bool sawF5 = false;
bool cursorHiddenInFrame = false;
platform::null::NullPlatform* running = nullptr;
EngineImpl* runningEngine = nullptr;

// Notes whether F5 went down in the frame, then asks the program to end.
bool FrameAskingToQuit() {
  ++frames;
  sawF5 = runningEngine->Input_KeyPressed(116);
  running->PostEvent(runningEngine->window, platform::Event{EventKind::kQuit});
  return false;
}

class EngineOnNullPlatform : public ::testing::Test {
 protected:
  void SetUp() override {
    os->SetDisplay({0, 0, 1920, 1080});
    engine.screenWidth = 1024;
    engine.screenHeight = 600;
    engine.windowed = true;
    engine.splash = false;
  }
  void TearDown() override {
    engine.System_Shutdown();
    running = nullptr;
    runningEngine = nullptr;
  }

  platform::null::ScopedNullPlatform os;
  EngineImpl engine;
};

TEST_F(EngineOnNullPlatform, TheWindowOpensCentredWithoutFrameAndClosesAtShutdown) {
  ASSERT_TRUE(engine.OpenWindow(false));
  const platform::null::NullWindow* window = os->Window(engine.window);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->bounds.left, 448);
  EXPECT_EQ(window->bounds.top, 240);
  EXPECT_EQ(window->bounds.width, 1024);
  EXPECT_EQ(window->bounds.height, 600);
  EXPECT_TRUE(window->borderless);
  EXPECT_FALSE(window->fullscreen);
  EXPECT_EQ(window->title, "Engine");
  engine.System_SetState(STATE_TITLE, "Renamed");
  EXPECT_EQ(window->title, "Renamed");
  engine.System_Shutdown();
  EXPECT_EQ(os->OpenWindows(), 0);
}

TEST_F(EngineOnNullPlatform, PostedKeysReachTheFrameAndAPostedQuitEndsTheLoop) {
  ASSERT_TRUE(engine.OpenWindow(false));
  engine.System_SetState(STATE_FPS, 60);
  engine.timer.Start(*engine.clock);
  running = &*os;
  runningEngine = &engine;
  frames = 0;
  sawF5 = false;
  platform::Event key{EventKind::kKeyDown};
  key.virtualKey = 116;
  ASSERT_TRUE(os->PostEvent(engine.window, key));
  engine.System_SetState(STATE_FRAME_FUNC, FrameAskingToQuit);

  ASSERT_TRUE(engine.System_Start());
  EXPECT_EQ(frames, 1) << "the quit posted by the first frame ends the loop";
  EXPECT_TRUE(sawF5);
  EXPECT_TRUE(os->Window(engine.window)->hidden) << "a granted close hides the window";
  EXPECT_TRUE(os->Queue().empty());
}

TEST_F(EngineOnNullPlatform, TheCursorHidesWhileTheLoopRunsAndComesBackAfter) {
  ASSERT_TRUE(engine.OpenWindow(false));
  engine.System_SetState(STATE_FPS, 60);
  engine.timer.Start(*engine.clock);
  running = &*os;
  engine.System_SetState(STATE_FRAME_FUNC, [] {
    cursorHiddenInFrame = !running->CursorShown();
    return true;
  });
  cursorHiddenInFrame = false;
  ASSERT_TRUE(engine.System_Start());
  EXPECT_TRUE(cursorHiddenInFrame) << "hidden during the frame";
  EXPECT_TRUE(os->CursorShown());
}

TEST_F(EngineOnNullPlatform, WithoutGlTheStartFailsWithTheEnginesMessage) {
  // No GL on the null platform: the graphics device fails with the engine's own message.
  EXPECT_FALSE(engine.System_Initiate(false));
  EXPECT_STREQ(engine.System_LastError(), "Can't create D3D device");
  EXPECT_EQ(os->OpenWindows(), 0) << "the failed start closed its window again";
}

TEST(NullPlatform, KeysAreGivenByVirtualKeyAndOnlyKeysThatExist) {
  platform::null::NullPlatform os;
  platform::Event key{EventKind::kKeyDown};
  key.virtualKey = 0;
  EXPECT_FALSE(os.PostEvent(nullptr, key));
  key.virtualKey = 300;
  EXPECT_FALSE(os.PostEvent(nullptr, key));
  key.virtualKey = 'Q';
  EXPECT_TRUE(os.PostEvent(nullptr, key));
  EXPECT_EQ(os.CharacterFromKey('Q', 0, 0), 'q');
  EXPECT_EQ(os.CharacterFromKey('Q', 0, platform::kShiftDown), 'Q');
  EXPECT_EQ(os.CharacterFromKey(37, 0, 0), 0);
  platform::Event taken;
  ASSERT_TRUE(os.PollEvent(&taken));
  EXPECT_EQ(taken.virtualKey, 'Q');
  EXPECT_FALSE(os.PollEvent(&taken));
}

TEST(NullPlatform, TheClockNeverWaitsButKeepsItsOrder) {
  platform::null::NullPlatform os;
  MillisecondClock& clock = os.Clock();
  const std::uint32_t start = clock.Now();
  clock.SleepUntil(start + 500);
  EXPECT_GE(clock.Now(), start + 500);
  const std::uint32_t later = clock.Now();
  clock.SleepUntil(start);  // already past: no jump back
  EXPECT_GT(clock.Now(), later);
}

}  // namespace
