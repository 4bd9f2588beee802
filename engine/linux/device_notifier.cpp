#include "engine/device_notifier.h"

#include <libudev.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>

#include "engine/engine.h"

namespace {

constexpr const char* kSubsystem = "hidraw";
// Events come from udevd after it has set up the node, so the node is ready when we hear of it.
constexpr const char* kUdevEvents = "udev";
// A storm of events must not hold the message pump; the rest waits for the next iteration.
constexpr int kMaxNoticesPerPoll = 32;

}  // namespace

bool DeviceNoticeFromUdev(const char* action, const char* deviceNode, DeviceNotice* notice) {
  if (action == nullptr || deviceNode == nullptr || deviceNode[0] == '\0') return false;
  if (std::strcmp(action, "add") == 0) {
    notice->event = DBT_DEVICEARRIVAL;
  } else if (std::strcmp(action, "remove") == 0) {
    notice->event = DBT_DEVICEREMOVECOMPLETE;
  } else {
    return false;
  }
  notice->path = deviceNode;
  return true;
}

bool DeviceNoticeFromDevEntry(const char* name, bool created, DeviceNotice* notice) {
  static constexpr char kPrefix[] = "hidraw";
  if (name == nullptr || std::strncmp(name, kPrefix, sizeof kPrefix - 1) != 0) return false;
  const char* number = name + sizeof kPrefix - 1;
  if (*number == '\0') return false;
  for (const char* c = number; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
  }
  notice->event = created ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
  notice->path = std::string("/dev/") + name;
  return true;
}

bool DeviceNotifier::IsOpen() const {
  return monitor_ != nullptr || inotify_ >= 0;
}

bool DeviceNotifier::WatchesDevFolder() const {
  return inotify_ >= 0;
}

bool DeviceNotifier::Open(const char* udevControl, const char* devFolder) {
  Close();
  // Without udevd the monitor opens and then stays silent.
  if (access(udevControl, F_OK) == 0 && OpenMonitor()) return true;
  return OpenDevWatch(devFolder);
}

bool DeviceNotifier::OpenDevWatch(const char* devFolder) {
  inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (inotify_ < 0) return false;
  if (inotify_add_watch(inotify_, devFolder, IN_CREATE | IN_DELETE | IN_ONLYDIR) < 0) {
    Close();
    return false;
  }
  devFolder_ = devFolder;
  return true;
}

bool DeviceNotifier::OpenMonitor() {
  udev_ = udev_new();
  if (udev_ == nullptr) return false;
  monitor_ = udev_monitor_new_from_netlink(udev_, kUdevEvents);
  if (monitor_ == nullptr ||
      udev_monitor_filter_add_match_subsystem_devtype(monitor_, kSubsystem, nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor_) < 0) {
    Close();
    return false;
  }
  return true;
}

int DeviceNotifier::Poll(Deliver deliver, void* context) {
  if (inotify_ >= 0) return PollDevWatch(deliver, context);
  return PollMonitor(deliver, context);
}

int DeviceNotifier::PollDevWatch(Deliver deliver, void* context) {
  int delivered = 0;
  // Room for a burst of events; what does not fit is read on the next iteration.
  alignas(inotify_event) char buffer[kMaxNoticesPerPoll * (sizeof(inotify_event) + 32)];
  const ssize_t got = read(inotify_, buffer, sizeof buffer);
  for (ssize_t at = 0; got > 0 && at < got;) {
    const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
    at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    DeviceNotice notice;
    const char* name = event->len > 0 ? event->name : nullptr;
    if ((event->mask & IN_ISDIR) == 0 &&
        DeviceNoticeFromDevEntry(name, (event->mask & IN_CREATE) != 0, &notice)) {
      notice.path = devFolder_ + "/" + name;
      deliver(notice, context);
      ++delivered;
    }
  }
  return delivered;
}

int DeviceNotifier::PollMonitor(Deliver deliver, void* context) {
  if (monitor_ == nullptr) return 0;
  int delivered = 0;
  pollfd waiting{udev_monitor_get_fd(monitor_), POLLIN, 0};
  while (delivered < kMaxNoticesPerPoll && poll(&waiting, 1, 0) > 0) {
    udev_device* device = udev_monitor_receive_device(monitor_);
    if (device == nullptr) break;
    DeviceNotice notice;
    if (DeviceNoticeFromUdev(udev_device_get_action(device), udev_device_get_devnode(device),
                             &notice)) {
      deliver(notice, context);
      ++delivered;
    }
    udev_device_unref(device);
  }
  return delivered;
}

void DeviceNotifier::Close() {
  if (monitor_ != nullptr) udev_monitor_unref(monitor_);
  if (udev_ != nullptr) udev_unref(udev_);
  if (inotify_ >= 0) close(inotify_);
  inotify_ = -1;
  monitor_ = nullptr;
  udev_ = nullptr;
}
