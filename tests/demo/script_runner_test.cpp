// The runner inside a real frame loop on the off-screen driver: what the frame function sees of
// the script's input, the pictures of presented frames, plug and unplug through the device-change
// function, states.txt, and how the runner ends the program.
#include "demo/script_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/device_change.h"
#include "app/screen_connection_listener.h"
#include "app/screen_profile_controls.h"
#include "app/shell_engine.h"
#include "common/app_state.h"
#include "demo/plug_key.h"
#include "demo/receiver_notices.h"
#include "device/connection.h"
#include "device/hid_port.h"
#include "engine/engine_impl.h"
#include "engine/png_codec.h"
#include "profile/profile_controls.h"
#include "profile/profile_state.h"

namespace {

constexpr std::uint32_t kBackground = 0xFF204060u;
constexpr std::uint32_t kMarker = 0xFFFFFFFFu;
constexpr int kKeyA = 65;

// What one frame function saw.
struct Seen {
  bool inside = false;
  float x = -1;
  float y = -1;
  bool held = false;
  int wheel = 0;
  int lastKey = 0;
  bool keyAHeld = false;
};

class ScriptRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    std::string folder =
        (std::filesystem::temp_directory_path() / "corsaro-runner-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    out_ = folder;
    AppState = APP_NO_RECEIVER;
    StateBeforeUnplug = APP_MAIN_SCREEN;
    current = this;
    SetConnectionListener(&listener_);

    engine_ = Engine_Create(ENGINE_VERSION);
    ASSERT_NE(engine_, nullptr);
    engine_->System_SetState(STATE_LOG_FILE, (out_ + "/test.log").c_str());
    engine_->System_SetState(STATE_SCREEN_WIDTH, 1024);
    engine_->System_SetState(STATE_SCREEN_HEIGHT, 600);
    engine_->System_SetState(STATE_WINDOWED, true);
    engine_->System_SetState(STATE_SPLASH, false);
    engine_->System_SetState(STATE_SOUND, false);
    engine_->System_SetState(STATE_FPS, 60);
    engine_->System_SetState(STATE_FRAME_FUNC, Frame);
    engine_->System_SetState(STATE_RENDER_FUNC, Render);
    ASSERT_TRUE(engine_->System_Initiate(false)) << engine_->System_LastError();
    SetShellEngine(engine_);
    // The program's listener and widgets, as start-up installs them: every test's tear-down
    // disconnects, whether it plugged a receiver in or not.
    SetConnectionListener(&listener_);
    InitProfileState();
    SetProfileControls(&controls_);
  }

  void TearDown() override {
    DisconnectReceiver();
    SetConnectionListener(nullptr);
    SetProfileControls(nullptr);
    SetCurrentHidBackend(nullptr);
    SetShellEngine(nullptr);
    if (engine_ != nullptr) {
      engine_->System_Shutdown();
      engine_->Release();
    }
    current = nullptr;
    std::error_code ignored;
    std::filesystem::remove_all(out_, ignored);
  }

  // The program's device-change function and wiring, on the virtual receiver and its notices.
  void ConnectTheProgram() {
    engine_->System_SetState(STATE_DEVICE_CHANGE_FUNC, DeviceChangeFunc);
    backend_.Add(&receiver_);
    SetCurrentHidBackend(&backend_);
    ASSERT_TRUE(RegisterDeviceNotifications(&notices_));
  }

  // Runs the script in the frame loop until the runner has ended the program.
  void Run(const std::string& script, bool systemReceiver = false) {
    std::vector<ScriptStep> steps;
    ScriptError error;
    ASSERT_TRUE(ParseScript(script, out_, &steps, &error)) << error.line << ": " << error.reason;
    runner_ = std::make_unique<ScriptRunner>(
        std::move(steps),
        ScriptRunner::Targets{systemReceiver ? nullptr : &receiver_, &dialogs_, out_});
    ASSERT_TRUE(runner_->Open());
    ASSERT_TRUE(engine_->System_Start());
  }

