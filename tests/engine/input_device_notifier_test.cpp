// Device notices from udev: the translation of actions, and a monitor that never blocks.
#include <gtest/gtest.h>

#include <vector>

#include "engine/device_notifier.h"
#include "engine/engine.h"

namespace {

TEST(DeviceNoticeFromUdev, AddAndRemoveBecomeArrivalAndRemoval) {
  DeviceNotice notice;
  ASSERT_TRUE(DeviceNoticeFromUdev("add", "/dev/hidraw2", &notice));
  EXPECT_EQ(notice.event, DBT_DEVICEARRIVAL);
  EXPECT_EQ(notice.path, "/dev/hidraw2");
  ASSERT_TRUE(DeviceNoticeFromUdev("remove", "/dev/hidraw7", &notice));
  EXPECT_EQ(notice.event, DBT_DEVICEREMOVECOMPLETE);
  EXPECT_EQ(notice.path, "/dev/hidraw7");
}

TEST(DeviceNoticeFromUdev, OtherActionsAndMissingNodesGiveNoNotice) {
  DeviceNotice notice;
  notice.event = 1;
  for (const char* action : {"change", "bind", "unbind", "move", "online", ""}) {
    EXPECT_FALSE(DeviceNoticeFromUdev(action, "/dev/hidraw2", &notice)) << action;
  }
  EXPECT_FALSE(DeviceNoticeFromUdev(nullptr, "/dev/hidraw2", &notice));
  EXPECT_FALSE(DeviceNoticeFromUdev("add", nullptr, &notice));
  EXPECT_FALSE(DeviceNoticeFromUdev("add", "", &notice));
  EXPECT_EQ(notice.event, 1u) << "a refused notice is left as it was";
}

void Collect(const DeviceNotice& notice, void* context) {
  static_cast<std::vector<DeviceNotice>*>(context)->push_back(notice);
}

TEST(DeviceNotifier, PollReturnsAtOnceWithoutEvents) {
  DeviceNotifier notifier;
  std::vector<DeviceNotice> notices;
  EXPECT_EQ(notifier.Poll(Collect, &notices), 0) << "a notifier that is not open has nothing";
  if (!notifier.Open()) GTEST_SKIP() << "udev monitor not available here";
  EXPECT_TRUE(notifier.IsOpen());
  // Nobody plugs a HID device in during the test, so nothing is pending and nothing waits.
  EXPECT_EQ(notifier.Poll(Collect, &notices), 0);
  EXPECT_TRUE(notices.empty());
  EXPECT_TRUE(notifier.Open()) << "opening again replaces the monitor";
}

}  // namespace
