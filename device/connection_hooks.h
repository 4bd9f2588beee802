#pragma once
// What connecting and disconnecting the receiver needs from the screens and the upgrade. The
// program fills these at start-up; each one left null is skipped, which is what tests and the
// command-line tool want.

struct ConnectionHooks {
  // Converts profile record p (0..2) into the controls' saved state and shows the current one.
  void (*profileToControls)(int profile) = nullptr;
  // Enables (1) or disables (0) the three main panels; with 1 the slider also shows the shown
  // profile's angles. The screen-state rules stay with the connection.
  void (*setControlsEnabled)(int enabled) = nullptr;
  // Starts the firmware-upgrade worker thread; AppState is already 9.
  void (*startUpgradeWorker)() = nullptr;
};

extern ConnectionHooks ConnectHooks;
