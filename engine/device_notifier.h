#pragma once
// Arrival and removal of HID devices, watched through a udev monitor on the hidraw subsystem
// and read without blocking from the engine's message pump.

#include <cstdint>
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

// The engine's message pump polls it once per iteration (EngineImpl::SetDeviceNotificationSource).
class DeviceNotifier final : public DeviceNotificationSource {
 public:
  using Deliver = void (*)(const DeviceNotice& notice, void* context);

  DeviceNotifier() = default;
  ~DeviceNotifier();
  DeviceNotifier(const DeviceNotifier&) = delete;
  DeviceNotifier& operator=(const DeviceNotifier&) = delete;

  // Starts watching; false when udev cannot be reached.
  bool Open();
  bool IsOpen() const { return monitor_ != nullptr; }
  // Hands every pending notice to `deliver` without waiting for more; returns how many.
  int Poll(Deliver deliver, void* context);
  // Delivers every pending notice to the engine's device-change function.
  void Poll(EngineImpl& engine) override;

 private:
  void Close();

  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
};
