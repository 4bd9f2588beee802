// The window and the frame loop, on SDL's offscreen driver with a driven clock.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "engine/engine_impl.h"
#include "tests/engine/system_test_support.h"

namespace {

// What the callbacks saw; they are plain functions, so they report here.
struct Loop {
  DrivenClock* clock = nullptr;
  EngineImpl* engine = nullptr;
  int framesToRun = 0;
  int frames = 0;
  int renders = 0;
  int exitAsks = 0;
  bool exitAllowed = false;
  std::uint32_t stallOnFrame = 0;
  std::vector<std::uint32_t> frameTimes;
  std::vector<float> deltas;
} loop;

bool CountingFrame() {
  loop.frames += 1;
  loop.frameTimes.push_back(loop.clock->Peek());
  loop.deltas.push_back(loop.engine->Timer_Delta());
  if (loop.stallOnFrame != 0 && static_cast<std::uint32_t>(loop.frames) == loop.stallOnFrame) {
    loop.clock->Advance(500);
  }
  return loop.frames >= loop.framesToRun;
}

bool CountingRender() {
  loop.renders += 1;
  return false;
}

bool AskedExit() {
  loop.exitAsks += 1;
  return loop.exitAllowed;
}

class FrameLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ASSERT_FALSE(folder.Path().empty());
    loop = {};
    loop.clock = &clock;
    loop.engine = engine.get();
    engine->clock = &clock;
    engine->System_SetState(STATE_LOG_FILE, (folder / "test.log").c_str());
    engine->System_SetState(STATE_TITLE, " Loop test");
    engine->System_SetState(STATE_WINDOWED, true);
    engine->System_SetState(STATE_SCREEN_WIDTH, 1024);
    engine->System_SetState(STATE_SCREEN_HEIGHT, 600);
    engine->System_SetState(STATE_RUN_INACTIVE, true);
    engine->System_SetState(STATE_FPS, 60);
    engine->System_SetState(STATE_FRAME_FUNC, CountingFrame);
    engine->System_SetState(STATE_RENDER_FUNC, CountingRender);
    engine->System_SetState(STATE_EXIT_FUNC, AskedExit);
  }
  void TearDown() override {
    if (engine->window != nullptr) engine->System_Shutdown();
  }

  bool Open(bool withCaption = false) {
    if (!engine->OpenWindow(withCaption)) return false;
    engine->timer.Start(clock);
    // Let the window's own start-up events pass before a test adds its own.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    return true;
  }

  static void PushWindowEvent(Uint8 kind) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = kind;
    SDL_PushEvent(&event);
  }

  static void PushKey(SDL_Keycode key, Uint16 modifiers) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = modifiers;
    SDL_PushEvent(&event);
  }

  ScratchFolder folder;
  DrivenClock clock;
  std::unique_ptr<EngineImpl> engine = std::make_unique<EngineImpl>();
};

TEST_F(FrameLoop, TheWindowIsBorderlessAtTheConfiguredSize) {
  ASSERT_TRUE(Open()) << engine->System_LastError();
  auto* window = static_cast<SDL_Window*>(engine->System_GetState(STATE_WINDOW));
  ASSERT_NE(window, nullptr);
  int width = 0, height = 0;
  SDL_GetWindowSize(window, &width, &height);
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(height, 600);
  EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS, 0u);
  EXPECT_STREQ(SDL_GetWindowTitle(window), " Loop test");
  engine->System_SetState(STATE_TITLE, "Renamed");
  EXPECT_STREQ(SDL_GetWindowTitle(window), "Renamed");
}

TEST_F(FrameLoop, ACaptionKeepsTheFrame) {
  ASSERT_TRUE(Open(true)) << engine->System_LastError();
  auto* window = static_cast<SDL_Window*>(engine->window);
  EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS, 0u);
}

TEST_F(FrameLoop, StartUpAndShutdownWriteTheirLogLinesInOrder) {
  ASSERT_TRUE(Open());
  engine->System_Shutdown();
  EXPECT_EQ(engine->window, nullptr);
  // Each line by its fixed opening; the facts in them change from run to run.
  std::istringstream log(ReadFileText(folder / "test.log"));
  const char* const openings[] = {"Application:  Loop test",
                                  "Date: ",
                                  "",
                                  "OS: Linux ",
                                  "Memory: ",
                                  "",
                                  "Finishing..",
                                  "The End."};
  std::string line;
  for (const char* opening : openings) {
    ASSERT_TRUE(std::getline(log, line)) << "missing line starting " << opening;
    EXPECT_EQ(line.rfind(opening, 0), 0u) << line;
    if (*opening == '\0') {
      EXPECT_EQ(line, "");
    }
  }
  EXPECT_FALSE(std::getline(log, line)) << line;
}

