#include "app/shell_wiring.h"

#include "app/shell_hooks.h"
#include "device/connection.h"
#include "online/settings_document.h"

void WireShellToReceiver() {
  receiverHooks.connect = ConnectReceiver;
  receiverHooks.disconnect = DisconnectReceiver;
  receiverHooks.isConnected = [] { return ReceiverConnected != 0; };
  receiverHooks.firmwareVersion = [] { return static_cast<std::uint32_t>(WheelFirmwareVersion); };
  receiverHooks.firmwareOutOfDate = [] { return FirmwareOutOfDate != 0; };
  receiverHooks.clearFirmwareOutOfDate = [] { FirmwareOutOfDate = 0; };
  settingsHooks.newerAppAvailable = [] { return NewerAppAvailable != 0; };
}

void WireShellToSettings() {
  settingsHooks.downloadPage = [] { return Settings.downloadPage.c_str(); };
  settingsHooks.supportPage = [] { return Settings.supportPage.c_str(); };
}
