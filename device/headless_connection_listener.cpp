#include "device/headless_connection_listener.h"

#include "common/log.h"

void HeadlessConnectionListener::StartUpgradeWorker() {
  Log("Firmware upgrade requested on reconnection; not started without the update screen");
}