// Where the window system does not scale (the off-screen driver, as X11), a scale grows the
// window to its physical pixels: forced by the state, else from CORSARO_SCALE; a value other
// than 1 to 3 there is no setting.
TEST_F(FrameLoop, AScaleGrowsTheWindowToItsPhysicalPixels) {
  const auto windowSize = [this] {
    int width = 0, height = 0;
    SDL_GetWindowSize(static_cast<SDL_Window*>(engine->window), &width, &height);
    return std::pair{width, height};
  };
  setenv("CORSARO_SCALE", "3", 1);
  engine->System_SetState(STATE_WINDOW_SCALE, 2);
  ASSERT_TRUE(Open());
  EXPECT_EQ(engine->System_GetState(STATE_WINDOW_SCALE), 2);
  EXPECT_EQ(windowSize(), std::pair(2048, 1200));
  engine->System_Shutdown();

  engine->System_SetState(STATE_WINDOW_SCALE, 0);
  ASSERT_TRUE(Open());
  EXPECT_EQ(engine->System_GetState(STATE_WINDOW_SCALE), 3);
  EXPECT_EQ(windowSize(), std::pair(3072, 1800));
  engine->System_Shutdown();

  setenv("CORSARO_SCALE", "4", 1);
  ASSERT_TRUE(Open());
  EXPECT_EQ(engine->System_GetState(STATE_WINDOW_SCALE), 1);
  EXPECT_EQ(windowSize(), std::pair(1024, 600));
  unsetenv("CORSARO_SCALE");
}

TEST_F(FrameLoop, WithoutAVideoDriverInitiateFailsWithTheWindowClassText) {
  const std::string driver = SDL_getenv("SDL_VIDEODRIVER");
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  EXPECT_FALSE(engine->System_Initiate(false));
  setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
  EXPECT_STREQ(engine->System_LastError(), "Can't register window class");
  EXPECT_EQ(engine->window, nullptr);
  EXPECT_NE(ReadFileText(folder / "test.log").find("Can't register window class\nSDL: "),
            std::string::npos);
}

TEST_F(FrameLoop, StartNeedsAFrameFunctionAndAWindow) {
  ASSERT_TRUE(Open());
  engine->System_SetState(STATE_FRAME_FUNC, nullptr);
  EXPECT_FALSE(engine->System_Start());
  EXPECT_STREQ(engine->System_LastError(), "System_Start: No frame function defined");
  engine->System_Shutdown();
  engine->System_SetState(STATE_FRAME_FUNC, CountingFrame);
  EXPECT_FALSE(engine->System_Start());
  EXPECT_STREQ(engine->System_LastError(), "System_Start: System_Initiate wasn't called");
  EXPECT_EQ(loop.frames, 0);
}

TEST_F(FrameLoop, FramesArePacedAndTheLastFrameIsNotRendered) {
  ASSERT_TRUE(Open());
  loop.framesToRun = 30;
  EXPECT_TRUE(engine->System_Start());
  ASSERT_EQ(loop.frames, 30);
  EXPECT_EQ(loop.renders, 29);
  for (std::size_t i = 1; i < loop.frameTimes.size(); ++i) {
    EXPECT_GE(loop.frameTimes[i] - loop.frameTimes[i - 1], 16u) << "frame " << i;
  }
  EXPECT_FALSE(engine->active);
  // The loop can be started again.
  loop.framesToRun = 35;
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(loop.frames, 35);
}

TEST_F(FrameLoop, AFrameAfterAStallGetsTheFixedStep) {
  ASSERT_TRUE(Open());
  loop.framesToRun = 8;
  loop.stallOnFrame = 4;
  EXPECT_TRUE(engine->System_Start());
  ASSERT_EQ(loop.deltas.size(), 8u);
  EXPECT_FLOAT_EQ(loop.deltas[4], 0.016f);
  EXPECT_GE(loop.deltas[5], 0.016f);
  EXPECT_LE(loop.deltas[5], 0.018f);
}

TEST_F(FrameLoop, RefusedClosesKeepTheLoopRunning) {
  ASSERT_TRUE(Open());
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  PushKey(SDLK_F4, KMOD_LALT);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  loop.framesToRun = 3;
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(loop.exitAsks, 3);
  EXPECT_EQ(loop.frames, 3);
}

