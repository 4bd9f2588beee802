#pragma once
// The built main screen with a virtual receiver plugged in through the device-change function, so
// that it shows the factory profiles of a fresh receiver in AppState 6; input goes through the
// frame function, dialogs answer from the test.

#include <SDL2/SDL.h>

#include <cstdint>
#include <vector>

#include "app/device_change.h"
#include "app/main_screen.h"
#include "app/screen_connection_listener.h"
#include "app/skin_regions.h"
#include "device/connection_listener.h"
#include "device/virtual_receiver.h"
#include "tests/app/shell_fixture.h"
#include "ui/skin_link.h"

class EditingTest : public ShellTest {
 protected:
  static constexpr const char* kReceiverNode = "/dev/hidraw7";

  void SetUp() override {
    ShellTest::SetUp();
    UiLinkSkin(kSkinRegions, kSkinRegionCount);
    backend.Add(&receiver);
    SetCurrentHidBackend(&backend);
    SetConnectionListener(&screen);
    receiver.Unplug();
    receiver.DeliverDeviceChanges(nullptr);
    BuildMainScreen();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window = SDL_CreateWindow("editing", 0, 0, 1024, 600, SDL_WINDOW_BORDERLESS);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    engine.window = window;
    Plug();
    ASSERT_EQ(AppState, 6);
  }
  void TearDown() override {
    engine.window = nullptr;
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    DisconnectReceiver();
    SetConnectionListener(nullptr);
    SetCurrentHidBackend(nullptr);
    ReleaseMainScreen();
    UiLinkSkin(nullptr, 0);
    ShellTest::TearDown();
  }

  void Plug() {
    receiver.Plug();
    DeviceInterfaceRecord record{DBT_DEVTYP_DEVICEINTERFACE, kReceiverNode};
    DeviceChangeFunc(nullptr, WM_DEVICECHANGE, DBT_DEVICEARRIVAL,
                     reinterpret_cast<std::intptr_t>(&record));
  }
  void Unplug() {
    receiver.Unplug();
    DeviceInterfaceRecord record{DBT_DEVTYP_DEVICEINTERFACE, kReceiverNode};
    DeviceChangeFunc(nullptr, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                     reinterpret_cast<std::intptr_t>(&record));
  }

  // One frame with the button held at (x, y).
  bool HoldAt(float x, float y) {
    Press(x, y);
    return Frame();
  }
  // One frame with the button up at (x, y).
  bool UpAt(float x, float y) {
    engine.input.BuildEvent(EVENT_MOUSE_MOVE, 0, 0, 0, x, y);
    Release(x, y);
    return Frame();
  }
  bool Click(float x, float y) {
    HoldAt(x, y);
    return UpAt(x, y);
  }
  // A press at the start, a few frames moving with the button held, the release at the end.
  void DragFromTo(float x1, float y1, float x2, float y2) {
    HoldAt(x1, y1);
    for (int step = 1; step <= 4; ++step) {
      HoldAt(x1 + (x2 - x1) * step / 4, y1 + (y2 - y1) * step / 4);
    }
    UpAt(x2, y2);
  }
  // Frames with the button up until AppState is 6 again; how many ran.
  int FramesUntilMainScreen() {
    int frames = 0;
    while (AppState != 6 && frames < 200) {
      UpAt(500, 400);
      ++frames;
    }
    return frames;
  }

  std::vector<std::uint8_t> FlashBytes(std::uint32_t address, std::uint32_t length) const {
    std::vector<std::uint8_t> bytes(length);
    receiver.ReadFlash(address, bytes.data(), length);
    return bytes;
  }

  // Window pixels inside the widgets and tiles the tests press.
  static constexpr float kDisc1X = 809, kDisc2X = 870, kDisc3X = 932, kDiscY = 35;
  static constexpr float kClearX = 84, kAssignX = 199, kResetX = 308, kBarY = 520;
  static constexpr float kLoadX = 595, kSaveX = 663, kFileY = 35;
  static constexpr float kRearLightX = 419, kFrontLightX = 513;
  static constexpr float kHighDotX = 639, kDotY = 541;
  static constexpr float kTileAX = 715, kTileAY = 530;  // palette tile A at (702, 515)
  // Control 5 (slot 14), showing B in factory profile 1: its polygon and its label above.
  static constexpr float kControl5X = 588, kControl5Y = 272;
  static constexpr float kLabel5X = 588, kLabel5Y = 235;
  // Control 7 (slot 16), showing Y.
  static constexpr float kControl7X = 431, kControl7Y = 272;

  VirtualReceiver receiver{kReceiverNode};
  VirtualHidBackend backend;
  ScreenConnectionListener screen;
  SDL_Window* window = nullptr;
};
