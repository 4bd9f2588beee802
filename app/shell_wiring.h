#pragma once
// Links the shell's hooks to the parts that are built: the receiver connection and its flags,
// and the settings document's pages.

// Fills receiverHooks and the newer-version link from the wheel link's globals and operations.
void WireShellToReceiver();
// Points the download and support pages at the settings document of this run.
void WireShellToSettings();
