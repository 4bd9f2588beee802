#pragma once
// A shell with no receiver, the settings of a failed download and no screens, scripted dialogs, a
// recorded browser and an engine without a window, logging through start-up's own sink; each test
// switches on what it needs.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/frame_functions.h"
#include "app/main_screen.h"
#include "app/messages.h"
#include "app/screen_profile_controls.h"
#include "app/scripted_dialogs.h"
#include "app/shell_engine.h"
#include "app/startup.h"
#include "common/app_state.h"
#include "device/connection.h"
#include "device/progress.h"
#include "engine/engine_impl.h"
#include "engine/platform/platform.h"
#include "online/settings_document.h"
#include "profile/profile_controls.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppState = APP_NO_RECEIVER;
    StateBeforeUnplug = APP_MAIN_SCREEN;
    QuitRequested = false;
    CurrentFrameInput = {};
    ReceiverConnected = 0;
    WheelFirmwareVersion = 0;
    FirmwareOutOfDate = 0;
    UpgradeRunning = 0;
    ForgetPanels();
    ResetSettings();
    InitProfileState();
    CurrentProfile = 0;
    SetProfileControls(&profileControls);
    for (StateHandler& handler : StateHandlers) handler = nullptr;
    StateHandlers[APP_NO_RECEIVER] = NoReceiverInput;
    opened().clear();
    engine.screenWidth = 1024;
    engine.screenHeight = 600;
    std::string folder = (std::filesystem::temp_directory_path() / "corsaro-shell-XXXXXX").string();
    if (mkdtemp(folder.data()) != nullptr) logFolder = folder;
    engine.System_SetState(STATE_LOG_FILE, (logFolder + "/shell.log").c_str());
    SetShellEngine(&engine);
    SetDialogs(&dialogs);
    SetUrlOpener(RecordUrl);
  }

  void TearDown() override {
    CloseWindow();
    SetUrlOpener(nullptr);
    SetDialogs(nullptr);
    SetShellEngine(nullptr);
    SetProfileControls(nullptr);
    ForgetPanels();
    ResetSettings();
    FirmwareOutOfDate = 0;
    WheelFirmwareVersion = 0;
    UpgradeRunning = 0;
    std::error_code ignored;
    if (!logFolder.empty()) std::filesystem::remove_all(logFolder, ignored);
  }

  // Panels a test builds live in the test; the globals must not outlive them.
  static void ForgetPanels() {
    WindowButtonsPanel = ProfileBarPanel = ProfileSelectionPanel = SliderPanel = nullptr;
    RearLightCheck = FrontLightCheck = LevelLowCheck = LevelMedCheck = LevelHighCheck = nullptr;
    AngleSlider = nullptr;
  }

  // A 1024 by 600 window for input that goes through the frame function (presses land in it,
  // the window drag moves it); closed at tear-down at the latest.
  void OpenWindow(int left = 0, int top = 0) {
    platform::Platform& os = platform::Current();
    ASSERT_TRUE(os.StartVideo()) << os.LastError();
    platform::WindowSpec spec;
    spec.title = "shell test";
    spec.bounds = {left, top, 1024, 600};
    spec.borderless = true;
    window = os.OpenWindow(spec);
    ASSERT_NE(window, nullptr) << os.LastError();
    engine.window = window;
  }
  void CloseWindow() {
    if (window == nullptr) return;
    engine.window = nullptr;
    platform::Current().CloseWindow(window);
    platform::Current().StopVideo();
    window = nullptr;
  }

  // Everything the engine logged during the test.
  std::string LogText() const {
    std::ifstream in(logFolder + "/shell.log", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // Addresses handed to the browser, and the result the browser gives.
  static std::vector<std::string>& opened() {
    static std::vector<std::string> urls;
    return urls;
  }
  static int& browserResult() {
    static int result = SHELL_OPENED;
    return result;
  }
  static int RecordUrl(const char* url) {
    opened().push_back(url);
    return browserResult();
  }

  // A press where the pointer is; a real pointer arrives there with a move first.
  void Press(float x, float y) {
    engine.input.BuildEvent(EVENT_MOUSE_MOVE, 0, 0, 0, x, y);
    engine.input.BuildEvent(EVENT_BUTTON_DOWN, VK_LBUTTON, 0, 0, x, y);
    engine.input.UpdateMouseInside();
  }
  void Release(float x, float y) {
    engine.input.BuildEvent(EVENT_BUTTON_UP, VK_LBUTTON, 0, 0, x, y);
    engine.input.UpdateMouseInside();
  }
  void KeyDown(int key) { engine.input.BuildEvent(EVENT_KEY_DOWN, key, 0, 0, -1, -1); }
  // One pass of the frame loop: the frame function, then the per-frame input is cleared.
  bool Frame() {
    bool end = RunFrame(engine);
    engine.input.ClearFrame();
    return end;
  }

  std::string logFolder;
  platform::NativeWindow window = nullptr;
  EngineImpl engine;
  ScriptedDialogs dialogs;
  ScreenProfileControls profileControls;  // the program's own, over the widget globals
};
