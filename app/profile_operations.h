#pragma once
// The operations of the profile bar that act on whole profiles: writing all three to the
// receiver, emptying the current one's controls and restoring its factory record.

// Folds the screen into the current profile's saved state, rebuilds all three records from their
// saved states and writes them to the receiver, holding the receiver's writer lock meanwhile.
// What the receiver held is backed up first; when that fails, the user is asked whether to write
// anyway (default No), and after a No nothing is written and nothing more is said. Then says
// whether it worked. The records in memory keep the new content either way; when
// another writer holds the lock past its wait, nothing is written, the log says why and the
// failure notice is shown.
void AssignSetting();

// After a Yes to its question: empties every control of the current profile, sets its angles to
// 0 and 135 degrees and captures that into its saved state. The lights and the level stay as the
// widgets show them, the hidden slots 4 and 5 keep their actions, and the record itself changes
// only at the next Save or Assign Setting.
void ClearProfile();

// After a Yes to its question: replaces the current profile's record with its factory record and
// shows it. The receiver is not written.
void ResetProfile();
