#include "app/screen_connection_listener.h"

#include "app/main_screen.h"
#include "common/log.h"

void ScreenConnectionListener::SetControlsEnabled(int on) {
  ::SetControlsEnabled(on);
}

void ScreenConnectionListener::StartUpgradeWorker() {
  Log("Firmware upgrade requested, but this build has no upgrade worker");
}
