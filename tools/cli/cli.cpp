#include "tools/cli/cli.h"

#include <cstdarg>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "common/regular_file.h"
#include "common/terminal_text.h"
#include "device/connection.h"
#include "device/firmware_version.h"
#include "device/headless_connection_listener.h"
#include "device/hid_link.h"
#include "device/hid_port.h"
#include "device/profile_backups.h"
#include "device/receiver_access.h"
#include "device/receiver_lock.h"
#include "device/virtual_receiver.h"
#include "device/wheel_protocol.h"
#include "profile/headless_profile_controls.h"
#include "tools/cli/cli_commands.h"
#include "tools/cli/terminal.h"

void PrintCliUsage(std::FILE* stream) {
  std::fputs(
      "Usage: corsaro270-cli [options] COMMAND [ARGUMENTS]\n"
      "\n"
      "Talks to the Corsaro 270 wheel's USB receiver.\n"
      "\n"
      "Commands:\n",
      stream);
  for (int i = 0; i < kCliCommandCount; ++i) {
    const CliCommand& command = kCliCommands[i];
    std::fprintf(stream, "  %-15s %-10s %s\n", command.name, command.arguments, command.summary);
  }
  std::fputs(
      "\n"
      "Options:\n"
      "  --virtual FLASHFILE       use a virtual receiver whose flash is kept in FLASHFILE\n"
      "                            (created as a fresh receiver when it does not exist)\n"
      "  --firmware-version V      set the virtual receiver's firmware version, as 1.96 or\n"
      "                            0x0196\n"
      "  --device PATH             use the receiver at this hidraw path\n"
      "  --url URL                 the settings document listing the presets (http, https or\n"
      "                            file address)\n"
      "  --json                    print one JSON document (list, info, check, presets,\n"
      "                            backups)\n"
      "  --quiet                   print nothing but errors and the data asked for\n"
      "  --no-backup               write the receiver without backing up its profiles first\n"
      "  --latest                  restore the newest automatic backup of this receiver\n"
      "  --all                     backups: list those of every receiver, needing none\n"
      "  --force                   upgrade even a receiver that runs the carried firmware\n"
      "  --version                 show the tool's version\n"
      "  --help                    show this text, as the help command does\n"
      "  -h                        the same as --help\n"
      "\n"
      "Options may come before or after the command; after \"--\" everything is an argument.\n"
      "Before every write, the profiles the receiver held are saved in\n",
      stream);
  std::fprintf(stream, "%s, with the time\n", kBackupFolderHelp);
  std::fputs(
      "they were made and the receiver they came from (its USB serial number, else its USB port;\n"
      "a virtual receiver's flash file); the newest 50 of each receiver are kept. Only backups of\n"
      "your own that nobody else may write are listed as sound or restored.\n"
      "\n"
      "Exit status: 0 success, 1 failure, 2 bad usage, 3 nothing to do: upgrade without\n"
      "--force found the receiver already running the firmware this tool carries.\n",
      stream);
}