TEST_F(FrameLoop, AltEnterIsSwallowed) {
  ASSERT_TRUE(Open());
  PushKey(SDLK_RETURN, KMOD_RALT);
  loop.framesToRun = 2;
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(loop.exitAsks, 0);
  EXPECT_TRUE(engine->windowed);
  EXPECT_EQ(loop.frames, 2);
}

TEST_F(FrameLoop, AGrantedCloseEndsThisLoopAndEveryLaterOneUntilShutdown) {
  ASSERT_TRUE(Open());
  loop.exitAllowed = true;
  PushKey(SDLK_F4, KMOD_LALT);
  loop.framesToRun = 100;
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(loop.exitAsks, 1);
  EXPECT_EQ(loop.frames, 0);
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(loop.frames, 0);
}

TEST_F(FrameLoop, AClosingWithoutAnExitFunctionIsGranted) {
  ASSERT_TRUE(Open());
  engine->System_SetState(STATE_EXIT_FUNC, nullptr);
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  loop.framesToRun = 100;
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(loop.frames, 0);
}

TEST_F(FrameLoop, SwitchingSoundOnWithAWindowLoadsTheMixerAndOffUnloadsIt) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  engine->System_SetState(STATE_SOUND, false);
  ASSERT_TRUE(Open());
  EXPECT_EQ(engine->soundLibrary, nullptr);
  engine->System_SetState(STATE_SOUND, true);
  ASSERT_NE(engine->soundLibrary, nullptr) << engine->System_LastError();
  EXPECT_NE(ReadFileText(folder / "test.log").find("Sample rate: 44100\n"), std::string::npos);
  // The rate is fixed while the library is loaded.
  engine->System_SetState(STATE_SAMPLE_RATE, 22050);
  EXPECT_EQ(engine->System_GetState(STATE_SAMPLE_RATE), 44100);
  engine->System_SetState(STATE_SOUND, false);
  EXPECT_EQ(engine->soundLibrary, nullptr);
  EXPECT_EQ(engine->Sound_LoadSample("boom.wav", 0), 0u);
}

int arrivals = 0;
bool CountArrival(WindowHandle, std::uint32_t, std::uintptr_t event, std::intptr_t) {
  if (event == DBT_DEVICEARRIVAL) arrivals += 1;
  return true;
}

class OneArrival final : public DeviceNotificationSource {
 public:
  void Poll(EngineImpl& engine) override {
    polls += 1;
    if (polls == 1) engine.DeliverDeviceChange(DBT_DEVICEARRIVAL, "/dev/hidraw0");
  }
  int polls = 0;
};

TEST_F(FrameLoop, ThePumpPollsTheDeviceNotificationSource) {
  ASSERT_TRUE(Open());
  OneArrival source;
  arrivals = 0;
  engine->System_SetState(STATE_DEVICE_CHANGE_FUNC, CountArrival);
  engine->SetDeviceNotificationSource(&source);
  loop.framesToRun = 3;
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(arrivals, 1);
  EXPECT_GE(source.polls, 3);
  engine->SetDeviceNotificationSource(nullptr);
}

class CountingSource final : public DeviceNotificationSource {
 public:
  void Poll(EngineImpl&) override { polls += 1; }
  int polls = 0;
};

TEST_F(FrameLoop, WaitingForAFrameSleepsInsteadOfPollingThePump) {
  ASSERT_TRUE(Open());
  CountingSource source;
  engine->SetDeviceNotificationSource(&source);
  loop.framesToRun = 30;
  EXPECT_TRUE(engine->System_Start());
  // Per frame: the pump before the sleep and the pump after it, and one sleep.
  EXPECT_LE(source.polls, 2 * 30);
  EXPECT_LE(clock.Sleeps(), 30);
  engine->SetDeviceNotificationSource(nullptr);
}

bool keyFrameHeld = false;
bool PressEscapeOnTheFirstFrame() {
  loop.frames += 1;
  if (loop.frames == 1) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = SDLK_ESCAPE;
    event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    SDL_PushEvent(&event);
  }
  if (loop.frames == 2) keyFrameHeld = loop.engine->Input_KeyPressed(27);
  return loop.frames >= 2;
}

TEST_F(FrameLoop, AnEventQueuedDuringAFrameReachesTheNextOne) {
  ASSERT_TRUE(Open());
  keyFrameHeld = false;
  engine->System_SetState(STATE_FRAME_FUNC, PressEscapeOnTheFirstFrame);
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(loop.frames, 2);
  EXPECT_TRUE(keyFrameHeld);
}

}  // namespace
