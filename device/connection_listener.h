#pragma once
// What connecting and disconnecting the receiver must tell the layers above the wheel link: the
// screen shows the profiles read and enables or disables its controls, and the upgrade worker
// starts when a staged upgrade asks for it. The program installs its implementation at start-up;
// the command-line tool and the tests install their own.

class ConnectionListener {
 public:
  // Profile record `profile` (0..2) of ProfileSet was read: convert it into the controls' saved
  // state and show the current profile. Called for 0, 1 and 2 in that order.
  virtual void ProfileToControls(int profile) = 0;
  // Enables (1) or disables (0) the three main panels; with 1 the slider also shows the shown
  // profile's angles. The screen-state rules stay with the connection.
  virtual void SetControlsEnabled(int on) = 0;
  // Starts the firmware-upgrade worker thread; AppState is already 9.
  virtual void StartUpgradeWorker() = 0;

 protected:
  ~ConnectionListener() = default;
};

// Makes `listener` the one ConnectReceiver and DisconnectReceiver tell; it must outlive every
// call. Null removes it, after which connecting logs the omission and tells nobody.
void SetConnectionListener(ConnectionListener* listener);
// The listener installed, or null.
ConnectionListener* CurrentConnectionListener();
