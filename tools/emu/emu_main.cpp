#include <cstdio>
#include <string>

#include "tools/emu/emu_options.h"
#include "tools/emu/emulator.h"

int main(int argc, char** argv) {
  EmuOptions options;
  std::string why;
  if (!ParseEmuOptions(argc, argv, options, why)) {
    std::fprintf(stderr, "corsaro270-emu: %s\n", why.c_str());
    PrintEmuUsage(stderr);
    return 2;
  }
  if (options.help) {
    PrintEmuUsage(stdout);
    return 0;
  }
  return RunEmulator(options, "/dev/uhid", stdout, stderr);
}
