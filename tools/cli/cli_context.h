#pragma once
// What every command of the tool gets: its output streams, the options and the receiver.

#include <cstdint>
#include <cstdio>
#include <string>

#include "device/receiver_lock.h"

class VirtualReceiver;

struct CliOptions {
  std::string virtualFile;  // empty: a real receiver through hidraw
  std::string devicePath;   // empty: the first receiver found
  bool versionSet = false;  // --firmware-version given (virtual receiver only)
  std::uint16_t firmwareVersion = 0;
  std::string presetUrl;  // empty: the preset server's settings document
  bool json = false;      // print one JSON document
  bool quiet = false;     // print errors and the data asked for, nothing else
  bool noBackup = false;  // write without backing up the receiver's profiles first
  bool latest = false;    // restore: the newest automatic backup of the receiver at hand
  bool all = false;       // backups: those of every receiver, needing none
  bool force = false;     // upgrade: install even a receiver that is up to date
};

// The flash file of a virtual receiver, as far as this run is concerned.
struct CliFlashFile {
  enum class Save { kNotNeeded, kPending, kSaved, kFailed };
  VirtualReceiver* receiver = nullptr;  // null: a real receiver
  Save save = Save::kNotNeeded;
};

struct CliContext {
  std::FILE* out;
  std::FILE* err;
  CliOptions options;
  CliFlashFile flash;
  ReceiverLock lock;  // held while this run may write the receiver
};

// Writes the --help text: the commands, the options and the exit statuses.
void PrintCliUsage(std::FILE* stream);

// Connects the receiver the options name; prints why not and returns false when that fails.
bool ConnectForCli(CliContext& context);

// Tells how to give the user access to the receiver's device node.
void PrintUdevRuleHint(std::FILE* stream);

// Takes the connected receiver's lock before a command writes it (a run on a virtual receiver
// holds it from the start). Prints why not and returns false when another program keeps it.
bool LockReceiverForWriting(CliContext& context);

// Connects the receiver and takes its lock for a write, refusing a receiver whose firmware is out
// of date. Prints why and returns false when any of that fails.
bool ConnectForWriting(CliContext& context);

// Prints a confirmation or a warning to standard output, unless --quiet was given.
void Say(const CliContext& context, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Writes ProfileSet to the connected receiver, backing up what it held first unless --no-backup
// was given. Prints why when the backup or the write fails (nothing is written when the backup
// fails) and where the backup went when it succeeds.
bool WriteProfilesForCli(CliContext& context);

// Saves the virtual receiver's flash file if this run must (it wrote the receiver, made the file
// or set the firmware version). Commands call it before they report success. Prints why not and
// returns false when the file cannot be saved.
bool SaveReceiverState(CliContext& context);
