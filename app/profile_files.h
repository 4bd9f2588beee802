#pragma once
// Saving the current profile to a ".cs270" file and loading one over it, through the file
// choosers of the dialogs in use.

// Asks for a file name (".cs270" is appended when missing) and writes the current profile there,
// with the edits on screen folded in. The file is replaced whole or not at all: on any failure
// the old file stays as it was, nothing of the program's state changes, the log says why and
// "ERROR SAVING WHEEL PROFILE" is shown. A successful save says nothing; a cancelled chooser does
// nothing.
void SaveProfileFile();

// Asks for a profile file and, when its container passes the check, puts its record over the
// current profile's and shows it (the wheel is written only by Assign Setting). A file that
// cannot be read (missing, a folder, a device, a FIFO, changing while read) gives
// "ERROR LOADING WHEEL PROFILE", one that fails the check "Profile data is corrupt!"; either way
// every profile stays as it was.
void LoadProfileFile();