namespace {

// The options that take no value, and where each lands.
struct CliFlag {
  const char* name;
  bool CliOptions::*field;
};

constexpr CliFlag kCliFlags[] = {
    {"--json", &CliOptions::json},          {"--quiet", &CliOptions::quiet},
    {"--no-backup", &CliOptions::noBackup}, {"--latest", &CliOptions::latest},
    {"--all", &CliOptions::all},
    {"--force", &CliOptions::force},
};

// Reads an option that takes a value; false after printing why it is wrong.
bool SetValueOption(CliContext& context, const char* option, const char* value) {
  // An unset shell variable must not quietly mean "the default", such as real hardware.
  if (value[0] == '\0') {
    std::fprintf(context.err, "corsaro270-cli: %s needs a value, not an empty one\n",
                 TerminalText(option).c_str());
    return false;
  }
  if (std::strcmp(option, "--virtual") == 0) {
    context.options.virtualFile = value;
  } else if (std::strcmp(option, "--device") == 0) {
    context.options.devicePath = value;
  } else if (std::strcmp(option, "--url") == 0) {
    context.options.presetUrl = value;
  } else if (std::strcmp(option, "--firmware-version") == 0) {
    if (!ParseFirmwareVersion(value, context.options.firmwareVersion)) {
      std::fprintf(context.err, "corsaro270-cli: bad firmware version \"%s\"\n",
                   TerminalText(value).c_str());
      return false;
    }
    context.options.versionSet = true;
  }
  return true;
}

bool TakesValue(const char* option) {
  return std::strcmp(option, "--virtual") == 0 || std::strcmp(option, "--device") == 0 ||
         std::strcmp(option, "--url") == 0 || std::strcmp(option, "--firmware-version") == 0;
}

// Reads the options, before or after the command alike, and collects the command and its
// arguments in `words`; after "--" everything is a word. False after printing why not.
bool ParseOptions(int argc, char** argv, CliContext& context, bool& help, bool& version,
                  std::vector<char*>& words) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    char* argument = argv[i];
    if (!optionsEnded && std::strcmp(argument, "-h") == 0) {
      help = true;
      continue;
    }
    if (optionsEnded || std::strncmp(argument, "--", 2) != 0) {
      words.push_back(argument);
      continue;
    }
    if (std::strcmp(argument, "--") == 0) {
      optionsEnded = true;
    } else if (std::strcmp(argument, "--help") == 0) {
      help = true;
    } else if (std::strcmp(argument, "--version") == 0) {
      version = true;
    } else if (TakesValue(argument)) {
      if (i + 1 >= argc) {
        std::fprintf(context.err, "corsaro270-cli: %s needs a value\n",
                     TerminalText(argument).c_str());
        return false;
      }
      if (!SetValueOption(context, argument, argv[++i])) return false;
    } else {
      const CliFlag* flag = nullptr;
      for (const CliFlag& known : kCliFlags) {
        if (std::strcmp(known.name, argument) == 0) flag = &known;
      }
      if (flag == nullptr) {
        std::fprintf(context.err, "corsaro270-cli: unknown option %s\n",
                     TerminalText(argument).c_str());
        return false;
      }
      context.options.*(flag->field) = true;
    }
  }
  if (!help && !version && context.options.versionSet && context.options.virtualFile.empty()) {
    std::fputs("corsaro270-cli: --firmware-version needs --virtual\n", context.err);
    return false;
  }
  return true;
}

// Refuses options that the command does not take, so a script learns of its mistake.
bool CommandTakesOptions(const CliContext& context, const CliCommand& command) {
  const char* refused = nullptr;
  if (context.options.json && (command.flags & kCliTakesJson) == 0) refused = "--json";
  if (context.options.latest && (command.flags & kCliTakesLatest) == 0) refused = "--latest";
  if (context.options.force && (command.flags & kCliTakesForce) == 0) refused = "--force";
  if (context.options.all && (command.flags & kCliTakesAll) == 0) refused = "--all";
  if (refused == nullptr) return true;
  std::fprintf(context.err, "corsaro270-cli: %s is not an option of %s\n", refused, command.name);
  return false;
}

const CliCommand* FindCommand(const char* name) {
  for (int i = 0; i < kCliCommandCount; ++i) {
    if (std::strcmp(kCliCommands[i].name, name) == 0) return &kCliCommands[i];
  }
  return nullptr;
}

bool FileExists(const std::string& path) {
  const PathKind kind = LookAtPath(path);
  return kind == PathKind::kRegularFile || kind == PathKind::kOther;
}

bool TakeLock(CliContext& context, const std::string& identity) {
  std::string why;
  if (context.lock.Acquire(identity, kReceiverLockWaitMs, why)) return true;
  std::fprintf(context.err, "corsaro270-cli: %s\n", TerminalText(why).c_str());
  return false;
}

