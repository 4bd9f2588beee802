#include "tools/cli/cli.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "device/connection.h"
#include "device/firmware_version.h"
#include "device/headless_connection_listener.h"
#include "device/hid_link.h"
#include "device/virtual_receiver.h"
#include "profile/headless_profile_controls.h"
#include "tools/cli/cli_commands.h"

namespace {

void PrintUsage(std::FILE* stream) {
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
      "  --help                    show this text\n"
      "\n"
      "Exit status: 0 success, 1 failure, 2 bad usage.\n",
      stream);
}

// Parses the options in front of the command; returns the index of the command or -1.
int ParseOptions(int argc, char** argv, CliContext& context, bool& help) {
  int i = 1;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    const char* option = argv[i];
    if (std::strcmp(option, "--help") == 0) {
      help = true;
      continue;
    }
    if (i + 1 >= argc) {
      std::fprintf(context.err, "corsaro270-cli: %s needs a value\n", option);
      return -1;
    }
    const char* value = argv[++i];
    if (std::strcmp(option, "--virtual") == 0) {
      context.options.virtualFile = value;
    } else if (std::strcmp(option, "--device") == 0) {
      context.options.devicePath = value;
    } else if (std::strcmp(option, "--url") == 0) {
      context.options.presetUrl = value;
    } else if (std::strcmp(option, "--firmware-version") == 0) {
      if (!ParseFirmwareVersion(value, context.options.firmwareVersion)) {
        std::fprintf(context.err, "corsaro270-cli: bad firmware version \"%s\"\n", value);
        return -1;
      }
      context.options.versionSet = true;
    } else {
      std::fprintf(context.err, "corsaro270-cli: unknown option %s\n", option);
      return -1;
    }
  }
  if (!help && context.options.versionSet && context.options.virtualFile.empty()) {
    std::fputs("corsaro270-cli: --firmware-version needs --virtual\n", context.err);
    return -1;
  }
  return i;
}

const CliCommand* FindCommand(const char* name) {
  for (int i = 0; i < kCliCommandCount; ++i) {
    if (std::strcmp(kCliCommands[i].name, name) == 0) return &kCliCommands[i];
  }
  return nullptr;
}

// Prepares the virtual receiver: loaded from its file, or fresh when the file does not exist.
bool SetUpVirtualReceiver(CliContext& context, VirtualReceiver& receiver) {
  const std::string& file = context.options.virtualFile;
  std::error_code error;
  if (std::filesystem::exists(file, error)) {
    std::string why;
    if (!receiver.LoadFile(file, why)) {
      std::fprintf(context.err, "corsaro270-cli: %s\n", why.c_str());
      return false;
    }
  }
  if (context.options.versionSet) receiver.SetFirmwareVersion(context.options.firmwareVersion);
  return true;
}

int RunCommand(CliContext& context, const CliCommand& command, char** arguments, int count) {
  if (context.options.virtualFile.empty()) return command.run(context, arguments, count);
  VirtualReceiver receiver("virtual:" + context.options.virtualFile);
  if (!SetUpVirtualReceiver(context, receiver)) return kExitFailure;
  VirtualHidBackend backend;
  backend.Add(&receiver);
  SetCurrentHidBackend(&backend);
  int status = command.run(context, arguments, count);
  DisconnectReceiver();
  SetCurrentHidBackend(nullptr);
  std::string why;
  if (!receiver.SaveFile(context.options.virtualFile, why)) {
    std::fprintf(context.err, "corsaro270-cli: %s\n", why.c_str());
    status = kExitFailure;
  }
  return status;
}

}  // namespace

bool ConnectForCli(CliContext& context) {
  FirmwareOutOfDate = 0;
  const std::string& path = context.options.devicePath;
  ConnectReceiver(path.empty() ? nullptr : path.c_str());
  if (ReceiverConnected) return true;
  if (ReceiverLink == nullptr) {
    // The connection drops a receiver that does not tell its version; say which case this was.
    HidLink probe;
    const bool present =
        path.empty() ? probe.OpenFirstReceiver()
                     : probe.OpenReceiverByPath(path.c_str(), kReceiverProductId) ||
                           probe.OpenReceiverByPath(path.c_str(), kReceiverArrivalProductId);
    std::fputs(present ? "The receiver did not report its firmware version.\n"
                       : (path.empty() ? "No receiver found.\n" : "No receiver at that path.\n"),
               context.err);
  } else {
    std::fputs("The receiver did not answer while its profiles were read.\n", context.err);
  }
  DisconnectReceiver();
  return false;
}

int RunCli(int argc, char** argv, std::FILE* out, std::FILE* err) {
  // The tool has no screen to tell about the receiver; its commands read ProfileSet themselves.
  static HeadlessConnectionListener listener;
  SetConnectionListener(&listener);
  static HeadlessProfileControls controls;
  SetProfileControls(&controls);
  CliContext context{out, err, {}};
  bool help = false;
  const int first = ParseOptions(argc, argv, context, help);
  if (first < 0) return kExitUsage;
  if (help) {
    PrintUsage(out);
    return kExitOk;
  }
  if (first >= argc) {
    PrintUsage(err);
    return kExitUsage;
  }
  const CliCommand* command = FindCommand(argv[first]);
  if (command == nullptr) {
    std::fprintf(err, "corsaro270-cli: unknown command \"%s\" (see --help)\n", argv[first]);
    return kExitUsage;
  }
  const int count = argc - first - 1;
  if (count < command->minArguments || count > command->maxArguments) {
    std::fprintf(err, "Usage: corsaro270-cli [options] %s %s\n", command->name, command->arguments);
    return kExitUsage;
  }
  const int status = RunCommand(context, *command, argv + first + 1, count);
  DisconnectReceiver();
  return status;
}
