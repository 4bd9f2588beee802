#pragma once
// What every command of the tool gets: its output streams, the options and the receiver.

#include <cstdint>
#include <cstdio>
#include <string>

struct CliOptions {
  std::string virtualFile;  // empty: a real receiver through hidapi
  std::string devicePath;   // empty: the first receiver found
  bool versionSet = false;  // --firmware-version given (virtual receiver only)
  std::uint16_t firmwareVersion = 0;
};

struct CliContext {
  std::FILE* out;
  std::FILE* err;
  CliOptions options;
};

// Connects the receiver the options name; prints why not and returns false when that fails.
bool ConnectForCli(CliContext& context);