  static bool Frame() {
    ScriptRunnerTest& test = *current;
    Engine& engine = *test.engine_;
    test.runner_->Step(engine);
    Seen seen;
    seen.inside = engine.Input_MouseInside();
    engine.Input_MousePosition(&seen.x, &seen.y);
    seen.held = engine.Input_KeyHeld(VK_LBUTTON);
    seen.wheel = engine.Input_WheelDelta();
    seen.lastKey = engine.Input_LastKey();
    seen.keyAHeld = engine.Input_KeyHeld(kKeyA);
    test.seen_.push_back(seen);
    if (test.onFrame_) test.onFrame_(static_cast<int>(test.seen_.size()) - 1);
    return seen.lastKey == VK_ESCAPE && !test.ignoreEscape_;
  }

  // The background with an 8 by 8 marker at the pointer.
  static bool Render() {
    Engine& engine = *current->engine_;
    if (!engine.Gfx_BeginScene(nullptr)) return false;
    engine.Gfx_Clear(kBackground);
    float x = 0;
    float y = 0;
    engine.Input_MousePosition(&x, &y);
    Quad marker{};
    const float corners[4][2] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
    for (int i = 0; i < 4; ++i) {
      marker.v[i] = Vertex{x + corners[i][0], y + corners[i][1], 0.5f, kMarker, 0, 0};
    }
    marker.blend = BLEND_DEFAULT;
    engine.Gfx_DrawQuad(&marker);
    engine.Gfx_EndScene();
    return false;
  }

