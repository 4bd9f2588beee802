#pragma once
// What connecting and disconnecting the receiver must tell the layers above the wheel link: the
// screen enables or disables its controls, and the upgrade worker starts when a staged upgrade
// asks for it. (The profiles read reach the controls through the profile mapping, which the
// connection calls directly.) The program installs its implementation at start-up; the
// command-line tool and the tests install their own.

class ConnectionListener {
 public:
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
