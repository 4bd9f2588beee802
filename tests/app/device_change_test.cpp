// Receivers plugged in and pulled out, through the program's own wiring: the engine's notices reach
// DeviceChangeFunc, which connects and disconnects a virtual receiver with the wheel link's own
// ConnectReceiver and DisconnectReceiver.
#include "app/device_change.h"

#include "app/screen_connection_listener.h"
#include "device/connection_listener.h"
#include "device/hid_link.h"
#include "device/virtual_receiver.h"
#include "device/wheel_protocol.h"
#include "tests/app/shell_fixture.h"

namespace {

constexpr const char* kReceiverNode = "/dev/hidraw3";

class DeviceChange : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    backend.Add(&receiver);
    SetCurrentHidBackend(&backend);
    SetConnectionListener(&screen);
  }
  void TearDown() override {
    DisconnectReceiver();
    SetConnectionListener(nullptr);
    SetCurrentHidBackend(nullptr);
    ShellTest::TearDown();
  }

  bool Notify(std::uintptr_t event, const char* path,
              std::uint32_t type = DBT_DEVTYP_DEVICEINTERFACE) {
    DeviceInterfaceRecord record{type, path};
    return DeviceChangeFunc(nullptr, WM_DEVICECHANGE, event,
                            reinterpret_cast<std::intptr_t>(&record));
  }

  // The receiver is open and still answers.
  bool LinkAnswers() {
    std::int32_t version = 0;
    return ReceiverLink != nullptr && ReadFirmwareVersion(*ReceiverLink, version) &&
           version == 0x0196;
  }

  VirtualReceiver receiver{kReceiverNode};
  VirtualHidBackend backend;
  ScreenConnectionListener screen;
  UIPanel profileBar{0, 0};  // outlives the disconnection at tear-down
};

TEST_F(DeviceChange, ArrivalConnectsTheReceiverAtItsPath) {
  EXPECT_TRUE(Notify(DBT_DEVICEARRIVAL, kReceiverNode));
  EXPECT_EQ(ReceiverConnected, 1);
  ASSERT_NE(ReceiverLink, nullptr);
  EXPECT_EQ(ReceiverLink->Path(), kReceiverNode);
  EXPECT_EQ(AppState, APP_MAIN_SCREEN);
  EXPECT_NE(LogText().find("INSERTED DEVICENAME: /dev/hidraw3\n"), std::string::npos);
}

TEST_F(DeviceChange, TheEnginesNoticesReachTheDeviceChangeFunction) {
  engine.System_SetState(STATE_DEVICE_CHANGE_FUNC, DeviceChangeFunc);
  EXPECT_TRUE(engine.DeliverDeviceChange(DBT_DEVICEARRIVAL, kReceiverNode));
  EXPECT_EQ(ReceiverConnected, 1);
  receiver.Unplug();
  EXPECT_TRUE(engine.DeliverDeviceChange(DBT_DEVICEREMOVECOMPLETE, kReceiverNode));
  EXPECT_EQ(ReceiverConnected, 0);
  EXPECT_EQ(ReceiverLink, nullptr);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
}

TEST_F(DeviceChange, RegistrationNeedsTheEngine) {
  SetShellEngine(nullptr);
  EXPECT_FALSE(RegisterDeviceNotifications());
  SetShellEngine(&engine);
  if (!RegisterDeviceNotifications()) {
    EXPECT_NE(LogText().find("Notification failure"), std::string::npos);
  }
}

TEST_F(DeviceChange, ArrivalIsIgnoredWhileConnected) {
  VirtualReceiver second("/dev/hidraw4");
  backend.Add(&second);
  ASSERT_TRUE(Notify(DBT_DEVICEARRIVAL, kReceiverNode));
  EXPECT_TRUE(Notify(DBT_DEVICEARRIVAL, "/dev/hidraw4"));
  ASSERT_NE(ReceiverLink, nullptr);
  EXPECT_EQ(ReceiverLink->Path(), kReceiverNode);
  EXPECT_EQ(LogText().find("INSERTED DEVICENAME: /dev/hidraw4"), std::string::npos);
  DisconnectReceiver();  // before `second` goes away
}

