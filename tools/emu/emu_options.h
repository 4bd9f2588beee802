#pragma once
// The emulator's command line, and the control lines it reads on its standard input.

#include <cstdint>
#include <string>
#include <vector>

#include "device/virtual_receiver.h"

struct EmuOptions {
  std::string flashFile;  // empty: a fresh receiver, kept nowhere
  std::uint16_t productId = 0x0262;
  bool versionSet = false;
  std::uint16_t firmwareVersion = 0;
  bool usbPace = false;
  VirtualReceiverFaults faults;
  bool help = false;
};

// Reads the command line; false with `why` for a bad one.
bool ParseEmuOptions(int argc, char** argv, EmuOptions& options, std::string& why);
void PrintEmuUsage(std::FILE* stream);

// Applies "KIND [N]" to `faults`: none, no-reply, wrong-code, wrong-magic, wrong-crc or
// remove-after N (pulled out after N more requests, counted from `requestsSoFar`). False with
// `why` for an unknown kind or a bad count.
bool ApplyFault(const std::vector<std::string>& words, int requestsSoFar,
                VirtualReceiverFaults& faults, std::string& why);

// What one line on standard input asks for.
enum class EmuCommand { kNone, kReplug, kUnplug, kPlug, kFault, kBad };
EmuCommand ParseEmuCommand(const std::string& line, std::vector<std::string>& words);
