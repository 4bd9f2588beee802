#include "engine/device_notifier.h"

#include <libudev.h>
#include <poll.h>

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

DeviceNotifier::~DeviceNotifier() {
  Close();
}

bool DeviceNotifier::Open() {
  Close();
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

void DeviceNotifier::Poll(EngineImpl& engine) {
  Poll(
      [](const DeviceNotice& notice, void* context) {
        static_cast<EngineImpl*>(context)->DeliverDeviceChange(notice.event, notice.path.c_str());
      },
      &engine);
}

void DeviceNotifier::Close() {
  if (monitor_ != nullptr) udev_monitor_unref(monitor_);
  if (udev_ != nullptr) udev_unref(udev_);
  monitor_ = nullptr;
  udev_ = nullptr;
}
