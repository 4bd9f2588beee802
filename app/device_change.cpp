#include "app/device_change.h"

#include <SDL2/SDL.h>

#include <cstring>

#include "app/shell_engine.h"
#include "app/shell_hooks.h"
#include "engine/device_notifier.h"
#include "engine/engine_impl.h"

namespace {

// Gives the new device node a moment to settle before it is opened.
constexpr Uint32 kSettleMs = 100;

DeviceNotifier notifier;

bool ReceiverConnected() {
  return receiverHooks.isConnected != nullptr && receiverHooks.isConnected();
}

// Removal notices come for every HID device; pulling out a mouse must not drop the receiver.
bool IsConnectedReceiver(const DeviceInterfaceRecord* device) {
  if (receiverHooks.connectedPath == nullptr || device == nullptr || device->path == nullptr) {
    return true;
  }
  const char* open = receiverHooks.connectedPath();
  return open == nullptr || std::strcmp(open, device->path) == 0;
}

}  // namespace

bool DeviceChangeFunc(WindowHandle /*window*/, std::uint32_t /*message*/, std::uintptr_t event,
                      std::intptr_t record) {
  SDL_Delay(kSettleMs);
  const auto* device = reinterpret_cast<const DeviceInterfaceRecord*>(record);
  if (event == DBT_DEVICEARRIVAL) {
    if (ReceiverConnected() || device == nullptr || device->path == nullptr ||
        device->deviceType != DBT_DEVTYP_DEVICEINTERFACE) {
      return true;
    }
    ShellLog("INSERTED DEVICENAME: %s\n", device->path);
    if (receiverHooks.connect != nullptr) receiverHooks.connect(device->path);
  } else if (event == DBT_DEVICEREMOVECOMPLETE) {
    if (ReceiverConnected() && IsConnectedReceiver(device) && receiverHooks.disconnect != nullptr) {
      receiverHooks.disconnect();
    }
  }
  return true;
}

bool RegisterDeviceNotifications(DeviceNotificationSource* source) {
  Engine* engine = ShellEngine();
  if (engine != nullptr && source == nullptr && notifier.Open()) source = &notifier;
  if (engine == nullptr || source == nullptr) {
    ShellLog("Notification failure");
    return false;
  }
  // EngineImpl is the one implementation of Engine.
  static_cast<EngineImpl*>(engine)->SetDeviceNotificationSource(source);
  return true;
}
