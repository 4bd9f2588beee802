// Receivers plugged in and pulled out: which notices connect and disconnect.
#include "app/device_change.h"

#include "tests/app/shell_fixture.h"

namespace {

bool connected = false;
std::vector<std::string> connects;
int disconnects = 0;
const char* openPath = nullptr;

class DeviceChange : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    connected = false;
    connects.clear();
    disconnects = 0;
    openPath = nullptr;
    receiverHooks.isConnected = [] { return connected; };
    receiverHooks.connect = [](const char* path) {
      connects.push_back(path != nullptr ? path : "(first)");
      connected = true;
    };
    receiverHooks.disconnect = [] {
      ++disconnects;
      connected = false;
    };
  }

  bool Notify(std::uintptr_t event, const char* path,
              std::uint32_t type = DBT_DEVTYP_DEVICEINTERFACE) {
    DeviceInterfaceRecord record{type, path};
    return DeviceChangeFunc(nullptr, WM_DEVICECHANGE, event,
                            reinterpret_cast<std::intptr_t>(&record));
  }
};

TEST_F(DeviceChange, ArrivalConnectsTheReceiverAtItsPath) {
  EXPECT_TRUE(Notify(DBT_DEVICEARRIVAL, "/dev/hidraw3"));
  ASSERT_EQ(connects.size(), 1u);
  EXPECT_EQ(connects[0], "/dev/hidraw3");
  EXPECT_NE(LogText().find("INSERTED DEVICENAME: /dev/hidraw3\n"), std::string::npos);
}

TEST_F(DeviceChange, TheEnginesNoticesReachTheDeviceChangeFunction) {
  engine.System_SetState(STATE_DEVICE_CHANGE_FUNC, DeviceChangeFunc);
  EXPECT_TRUE(engine.DeliverDeviceChange(DBT_DEVICEARRIVAL, "/dev/hidraw5"));
  EXPECT_TRUE(engine.DeliverDeviceChange(DBT_DEVICEREMOVECOMPLETE, "/dev/hidraw5"));
  ASSERT_EQ(connects.size(), 1u);
  EXPECT_EQ(connects[0], "/dev/hidraw5");
  EXPECT_EQ(disconnects, 1);
}

TEST_F(DeviceChange, RegistrationNeedsTheEngine) {
  SetShellEngine(nullptr);
  EXPECT_FALSE(RegisterDeviceNotifications());
  SetShellEngine(&engine);
  if (!RegisterDeviceNotifications()) {
    EXPECT_NE(LogText().find("Notification failure"), std::string::npos);
  }
  engine.SetDeviceNotificationSource(nullptr);
}

TEST_F(DeviceChange, ArrivalIsIgnoredWhileConnected) {
  connected = true;
  EXPECT_TRUE(Notify(DBT_DEVICEARRIVAL, "/dev/hidraw4"));
  EXPECT_TRUE(connects.empty());
  EXPECT_EQ(LogText().find("INSERTED"), std::string::npos);
}

TEST_F(DeviceChange, ArrivalOfAnotherRecordTypeOrWithoutRecordIsIgnored) {
  EXPECT_TRUE(Notify(DBT_DEVICEARRIVAL, "/dev/hidraw3", 3));
  EXPECT_TRUE(DeviceChangeFunc(nullptr, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0));
  EXPECT_TRUE(connects.empty());
}

TEST_F(DeviceChange, RemovalDisconnectsTheConnectedReceiver) {
  connected = true;
  EXPECT_TRUE(Notify(DBT_DEVICEREMOVECOMPLETE, "/dev/hidraw3"));
  EXPECT_EQ(disconnects, 1);
}

TEST_F(DeviceChange, RemovalIsIgnoredWhileNotConnected) {
  EXPECT_TRUE(Notify(DBT_DEVICEREMOVECOMPLETE, "/dev/hidraw3"));
  EXPECT_EQ(disconnects, 0);
}

TEST_F(DeviceChange, RemovalOfAnotherDeviceKeepsTheReceiver) {
  connected = true;
  openPath = "/dev/hidraw3";
  receiverHooks.connectedPath = [] { return openPath; };
  EXPECT_TRUE(Notify(DBT_DEVICEREMOVECOMPLETE, "/dev/hidraw1"));
  EXPECT_EQ(disconnects, 0);
  EXPECT_TRUE(Notify(DBT_DEVICEREMOVECOMPLETE, "/dev/hidraw3"));
  EXPECT_EQ(disconnects, 1);
}

TEST_F(DeviceChange, OtherEventsAreIgnored) {
  constexpr std::uintptr_t kQueryRemove = 0x8001;
  constexpr std::uintptr_t kNodesChanged = 0x0007;
  connected = true;
  EXPECT_TRUE(Notify(kQueryRemove, "/dev/hidraw3"));
  EXPECT_TRUE(Notify(kNodesChanged, "/dev/hidraw3"));
  EXPECT_EQ(disconnects, 0);
  EXPECT_TRUE(connects.empty());
}

TEST_F(DeviceChange, WithoutAReceiverPartNothingHappens) {
  receiverHooks = {};
  EXPECT_TRUE(Notify(DBT_DEVICEARRIVAL, "/dev/hidraw3"));
  EXPECT_TRUE(Notify(DBT_DEVICEREMOVECOMPLETE, "/dev/hidraw3"));
}

}  // namespace
