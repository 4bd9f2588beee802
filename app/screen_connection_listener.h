#pragma once
// How the receiver connection reaches the customiser's screen. Start-up installs one.

#include "device/connection_listener.h"

class ScreenConnectionListener final : public ConnectionListener {
 public:
  // The main screen's SetControlsEnabled.
  void SetControlsEnabled(int on) override;
  // No upgrade worker exists yet: the request is logged and AppState stays 9.
  void StartUpgradeWorker() override;
};