// Prepares the virtual receiver: loaded from its file, or fresh when the file does not exist.
bool SetUpVirtualReceiver(CliContext& context, VirtualReceiver& receiver) {
  const std::string& file = context.options.virtualFile;
  if (FileExists(file)) {
    std::string why;
    if (!receiver.LoadFile(file, why)) {
      std::fprintf(context.err, "corsaro270-cli: %s\n", TerminalText(why).c_str());
      return false;
    }
  }
  if (context.options.versionSet) receiver.SetFirmwareVersion(context.options.firmwareVersion);
  return true;
}

// Runs a command on the virtual receiver kept in the flash file. A run that will save the file
// holds the receiver's lock from before it loads the file until after it saved it, so parallel
// runs take turns instead of overwriting each other's work.
int RunOnVirtualReceiver(CliContext& context, const CliCommand& command, char** arguments,
                         int count) {
  const std::string& file = context.options.virtualFile;
  const bool mustSave = command.receiver == CliReceiverUse::kWrites || context.options.versionSet ||
                        !FileExists(file);
  if (mustSave && !TakeLock(context, ReceiverIdentity(file))) return kExitFailure;
  VirtualReceiver receiver("virtual:" + file);
  receiver.SetIdentity("virtual:" + ReceiverIdentity(file));
  if (!SetUpVirtualReceiver(context, receiver)) return kExitFailure;
  VirtualHidBackend backend;
  backend.Add(&receiver);
  SetCurrentHidBackend(&backend);
  context.flash = {&receiver,
                   mustSave ? CliFlashFile::Save::kPending : CliFlashFile::Save::kNotNeeded};
  int status = command.run(context, arguments, count);
  DisconnectReceiver();
  SetCurrentHidBackend(nullptr);
  if (!SaveReceiverState(context)) status = kExitFailure;
  context.flash = {};
  context.lock.Release();
  return status;
}

int RunCommand(CliContext& context, const CliCommand& command, char** arguments, int count) {
  // Every receiver's backups are listed without one.
  const bool needsReceiver = command.receiver != CliReceiverUse::kNone && !context.options.all;
  if (!needsReceiver) return command.run(context, arguments, count);
  if (context.options.virtualFile.empty()) {
    // Rather than a receiver that seems to be missing, say that none can be reached.
    const char* missing = SystemHidBackendMissing();
    if (missing != nullptr && &CurrentHidBackend() == &SystemHidBackend()) {
      std::fprintf(context.err, "corsaro270-cli: %s\n", missing);
      return kExitFailure;
    }
    return command.run(context, arguments, count);
  }
  return RunOnVirtualReceiver(context, command, arguments, count);
}

}  // namespace

void PrintUdevRuleHint(std::FILE* stream) {
  const std::string command = ReceiverAccessCommand();
  if (command.empty()) return;
  std::fprintf(stream, "Install the udev rule that gives you access to the receiver:\n  %s\n",
               command.c_str());
}

bool ConnectForCli(CliContext& context) {
  FirmwareOutOfDate = 0;
  const std::string& path = context.options.devicePath;
  ConnectReceiver(path.empty() ? nullptr : path.c_str());
  if (ReceiverConnected) return true;
  if (ReceiverLink != nullptr) {
    std::fputs("The receiver did not answer while its profiles were read.\n", context.err);
  } else {
    switch (LastReceiverOpenError()) {
      case HidOpenError::kNone:
        // Opened, then dropped again by the connection.
        std::fputs("The receiver did not report its firmware version.\n", context.err);
        break;
      case HidOpenError::kPermissionDenied:
        std::fprintf(context.err, "Receiver %s: permission denied.\n",
                     TerminalText(DeniedReceiverPath()).c_str());
        PrintUdevRuleHint(context.err);
        break;
      case HidOpenError::kNotPresent:
        std::fputs(path.empty() ? "No receiver found.\n" : "No receiver at that path.\n",
                   context.err);
        break;
      case HidOpenError::kFailed:
        std::fputs("The receiver could not be opened.\n", context.err);
        break;
    }
  }
  DisconnectReceiver();
  return false;
}

bool LockReceiverForWriting(CliContext& context) {
  if (context.lock.Held()) return true;
  return TakeLock(context, ReceiverIdentity(ReceiverLink->Path()));
}

