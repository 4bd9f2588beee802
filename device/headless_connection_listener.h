#pragma once
// The connection listener of programs without a screen, such as the command-line tool.

#include "device/connection_listener.h"

class HeadlessConnectionListener final : public ConnectionListener {
 public:
  // There are no controls to enable: the profiles stay in ProfileSet for the caller to use.
  void SetControlsEnabled(int /*on*/) override {}
  // A program without a screen never stages an upgrade that a later connection would continue
  // (only the update screen sets UpgradeAfterReconnect), so this is not expected to be called;
  // if it is, the request is logged and no worker starts.
  void StartUpgradeWorker() override;
};
