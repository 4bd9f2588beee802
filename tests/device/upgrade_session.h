#pragma once
// The program's state around a firmware upgrade, for the device tests: the backend, listener and
// profile controls installed, no upgrade under way, and the receiver connected as the program
// connects it; afterwards the worker stopped and everything put back.

#include "common/app_state.h"
#include "device/connection.h"
#include "device/connection_listener.h"
#include "device/firmware_upgrade.h"
#include "device/hid_link.h"
#include "device/progress.h"
#include "profile/profile_controls.h"
#include "profile/profile_state.h"

inline void ConnectBeforeUpgrade(HidBackend* backend, ConnectionListener* listener,
                                 ProfileControls* controls) {
  SetCurrentHidBackend(backend);
  SetConnectionListener(listener);
  InitProfileState();
  SetProfileControls(controls);
  AppState = APP_NO_RECEIVER;
  StateBeforeUnplug = APP_MAIN_SCREEN;
  FirmwareOutOfDate = 0;
  UpgradeAfterReconnect = 0;
  UpgradeRunning = 0;
  ProgressPercent = 0;
  ProgressMessage = nullptr;
  ConnectReceiver(nullptr);
}

inline void EndUpgradeSession() {
  StopFirmwareUpgrade();
  DisconnectReceiver();
  SetProfileControls(nullptr);
  SetConnectionListener(nullptr);
  SetCurrentHidBackend(nullptr);
}
