#pragma once
// The tool's commands. Each takes its arguments (already counted) and returns an exit status.

#include "tools/cli/cli_context.h"

// What a command does with the receiver: a run on a virtual receiver rewrites its flash file
// only when the command writes.
enum class CliReceiverUse { kNone, kReads, kWrites };

// Options that only some commands take.
constexpr unsigned kCliTakesJson = 1;
constexpr unsigned kCliTakesLatest = 2;
constexpr unsigned kCliTakesForce = 4;
constexpr unsigned kCliTakesAll = 8;

struct CliCommand {
  const char* name;
  const char* arguments;  // shown in the usage text
  const char* summary;
  int minArguments;
  int maxArguments;
  CliReceiverUse receiver;
  int (*run)(CliContext& context, char** arguments, int count);
  unsigned flags = 0;  // kCliTakes... bits
};

// Every command, in the order --help lists them; a new command is one more row.
extern const CliCommand kCliCommands[];
extern const int kCliCommandCount;
