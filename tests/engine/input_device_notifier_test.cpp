// Device notices from udev: the translation of actions, and a monitor that never blocks.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
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

void Touch(const std::string& path) {
  const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
  ASSERT_GE(fd, 0) << path;
  close(fd);
}

// Without udevd (no control socket), nodes are watched in the device folder itself: hidraw nodes
// made and deleted become arrivals and removals, in order, and nothing else does.
TEST(DeviceNotifier, WithoutUdevdHidrawNodesInTheFolderAreWatched) {
  char folder[] = "/tmp/notifier-dev.XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string dev = folder;
  DeviceNotifier notifier;
  ASSERT_TRUE(notifier.Open((dev + "/no-udev-control").c_str(), folder));
  EXPECT_TRUE(notifier.WatchesDevFolder());
  for (const char* name : {"hidraw3", "tty7", "hidraw", "hidrawx", "hidraw12"})
    Touch(dev + "/" + name);
  unlink((dev + "/hidraw3").c_str());
  unlink((dev + "/tty7").c_str());
  std::vector<DeviceNotice> notices;
  notifier.Poll(Collect, &notices);
  ASSERT_EQ(notices.size(), 3u);
  EXPECT_EQ(notices[0].event, DBT_DEVICEARRIVAL);
  EXPECT_EQ(notices[0].path, dev + "/hidraw3");
  EXPECT_EQ(notices[1].event, DBT_DEVICEARRIVAL);
  EXPECT_EQ(notices[1].path, dev + "/hidraw12");
  EXPECT_EQ(notices[2].event, DBT_DEVICEREMOVECOMPLETE);
  EXPECT_EQ(notices[2].path, dev + "/hidraw3");
  EXPECT_EQ(notifier.Poll(Collect, &notices), 0) << "each change is delivered once";
  for (const char* name : {"hidraw", "hidrawx", "hidraw12"}) unlink((dev + "/" + name).c_str());
  rmdir(folder);
}

TEST(DeviceNotifier, WithUdevdOnlyTheMonitorListens) {
  char folder[] = "/tmp/notifier-dev.XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string dev = folder;
  Touch(dev + "/control");
  DeviceNotifier notifier;
  if (!notifier.Open((dev + "/control").c_str(), folder)) GTEST_SKIP() << "no udev monitor here";
  EXPECT_FALSE(notifier.WatchesDevFolder());
  Touch(dev + "/hidraw4");
  std::vector<DeviceNotice> notices;
  notifier.Poll(Collect, &notices);
  EXPECT_TRUE(notices.empty()) << "a node in the folder is udev's to report, not the watch's";
  unlink((dev + "/hidraw4").c_str());
  unlink((dev + "/control").c_str());
  rmdir(folder);
}

}  // namespace
