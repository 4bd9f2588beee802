#include "app/shell_wiring.h"

#include "app/shell_hooks.h"
#include "device/connection.h"

void WireShellToReceiver() {
  receiverHooks.connect = ConnectReceiver;
  receiverHooks.disconnect = DisconnectReceiver;
  receiverHooks.isConnected = [] { return ReceiverConnected != 0; };
  receiverHooks.firmwareVersion = [] { return static_cast<std::uint32_t>(WheelFirmwareVersion); };
  receiverHooks.firmwareOutOfDate = [] { return FirmwareOutOfDate != 0; };
  receiverHooks.clearFirmwareOutOfDate = [] { FirmwareOutOfDate = 0; };
  settingsHooks.newerAppAvailable = [] { return NewerAppAvailable != 0; };
}
