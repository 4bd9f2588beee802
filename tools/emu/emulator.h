#pragma once
// The receiver played through /dev/uhid: the virtual receiver's model behind a kernel HID device.
// Requests the kernel hands over are queued at once (uhid's own queue is short and drops what
// does not fit) and answered by the model on its own thread; replies go back as input reports.

#include <cstdio>
#include <string>

#include "tools/emu/emu_options.h"

// Runs until SIGTERM, SIGINT or SIGHUP. Returns the exit status.
int RunEmulator(const EmuOptions& options, const std::string& uhidNode, std::FILE* out,
                std::FILE* err);
