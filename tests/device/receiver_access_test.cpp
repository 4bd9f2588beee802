#include "device/receiver_access.h"

#include <gtest/gtest.h>

#include <string>

#include "common/log.h"
#include "device/connection.h"
#include "device/headless_connection_listener.h"
#include "device/hid_link.h"
#include "device/virtual_receiver.h"
#include "profile/headless_profile_controls.h"

namespace {

// Every line logged while a test runs.
std::string logged;

void KeepLine(const char* line) {
  logged += line;
  logged += '\n';
}

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

}  // namespace

TEST(ReceiverAccessLink, ADeniedReceiverIsRememberedAndAnOpenableOneStillFound) {
  VirtualReceiver denied("virtual:denied");
  denied.SetAccessDenied(true);
  VirtualHidBackend backend;
  backend.Add(&denied);
  HidLink link(backend);
  EXPECT_FALSE(link.OpenFirstReceiver());
  EXPECT_EQ(link.LastOpenError(), HidOpenError::kPermissionDenied);
  EXPECT_EQ(link.Path(), "virtual:denied");

  VirtualReceiver open("virtual:open");
  backend.Add(&open);
  ASSERT_TRUE(link.OpenFirstReceiver());
  EXPECT_EQ(link.LastOpenError(), HidOpenError::kNone);
  EXPECT_EQ(link.Path(), "virtual:open");
}

TEST(ReceiverAccessLink, AnOtherDeviceThatCannotBeOpenedIsNoReceiver) {
  VirtualReceiver mouse("virtual:mouse", 0x1234);
  mouse.SetAccessDenied(true);
  VirtualHidBackend backend;
  backend.Add(&mouse);
  HidLink link(backend);
  EXPECT_FALSE(link.OpenReceiverByPath("virtual:mouse", kReceiverArrivalProductId));
  EXPECT_EQ(link.LastOpenError(), HidOpenError::kNotPresent);
  EXPECT_FALSE(link.OpenReceiverByPath("virtual:nowhere", kReceiverProductId));
  EXPECT_EQ(link.LastOpenError(), HidOpenError::kNotPresent);
}

class ReceiverAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.Add(&receiver);
    SetCurrentHidBackend(&backend);
    SetConnectionListener(&listener);
    SetProfileControls(&controls);
    logged.clear();
    SetLogSink(KeepLine);
    receiver.SetAccessDenied(true);
  }
  void TearDown() override {
    DisconnectReceiver();
    NoteReceiverOpenResult(HidOpenError::kNotPresent, "");
    SetCurrentHidBackend(nullptr);
    SetLogSink(nullptr);
    SetConnectionListener(nullptr);
    SetProfileControls(nullptr);
  }

  VirtualReceiver receiver{"virtual:hidraw3"};
  HeadlessProfileControls controls;
  VirtualHidBackend backend;
  HeadlessConnectionListener listener;
};

TEST_F(ReceiverAccess, APresentReceiverThatMayNotBeOpenedIsNotAbsent) {
  ConnectReceiver(nullptr);
  EXPECT_EQ(ReceiverLink, nullptr);
  EXPECT_EQ(ReceiverConnected, 0);
  EXPECT_EQ(LastReceiverOpenError(), HidOpenError::kPermissionDenied);
  EXPECT_EQ(DeniedReceiverPath(), "virtual:hidraw3");
  ASSERT_NE(ReceiverUnavailableReason(), nullptr);
  EXPECT_NE(std::string(ReceiverUnavailableReason()).find("permission"), std::string::npos);

  const std::string log = logged;
  EXPECT_EQ(CountOf(log, "\n"), 1) << log;
  EXPECT_NE(log.find("virtual:hidraw3: permission denied"), std::string::npos) << log;
  EXPECT_NE(log.find("sudo cp packaging/60-corsaro270.rules /etc/udev/rules.d/ && sudo udevadm "
                     "control --reload && sudo udevadm trigger"),
            std::string::npos)
      << log;
}

TEST_F(ReceiverAccess, AnotherDeviceArrivingLeavesTheReasonAlone) {
  ConnectReceiver(nullptr);
  ConnectReceiver("virtual:some-mouse");
  EXPECT_EQ(LastReceiverOpenError(), HidOpenError::kPermissionDenied);
  EXPECT_EQ(CountOf(logged, "permission denied"), 1);
}

TEST_F(ReceiverAccess, TheReasonGoesOnceTheReceiverOpensOrIsGone) {
  ConnectReceiver("virtual:hidraw3");
  EXPECT_EQ(LastReceiverOpenError(), HidOpenError::kPermissionDenied);
  receiver.SetAccessDenied(false);
  ConnectReceiver("virtual:hidraw3");
  EXPECT_EQ(ReceiverConnected, 1);
  EXPECT_EQ(ReceiverUnavailableReason(), nullptr);

  DisconnectReceiver();
  receiver.SetAccessDenied(true);
  ConnectReceiver(nullptr);
  ASSERT_NE(ReceiverUnavailableReason(), nullptr);
  receiver.Unplug();
  ConnectReceiver(nullptr);
  EXPECT_EQ(LastReceiverOpenError(), HidOpenError::kNotPresent);
  EXPECT_EQ(ReceiverUnavailableReason(), nullptr);
}