TEST_F(DeviceChange, ArrivalOfAnotherRecordTypeOrWithoutRecordIsIgnored) {
  EXPECT_TRUE(Notify(DBT_DEVICEARRIVAL, kReceiverNode, 3));
  EXPECT_TRUE(DeviceChangeFunc(nullptr, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0));
  EXPECT_EQ(ReceiverConnected, 0);
  EXPECT_EQ(ReceiverLink, nullptr);
}

TEST_F(DeviceChange, RemovalDisconnectsTheConnectedReceiver) {
  ASSERT_TRUE(Notify(DBT_DEVICEARRIVAL, kReceiverNode));
  AppState = APP_PRESET_DIALOG;
  receiver.Unplug();
  EXPECT_TRUE(Notify(DBT_DEVICEREMOVECOMPLETE, kReceiverNode));
  EXPECT_EQ(ReceiverConnected, 0);
  EXPECT_EQ(ReceiverLink, nullptr);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
  EXPECT_EQ(StateBeforeUnplug, APP_PRESET_DIALOG);
}

TEST_F(DeviceChange, RemovalIsIgnoredWhileNotConnected) {
  // Open but incomplete: the version answered, the profiles did not.
  receiver.SetFaults({.onlyCode = 0x0E, .noReply = true});
  ASSERT_TRUE(Notify(DBT_DEVICEARRIVAL, kReceiverNode));
  ASSERT_NE(ReceiverLink, nullptr);
  ASSERT_EQ(ReceiverConnected, 0);
  EXPECT_TRUE(Notify(DBT_DEVICEREMOVECOMPLETE, kReceiverNode));
  EXPECT_NE(ReceiverLink, nullptr) << "the next arrival replaces the link, not a removal";
}

TEST_F(DeviceChange, RemovalOfAnotherDeviceKeepsTheReceiver) {
  ASSERT_TRUE(Notify(DBT_DEVICEARRIVAL, kReceiverNode));
  EXPECT_TRUE(Notify(DBT_DEVICEREMOVECOMPLETE, "/dev/hidraw1"));
  EXPECT_EQ(ReceiverConnected, 1);
  EXPECT_EQ(AppState, APP_MAIN_SCREEN);
  EXPECT_TRUE(LinkAnswers());

  receiver.Unplug();
  EXPECT_TRUE(Notify(DBT_DEVICEREMOVECOMPLETE, kReceiverNode));
  EXPECT_EQ(ReceiverConnected, 0);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
}

TEST_F(DeviceChange, TheMainPanelsFollowTheReceiver) {
  auto* control = new UIBase;  // owned by the panel
  profileBar.AddChild(control);
  ProfileBarPanel = &profileBar;
  control->SetState(false, true);

  ASSERT_TRUE(Notify(DBT_DEVICEARRIVAL, kReceiverNode));
  EXPECT_TRUE(control->enabled);
  receiver.Unplug();
  ASSERT_TRUE(Notify(DBT_DEVICEREMOVECOMPLETE, kReceiverNode));
  EXPECT_FALSE(control->enabled);
  EXPECT_TRUE(control->visible) << "disabled controls stay on screen";
}

TEST_F(DeviceChange, OtherEventsAreIgnored) {
  constexpr std::uintptr_t kQueryRemove = 0x8001;
  constexpr std::uintptr_t kNodesChanged = 0x0007;
  ASSERT_TRUE(Notify(DBT_DEVICEARRIVAL, kReceiverNode));
  EXPECT_TRUE(Notify(kQueryRemove, kReceiverNode));
  EXPECT_TRUE(Notify(kNodesChanged, kReceiverNode));
  EXPECT_EQ(ReceiverConnected, 1);
  EXPECT_TRUE(LinkAnswers());
}

}  // namespace
