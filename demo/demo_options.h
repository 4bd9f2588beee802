#pragma once
// The command line of corsaro270-demo.

#include <cstdint>
#include <cstdio>
#include <string>

struct DemoOptions {
  std::string flashFile;  // the receiver's flash is kept here; empty: a fresh receiver, not kept
  bool firmwareVersionSet = false;
  std::uint16_t firmwareVersion = 0;
  bool noReceiver = false;      // start with the receiver unplugged
  bool usbPace = false;         // the receiver answers at USB full speed instead of at once
  bool hidraw = false;          // the real backend: udev, hidraw and the udev monitor
  bool drawEveryFrame = false;  // also draw frames that repeat the picture on the screen
  int windowScale = 0;          // physical pixels per pixel; 0: CORSARO_SCALE or the desktop's
  std::string settingsAddress;  // empty: the bundled presets
  std::string scriptFile;       // empty: no scripted run
  std::string outFolder;        // results of a scripted run, and the log
  bool help = false;
};

// Reads the command line. False, with `error` saying why, for an unknown option, a missing or
// bad value, a stray argument, or a script without an output folder.
bool ParseDemoOptions(int argc, char** argv, DemoOptions* options, std::string* error);
// Writes the --help text: the options, the script commands, the files written and the exit
// statuses.
void PrintDemoUsage(std::FILE* stream);
