#pragma once
// The virtual receiver's plug and unplug notices, handed to the engine's device-change function by
// the message pump just as it hands on the udev monitor's.

#include "device/virtual_receiver.h"
#include "engine/engine_impl.h"

class ReceiverNotices final : public DeviceNotificationSource {
 public:
  // The receiver is not owned and must outlive the notices.
  explicit ReceiverNotices(VirtualReceiver& receiver) : receiver_(receiver) {}

  // Delivers every notice the receiver queued since the last poll, arrivals as 0x8000 and
  // removals as 0x8004, with the receiver's path as the device node.
  void Poll(EngineImpl& engine) override;

 private:
  VirtualReceiver& receiver_;
};
