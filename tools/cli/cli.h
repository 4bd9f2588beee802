#pragma once
// corsaro270-cli: list receivers, read the firmware version, back up and restore profiles as
// ".cs270" files and check such files, on a real receiver or a virtual one kept in a file.

#include <cstdio>

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Runs the tool with its command line; messages go to `out`, errors to `err`. Returns the exit
// status: 0 success, 1 failure, 2 bad usage.
int RunCli(int argc, char** argv, std::FILE* out, std::FILE* err);
