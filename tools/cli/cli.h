#pragma once
// corsaro270-cli: list receivers, read the firmware version, back up and restore profiles as
// ".cs270" files and check such files, install presets and upgrade the firmware, on a real
// receiver or a virtual one kept in a file.

#include <cstdio>

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// upgrade without --force found nothing to do: the receiver runs the carried firmware already.
constexpr int kExitUpToDate = 3;

// Runs the tool with its command line; messages go to `out`, errors to `err`. Returns the exit
// status: 0 success, 1 failure, 2 bad usage, 3 already up to date.
int RunCli(int argc, char** argv, std::FILE* out, std::FILE* err);