  std::string Read(const std::string& name) {
    std::ifstream in(out_ + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  ImageArgb Picture(const std::string& name) {
    const std::string bytes = Read(name);
    ImageArgb image;
    EXPECT_TRUE(DecodePng(bytes.data(), bytes.size(), &image)) << name;
    return image;
  }

  static ScriptRunnerTest* current;
  std::string out_;
  Engine* engine_ = nullptr;
  VirtualReceiver receiver_{"/dev/hidraw-test"};
  VirtualHidBackend backend_;
  ReceiverNotices notices_{receiver_};
  ScreenConnectionListener listener_;
  ScreenProfileControls controls_;
  RecordingDialogs dialogs_;
  std::unique_ptr<ScriptRunner> runner_;
  std::vector<Seen> seen_;
  std::function<void(int frame)> onFrame_;
  bool ignoreEscape_ = false;
};

ScriptRunnerTest* ScriptRunnerTest::current = nullptr;

// Each step goes in at the start of a frame; the frame function sees it on the next one.
TEST_F(ScriptRunnerTest, InputReachesTheFrameFunctionAsAUsersDoes) {
  Run("move 100 200\n"
      "down\n"
      "up\n"
      "wheel 3\n"
      "key A\n");
  ASSERT_EQ(seen_.size(), 8u) << "7 frames of steps, then Escape ends the program";
  EXPECT_TRUE(seen_[1].inside);
  EXPECT_EQ(seen_[1].x, 100.0f);
  EXPECT_EQ(seen_[1].y, 200.0f);
  EXPECT_FALSE(seen_[1].held);
  EXPECT_TRUE(seen_[2].held);
  EXPECT_FALSE(seen_[3].held);
  EXPECT_EQ(seen_[3].wheel, 0);
  EXPECT_EQ(seen_[4].wheel, 3);
  EXPECT_EQ(seen_[5].wheel, 0);
  EXPECT_EQ(seen_[5].lastKey, kKeyA);
  EXPECT_TRUE(seen_[5].keyAHeld);
  EXPECT_EQ(seen_[6].lastKey, 0);
  EXPECT_FALSE(seen_[6].keyAHeld);
  EXPECT_EQ(seen_[7].lastKey, VK_ESCAPE);
  for (std::size_t i = 1; i < seen_.size(); ++i) EXPECT_TRUE(seen_[i].inside) << i;
  EXPECT_TRUE(runner_->finished());
  EXPECT_EQ(runner_->error().line, 0);
  EXPECT_EQ(runner_->frames(), 8);
}

TEST_F(ScriptRunnerTest, ClickHoldsForThreeFramesAndDragMovesWhileHeld) {
  Run("click 10 20\n"
      "drag 0 0 80 40\n");
  // click: move (0), down (1), 2 frames, up (4), 2 frames; the drag starts on frame 7.
  std::vector<int> held;
  for (std::size_t i = 0; i < 7; ++i) {
    if (seen_[i].held) held.push_back(static_cast<int>(i));
  }
  EXPECT_EQ(held, (std::vector<int>{2, 3, 4}));
  // drag: move (7), down (8), 2 frames, moves on frames 11 to 18, up (19), 2 frames; Escape
  // goes down on frame 22.
  ASSERT_EQ(seen_.size(), 24u);
  EXPECT_FALSE(seen_[8].held);
  for (int i = 0; i < 8; ++i) {
    const Seen& frame = seen_[12 + i];
    EXPECT_TRUE(frame.held) << i;
    EXPECT_EQ(frame.x, 10.0f * (i + 1)) << i;
    EXPECT_EQ(frame.y, 5.0f * (i + 1)) << i;
  }
  EXPECT_FALSE(seen_[20].held);
  EXPECT_EQ(seen_[20].x, 80.0f);
  EXPECT_EQ(seen_[20].y, 40.0f);
}

TEST_F(ScriptRunnerTest, ScreenshotsHoldTheWindowsPixelsAsPresented) {
  Run("move 300 400\n"
      "screenshot first\n"
      "move 40 50\n"
      "screenshot second\n");
  const ImageArgb first = Picture("first.png");
  ASSERT_EQ(first.width, 1024);
  ASSERT_EQ(first.height, 600);
  EXPECT_EQ(first.pixels[0], kBackground);
  EXPECT_EQ(first.pixels[400 * 1024 + 300], kMarker);
  EXPECT_EQ(first.pixels[407 * 1024 + 307], kMarker);
  EXPECT_EQ(first.pixels[408 * 1024 + 308], kBackground);
  EXPECT_EQ(first.pixels[50 * 1024 + 40], kBackground);
  const ImageArgb second = Picture("second.png");
  ASSERT_EQ(second.width, 1024);
  EXPECT_EQ(second.pixels[50 * 1024 + 40], kMarker);
  EXPECT_EQ(second.pixels[400 * 1024 + 300], kBackground);
}

TEST_F(ScriptRunnerTest, PlugAndUnplugReachTheProgramsDeviceChangeFunction) {
  ConnectTheProgram();
  receiver_.Unplug();
  receiver_.DeliverDeviceChanges(nullptr);
  Run("plug\n"
      "wait-state 6 60\n"
      "unplug\n"
      "wait-state 0 60\n"
      "fault no-reply\n"
      "plug\n"
      "frames 5\n"
      "fault none\n"
      "unplug\n"
      "fault remove-after 3\n"
      "plug\n"
      "frames 5\n");
  EXPECT_EQ(Read("states.txt"), "0\t0\n1\t6\n2\t0\n") << "the silent receiver never connects";
  EXPECT_EQ(runner_->error().line, 0);
  EXPECT_EQ(ReceiverConnected, 0);
  EXPECT_FALSE(receiver_.Plugged()) << "pulled out after three more requests";
  const std::string log = Read("test.log");
  EXPECT_NE(log.find("INSERTED DEVICENAME: /dev/hidraw-test"), std::string::npos);
}

TEST_F(ScriptRunnerTest, FirmwareVersionTakesEffectAtTheNextPlug) {
  ConnectTheProgram();
  Run("firmware-version 1.80\n"
      "unplug\n"
      "frames 2\n"
      "plug\n"
      "frames 2\n");
  EXPECT_EQ(receiver_.FirmwareVersion(), 0x0180);
  EXPECT_EQ(WheelFirmwareVersion, 0x0180);
}

TEST_F(ScriptRunnerTest, AWaitStateThatRunsOutFailsAtItsLineAndEndsTheProgram) {
  Run("frames 1\n"
      "wait-state 6 5\n"
      "frames 100\n");
  EXPECT_EQ(runner_->error().line, 2);
  EXPECT_EQ(runner_->error().reason, "wait-state: AppState was still 0, not 6, after 5 frames");
  EXPECT_FALSE(runner_->finished());
  EXPECT_EQ(runner_->unfinishedLine(), 2);
  EXPECT_EQ(seen_.size(), 8u) << "1 frame, 5 frames of waiting, the failure on frame 6, Escape";
  EXPECT_EQ(seen_.back().lastKey, VK_ESCAPE);
}

// On the system's receivers (--hidraw) the commands that act on the virtual receiver fail at
// their line, and the virtual receiver is never touched.
TEST_F(ScriptRunnerTest, ReceiverCommandsAreRefusedOnTheSystemsReceiver) {
  const char* expected =
      "this command needs the virtual receiver; with --hidraw the system's receiver is used "
      "(corsaro270-emu plugs and unplugs it)";
  for (const char* command :
       {"plug\n", "unplug\n", "firmware-version 1.80\n", "fault no-reply\n", "dump-flash f\n"}) {
    TearDown();
    SetUp();
    Run(std::string("frames 1\n") + command + "frames 5\n", true);
    EXPECT_EQ(runner_->error().line, 2) << command;
    EXPECT_EQ(runner_->error().reason, expected) << command;
    EXPECT_TRUE(receiver_.Plugged()) << command;
    EXPECT_EQ(receiver_.FirmwareVersion(), 0x0196) << command;
  }
  EXPECT_FALSE(std::filesystem::exists(out_ + "/f.bin"));
}

TEST_F(ScriptRunnerTest, AnOpenChooserHandedAMissingFileFailsTheFilesLine) {
  onFrame_ = [this](int frame) {
    std::string path;
    if (frame == 3) {
      EXPECT_FALSE(dialogs_.ChooseOpenFile(&path));
    }
  };
  Run("frames 1\n"
      "file missing.cs270\n"
      "frames 10\n");
  EXPECT_EQ(runner_->error().line, 2);
  EXPECT_LT(seen_.size(), 8u) << "the script stops at once";
  EXPECT_EQ(runner_->error().reason, "file: \"" + out_ +
                                         "/missing.cs270\" does not exist, and an open chooser "
                                         "needs a file");
}

TEST_F(ScriptRunnerTest, AProgramThatIgnoresEscapeHasItsWindowClosed) {
  ignoreEscape_ = true;
  Run("frames 1\n");
  EXPECT_TRUE(runner_->finished());
  EXPECT_EQ(seen_.size(), 122u) << "Escape on frame 1, the close on frame 121";
  EXPECT_NE(Read("test.log")
                .find("script: the program did not end on Escape; its window is "
                      "closed"),
            std::string::npos);
}

// The key the interactive demo plugs with, pressed as a user presses it.
TEST_F(ScriptRunnerTest, F5TogglesTheReceiverAndReachesTheProgram) {
  ConnectTheProgram();
  std::vector<int> toggled;
  onFrame_ = [this, &toggled](int frame) {
    if (HandlePlugKey(*engine_, receiver_)) toggled.push_back(frame);
  };
  ConnectReceiver(nullptr);
  Run("key F5\n"
      "wait-state 0 60\n"
      "key F5\n"
      "wait-state 6 60\n"
      "key A\n");
  EXPECT_EQ(toggled, (std::vector<int>{1, 3}));
  EXPECT_EQ(Read("states.txt"), "0\t6\n2\t0\n4\t6\n");
  EXPECT_EQ(runner_->error().line, 0);
  EXPECT_TRUE(receiver_.Plugged());
}

}  // namespace
