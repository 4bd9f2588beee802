#pragma once
// Arrival and removal of HID devices, watched through a udev monitor on the hidraw subsystem
// and read without blocking from the engine's message pump. Where no udevd runs (containers,
// sandboxes, minimal systems) the monitor hears nothing, so /dev is watched with inotify for
// hidraw nodes instead; only one of the two ever runs, so no change is delivered twice.
// On Windows a hidden message window registered for the HID interface class hears
// WM_DEVICECHANGE, and its notices carry the device interface's path.

#include <cstdint>
#include <deque>
#include <string>

#include "engine/engine_impl.h"

struct udev;
struct udev_monitor;

// One arrival or removal, as the device-change function receives it.
struct DeviceNotice {
  std::uintptr_t event = 0;  // DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE
  std::string path;          // the device node, e.g. "/dev/hidraw3"
};

// The notice for a udev action on a device node; false for actions other than "add" and
// "remove" and for devices without a node.
bool DeviceNoticeFromUdev(const char* action, const char* deviceNode, DeviceNotice* notice);

// The notice for an inotify event on `name` in /dev (`created`: made, else deleted); false for
// names other than hidraw nodes.
bool DeviceNoticeFromDevEntry(const char* name, bool created, DeviceNotice* notice);

// The engine's message pump polls it once per iteration (EngineImpl::SetDeviceNotificationSource).
class DeviceNotifier final : public DeviceNotificationSource {
 public:
  using Deliver = void (*)(const DeviceNotice& notice, void* context);

  DeviceNotifier() = default;
  ~DeviceNotifier();
  DeviceNotifier(const DeviceNotifier&) = delete;
  DeviceNotifier& operator=(const DeviceNotifier&) = delete;

  // Starts watching: the udev monitor where udevd runs, else /dev through inotify; false when
  // neither can be set up. `udevControl` is the socket whose presence shows a running udevd.
  // On Windows both are ignored.
  bool Open(const char* udevControl = "/run/udev/control", const char* devFolder = "/dev");
  bool IsOpen() const;
  bool WatchesDevFolder() const;
  // Hands every pending notice to `deliver` without waiting for more; returns how many.
  int Poll(Deliver deliver, void* context);
  // Delivers every pending notice to the engine's device-change function.
  void Poll(EngineImpl& engine) override;

 private:
  void Close();
  bool OpenMonitor();
  bool OpenDevWatch(const char* devFolder);
  int PollMonitor(Deliver deliver, void* context);
  int PollDevWatch(Deliver deliver, void* context);

#if defined(_WIN32)
  void* window_ = nullptr;        // the message window (HWND)
  void* registration_ = nullptr;  // its device notification (HDEVNOTIFY)
  std::deque<DeviceNotice> heard_;  // what its window procedure heard, not delivered yet
#else
  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
  int inotify_ = -1;
  std::string devFolder_;
#endif
};
