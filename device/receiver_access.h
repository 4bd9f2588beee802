#pragma once
// Why no receiver could be opened although one is plugged in: without the udev rule its hidraw
// node belongs to root, and the receiver would look absent. The connection notes every attempt
// here; the no-receiver screen, the log and the command-line tool say what it found.

#include <string>

#include "device/hid_port.h"

// The commands that install the udev rule giving the logged-in user access to the receiver, run
// from the root of a checkout. UdevRuleCommand (device/udev_rule.h) fits them to this program.
extern const char kUdevRuleCommand[];

// The command that gives this user access to the receiver, fitted to this program: on Linux
// UdevRuleCommand(); empty where access is no matter of a command (Windows).
std::string ReceiverAccessCommand();

// Notes how an attempt to open the receiver at `path` ended (empty path: the first receiver was
// looked for). A receiver that may not be opened is written to the log, with the command that
// gives access to it.
// A device other than the receiver (not present at a different path) leaves what is known alone.
void NoteReceiverOpenResult(HidOpenError error, const std::string& path);

// How the last attempt that concerned the receiver ended: kNone once it was opened.
HidOpenError LastReceiverOpenError();
// The path of the receiver that could not be opened, or empty.
const std::string& DeniedReceiverPath();

// A sentence for the no-receiver screen when a receiver is plugged in but cannot be opened, or
// null when there simply is none.
const char* ReceiverUnavailableReason();
