#pragma once
// The tool's preset commands: list the presets of a settings document, and install one into a
// profile slot of the receiver.

#include "tools/cli/cli_context.h"

// presets: prints each preset of the settings document (name, type, note).
int ListPresets(CliContext& context, char** arguments, int count);
// install-preset NAME N: downloads the preset called NAME, checks it as a profile file and
// writes it as profile N (1-3); the other two profiles on the receiver stay as they are.
int InstallPreset(CliContext& context, char** arguments, int count);
