#include "app/screen_connection_listener.h"

#include "app/main_screen.h"
#include "device/firmware_upgrade.h"

void ScreenConnectionListener::SetControlsEnabled(int on) {
  ::SetControlsEnabled(on);
}

void ScreenConnectionListener::StartUpgradeWorker() {
  StartFirmwareUpgrade();
}
