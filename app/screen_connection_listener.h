#pragma once
// How the receiver connection reaches the customiser's screen. Start-up installs one.

#include "device/connection_listener.h"

class ScreenConnectionListener final : public ConnectionListener {
 public:
  // The main screen's SetControlsEnabled.
  void SetControlsEnabled(int on) override;
  // Starts the firmware upgrade worker with the update screen's pauses.
  void StartUpgradeWorker() override;
};
