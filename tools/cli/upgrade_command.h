#pragma once
// The tool's upgrade command: installs the firmware image the tool carries, as the customiser's
// update screen does, and shows the worker's progress.

#include "tools/cli/cli_context.h"

// upgrade [--force]: refuses a receiver that already runs the carried version unless forced,
// clears an image staged by an earlier upgrade, runs the upgrade worker without the screen's
// pauses and tells the user to replug the receiver. On a virtual receiver it replugs the
// receiver itself and succeeds only if the receiver then reports at least the carried version.
int UpgradeFirmware(CliContext& context, char** arguments, int count);
