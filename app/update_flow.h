#pragma once
// The update screens' per-frame steps: an accepted firmware prompt (state 8) clears an image
// staged earlier or starts the upgrade worker; state 9 follows the worker and waits for the
// receiver's removal; state 10 waits for its return and confirms the update only when the
// receiver comes back running the carried firmware, else shows the error panel (state 11).

// State 8, run once: the upgrade's values reset and AppState 9; with a staged image its
// signature is cleared (the next connection then starts the worker), else the worker starts.
int UpdateRequestedStep();
// State 9: "REINSERT WHEEL" once the receiver is gone, and state 10 if the worker succeeded.
int UpdateRunningStep();
// State 10: once the receiver is back, the confirmation box and the main screen when it runs at
// least the carried version, else the error panel.
int UpdateWaitReturnStep();

// Puts the steps into the state handlers' slots (8 to 10) and the update overlay and error panel
// into the overlays' slots (8 to 11). Start-up calls it before the first connection.
void InstallUpdateScreens();
