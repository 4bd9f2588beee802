#pragma once
// Links the shell's hooks to the parts that are built: the receiver connection and its flags.

// Fills receiverHooks and settingsHooks from the wheel link's globals and operations.
void WireShellToReceiver();