bool SaveReceiverState(CliContext& context) {
  CliFlashFile& flash = context.flash;
  if (flash.save != CliFlashFile::Save::kPending) return flash.save != CliFlashFile::Save::kFailed;
  std::string why;
  if (!flash.receiver->SaveFile(context.options.virtualFile, why)) {
    std::fprintf(context.err, "corsaro270-cli: the virtual receiver was not saved: %s\n",
                 TerminalText(why).c_str());
    flash.save = CliFlashFile::Save::kFailed;
    return false;
  }
  flash.save = CliFlashFile::Save::kSaved;
  return true;
}

void Say(const CliContext& context, const char* format, ...) {
  if (context.options.quiet) return;
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(context.out, format, arguments);
  va_end(arguments);
}

bool ConnectForWriting(CliContext& context) {
  if (!ConnectForCli(context) || !LockReceiverForWriting(context)) return false;
  if (!FirmwareOutOfDate) return true;
  char version[16];
  char required[16];
  FormatFirmwareVersion(WheelFirmwareVersion, version, sizeof version);
  FormatFirmwareVersion(kRequiredFirmwareVersion, required, sizeof required);
  std::fprintf(context.err,
               "The wheel firmware v%s is out of date (v%s is required); upgrade it first with "
               "corsaro270-cli upgrade. Nothing was written.\n",
               version, required);
  return false;
}

bool WriteProfilesForCli(CliContext& context) {
  using Status = ProfileBackupOutcome::Status;
  const ProfileBackupRule rule =
      context.options.noBackup ? ProfileBackupRule::kSkip : ProfileBackupRule::kRequired;
  ProfileBackupOutcome backup;
  if (!WriteProfileToReceiver(*ReceiverLink, rule, &backup)) {
    if (backup.status == Status::kFailed) {
      std::fprintf(context.err,
                   "Could not back up the profiles on the receiver: %s.\nNothing was written; "
                   "--no-backup writes without a backup.\n",
                   TerminalText(backup.why).c_str());
    } else {
      std::fputs("ERROR WRITING DATA TO WHEEL\n", context.err);
    }
    return false;
  }
  if (backup.status == Status::kSaved) {
    Say(context, "The profiles the receiver held were backed up to %s.\n",
        TerminalText(backup.path).c_str());
  }
  return true;
}

int RunCli(int argc, char** argv, std::FILE* out, std::FILE* err) {
  // The tool has no screen to tell about the receiver; its commands read ProfileSet themselves.
  static HeadlessConnectionListener listener;
  SetConnectionListener(&listener);
  static HeadlessProfileControls controls;
  SetProfileControls(&controls);
  CliContext context{out, err, {}, {}, {}};
  bool help = false;
  bool version = false;
  std::vector<char*> words;
  if (!ParseOptions(argc, argv, context, help, version, words)) return kExitUsage;
  if (help) {
    PrintCliUsage(out);
    return kExitOk;
  }
  if (version) {
    std::fprintf(out, "corsaro270-cli %s\n", CORSARO_VERSION);
    return kExitOk;
  }
  if (words.empty()) {
    PrintCliUsage(err);
    return kExitUsage;
  }
  const CliCommand* command = FindCommand(words[0]);
  if (command == nullptr) {
    std::fprintf(err, "corsaro270-cli: unknown command \"%s\" (see --help)\n",
                 TerminalText(words[0]).c_str());
    return kExitUsage;
  }
  const int count = static_cast<int>(words.size()) - 1;
  if (count < command->minArguments || count > command->maxArguments) {
    std::fprintf(err, "Usage: corsaro270-cli [options] %s %s\n", command->name, command->arguments);
    return kExitUsage;
  }
  if (!CommandTakesOptions(context, *command)) return kExitUsage;
  // A virtual receiver's backups are kept apart, so that they never reach a real receiver.
  SetProfileBackupFolder(context.options.virtualFile.empty() ? std::string()
                                                             : VirtualReceiverBackupFolder());
  const int status = RunCommand(context, *command, words.data() + 1, count);
  DisconnectReceiver();
  return status;
}
