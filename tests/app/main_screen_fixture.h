#pragma once
// The built main screen on an offscreen window, with a virtual receiver that comes and goes
// through the device-change function as the program's own notices would bring it. The receiver
// starts unplugged.

#include <cstdint>

#include "app/device_change.h"
#include "app/main_screen.h"
#include "app/screen_connection_listener.h"
#include "app/skin_regions.h"
#include "device/connection_listener.h"
#include "device/virtual_receiver.h"
#include "tests/app/shell_fixture.h"
#include "ui/skin_link.h"

class MainScreenTest : public ShellTest {
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
    // Clicks need a window to land in.
    OpenWindow();
  }
  void TearDown() override {
    CloseWindow();
    DisconnectReceiver();
    SetConnectionListener(nullptr);
    SetCurrentHidBackend(nullptr);
    ReleaseMainScreen();
    UiLinkSkin(nullptr, 0);
    ShellTest::TearDown();
  }

  void Plug() {
    receiver.Plug();
    Notify(DBT_DEVICEARRIVAL);
  }
  void Unplug() {
    receiver.Unplug();
    Notify(DBT_DEVICEREMOVECOMPLETE);
  }

  VirtualReceiver receiver{kReceiverNode};
  VirtualHidBackend backend;
  ScreenConnectionListener screen;

 private:
  static void Notify(std::uintptr_t event) {
    DeviceInterfaceRecord record{DBT_DEVTYP_DEVICEINTERFACE, kReceiverNode};
    DeviceChangeFunc(nullptr, WM_DEVICECHANGE, event, reinterpret_cast<std::intptr_t>(&record));
  }
};
