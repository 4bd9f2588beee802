#include "app/device_change.h"

#include "app/shell_engine.h"
#include "common/log.h"
#include "device/connection.h"
#include "device/hid_link.h"
#include "engine/platform/platform.h"

namespace {

// Gives the new device node a moment to settle before it is opened.
constexpr std::uint32_t kSettleMs = 100;

// Removal notices come for every HID device; pulling out a mouse must not drop the receiver. A
// notice without a path cannot be told apart, so it counts as the receiver's.
bool IsConnectedReceiver(const DeviceInterfaceRecord* device) {
  if (device == nullptr || device->path == nullptr || ReceiverLink == nullptr) return true;
  return ReceiverLink->Path() == device->path;
}

}  // namespace

bool DeviceChangeFunc(WindowHandle /*window*/, std::uint32_t /*message*/, std::uintptr_t event,
                      std::intptr_t record) {
  platform::Current().Clock().Sleep(kSettleMs);
  const auto* device = reinterpret_cast<const DeviceInterfaceRecord*>(record);
  if (event == DBT_DEVICEARRIVAL) {
    if (ReceiverConnected != 0 || device == nullptr || device->path == nullptr ||
        device->deviceType != DBT_DEVTYP_DEVICEINTERFACE) {
      return true;
    }
    Log("INSERTED DEVICENAME: %s\n", device->path);
    ConnectReceiver(device->path);
  } else if (event == DBT_DEVICEREMOVECOMPLETE) {
    if (ReceiverConnected != 0 && IsConnectedReceiver(device)) DisconnectReceiver();
  }
  return true;
}

bool RegisterDeviceNotifications(DeviceNotificationSource* source) {
  Engine* engine = ShellEngine();
  if (engine == nullptr || !engine->System_WatchDeviceChanges(source)) {
    Log("Notification failure");
    return false;
  }
  return true;
}
