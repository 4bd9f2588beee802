#include "tools/cli/cli_commands.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/byte_order.h"
#include "common/terminal_text.h"
#include "device/connection.h"
#include "device/firmware_version.h"
#include "device/hid_link.h"
#include "device/hid_port.h"
#include "device/wheel_protocol.h"
#include "profile/profile_set.h"
#include "tools/cli/backup_commands.h"
#include "tools/cli/cli.h"
#include "tools/cli/json_writer.h"
#include "tools/cli/preset_commands.h"
#include "tools/cli/profile_file_io.h"
#include "tools/cli/profile_report.h"
#include "tools/cli/upgrade_command.h"

namespace {

constexpr std::size_t kVersionTextSize = 16;

bool IsReceiver(const HidDeviceInfo& device) {
  return device.vendorId == kReceiverVendorId &&
         (device.productId == kReceiverProductId || device.productId == kReceiverArrivalProductId);
}

std::string VersionText(std::int32_t version) {
  char text[kVersionTextSize];
  FormatFirmwareVersion(version, text, sizeof text);
  return text;
}

// A USB identifier as the text output shows it, "0x2E7B".
std::string IdText(unsigned id) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", id & 0xFFFFu);
  return text;
}

// Reads 1..3 into 0..2.
bool ParseProfileNumber(const char* text, int& index) {
  if (std::strlen(text) != 1 || text[0] < '1' || text[0] > '0' + kProfileCount) return false;
  index = text[0] - '1';
  return true;
}

// Reads and checks a profile file, printing what is wrong with it or a warning about its size.
bool ReadCheckedProfileFile(CliContext& context, const char* path, WheelProfile& profile,
                            const char* failureNote) {
  std::string why;
  std::string warning;
  if (!ReadProfileFile(path, profile, why, warning)) {
    std::fprintf(context.err, "%s: %s.%s\n", TerminalText(path).c_str(), TerminalText(why).c_str(),
                 failureNote);
    return false;
  }
  if (!warning.empty() && !context.options.quiet) {
    std::fprintf(context.err, "warning: %s: %s.\n", TerminalText(path).c_str(),
                 TerminalText(warning).c_str());
  }
  return true;
}

void WriteReceiverJson(JsonWriter& json, const HidDeviceInfo& device, bool denied) {
  json.BeginObject();
  json.Key("path");
  json.String(device.path.c_str());
  json.Key("vendorId");
  json.String(IdText(device.vendorId).c_str());
  json.Key("productId");
  json.String(IdText(device.productId).c_str());
  json.Key("permissionDenied");
  json.Bool(denied);
  json.EndObject();
}

// The receiver as `info` sees it; "profilesStored" is null when the receiver did not answer.
void WriteInfoJson(CliContext& context, bool markerRead, bool stored) {
  JsonWriter json(context.out);
  json.BeginDocument();
  json.Key("wheelFirmware");
  json.String(VersionText(WheelFirmwareVersion).c_str());
  json.Key("internalFirmware");
  json.String(VersionText(kRequiredFirmwareVersion).c_str());
  json.Key("firmwareOutOfDate");
  json.Bool(FirmwareOutOfDate != 0);
  json.Key("profilesStored");
  if (markerRead) {
    json.Bool(stored);
  } else {
    json.Null();
  }
  json.Key("upgradeImageStaged");
  json.Bool(DfuSignaturePresent != 0);
  json.EndObject();
  json.Finish();
}

int List(CliContext& context, char**, int) {
  HidBackend& backend = CurrentHidBackend();
  JsonWriter json(context.out);
  if (context.options.json) {
    json.BeginDocument();
    json.Key("receivers");
    json.BeginArray();
  }
  int found = 0;
  bool denied = false;
  for (const HidDeviceInfo& device : backend.Enumerate()) {
    if (!IsReceiver(device)) continue;
    // Listed is not usable: without the udev rule the node is root's.
    HidOpenError error = HidOpenError::kNone;
    const bool deniedHere =
        backend.Open(device.path, error) == nullptr && error == HidOpenError::kPermissionDenied;
    if (context.options.json) {
      WriteReceiverJson(json, device, deniedHere);
    } else {
      std::fprintf(context.out, "%s  vendor 0x%04X  product 0x%04X%s\n",
                   TerminalText(device.path).c_str(), device.vendorId, device.productId,
                   deniedHere ? "  permission denied" : "");
    }
    denied = denied || deniedHere;
    ++found;
  }
  if (context.options.json) {
    json.EndArray();
    json.EndObject();
    json.Finish();
  }
  if (!SaveReceiverState(context)) return kExitFailure;
  // Standard output lists receivers only, so that `list | wc -l` counts them.
  if (found == 0 && !context.options.json && !context.options.quiet) {
    std::fputs("No receiver found.\n", context.err);
  }
  if (denied) PrintUdevRuleHint(context.err);
  return kExitOk;
}

int Info(CliContext& context, char**, int) {
  if (!ConnectForCli(context)) return kExitFailure;
  std::uint8_t marker[4];
  const bool markerRead = ReadMemory(*ReceiverLink, kProfileSectorAddress, marker, sizeof marker);
  if (!SaveReceiverState(context)) return kExitFailure;
  const bool stored = markerRead && LoadLe32(marker) == ProfileMagic;
  if (context.options.json) {
    WriteInfoJson(context, markerRead, stored);
    return markerRead ? kExitOk : kExitFailure;
  }
  std::fprintf(context.out, "Wheel Firmware v%s\n", VersionText(WheelFirmwareVersion).c_str());
  std::fprintf(context.out, "Internal Firmware v%s\n",
               VersionText(kRequiredFirmwareVersion).c_str());
  if (FirmwareOutOfDate) {
    std::fputs("The wheel firmware is out of date: the customiser will ask to upgrade it.\n",
               context.out);
  }
  if (!markerRead) {
    std::fputs("Profiles stored: unknown (the receiver did not answer)\n", context.out);
    return kExitFailure;
  }
  std::fprintf(context.out, "Profiles stored: %s\n",
               stored ? "yes" : "no (the factory profiles apply)");
  std::fprintf(context.out, "Upgrade image staged: %s\n", DfuSignaturePresent ? "yes" : "no");
  return kExitOk;
}

int ReadProfile(CliContext& context, char** arguments, int) {
  int index = 0;
  if (!ParseProfileNumber(arguments[0], index)) {
    std::fprintf(context.err, "Profile number must be 1, 2 or 3, not \"%s\".\n",
                 TerminalText(arguments[0]).c_str());
    return kExitUsage;
  }
  if (!ConnectForCli(context)) return kExitFailure;
  bool stored = false;
  if (!ReadProfileFromReceiver(*ReceiverLink, &stored)) {
    std::fputs("The receiver did not answer while its profiles were read.\n", context.err);
    return kExitFailure;
  }
  std::string why;
  if (!WriteProfileFile(arguments[1], ProfileSet[index], why)) {
    std::fprintf(context.err, "%s: %s\n", TerminalText(arguments[1]).c_str(),
                 TerminalText(why).c_str());
    return kExitFailure;
  }
  if (!SaveReceiverState(context)) return kExitFailure;
  Say(context, "Wrote %s profile %d to %s.\n", stored ? "stored" : "factory", index + 1,
      TerminalText(arguments[1]).c_str());
  return kExitOk;
}

int WriteProfiles(CliContext& context, char** arguments, int) {
  // Every file must pass its check before anything goes to the receiver.
  WheelProfile records[kProfileCount];
  for (int i = 0; i < kProfileCount; ++i) {
    if (!ReadCheckedProfileFile(context, arguments[i], records[i],
                                " Nothing was written to the receiver.")) {
      return kExitFailure;
    }
  }
  if (!ConnectForWriting(context)) return kExitFailure;
  for (int i = 0; i < kProfileCount; ++i) ProfileSet[i] = records[i];
  if (!WriteProfilesForCli(context) || !SaveReceiverState(context)) return kExitFailure;
  Say(context, "Wheel profile data has been written correctly.\n");
  return kExitOk;
}

int Check(CliContext& context, char** arguments, int) {
  WheelProfile profile{};
  if (!context.options.json) {
    if (!ReadCheckedProfileFile(context, arguments[0], profile, "")) return kExitFailure;
    std::fprintf(context.out, "%s: valid profile file\n", TerminalText(arguments[0]).c_str());
    PrintProfile(profile, context.out);
    return kExitOk;
  }
  // A script gets the verdict on standard output either way, and the exit status with it.
  std::string why;
  std::string warning;
  const bool valid = ReadProfileFile(arguments[0], profile, why, warning);
  JsonWriter json(context.out);
  json.BeginDocument();
  json.Key("file");
  json.String(arguments[0]);
  json.Key("valid");
  json.Bool(valid);
  if (valid) {
    if (!warning.empty()) {
      json.Key("warning");
      json.String(warning.c_str());
    }
    json.Key("profile");
    WriteProfileJson(json, profile, true);
  } else {
    json.Key("error");
    json.String(why.c_str());
  }
  json.EndObject();
  json.Finish();
  return valid ? kExitOk : kExitFailure;
}

int Help(CliContext& context, char**, int) {
  PrintCliUsage(context.out);
  return kExitOk;
}

}  // namespace

const CliCommand kCliCommands[] = {
    {"list", "", "list the receivers present (path, vendor and product ID)", 0, 0,
     CliReceiverUse::kReads, List, kCliTakesJson},
    {"info", "", "show the firmware version, stored profiles and staged upgrade", 0, 0,
     CliReceiverUse::kReads, Info, kCliTakesJson},
    {"read-profile", "N FILE", "save profile N (1-3) of the receiver as a .cs270 file", 2, 2,
     CliReceiverUse::kReads, ReadProfile},
    {"write-profiles", "F1 F2 F3", "check three .cs270 files and write them as profiles 1-3", 3, 3,
     CliReceiverUse::kWrites, WriteProfiles},
    {"check", "FILE", "check a .cs270 file and print the profile it holds", 1, 1,
     CliReceiverUse::kNone, Check, kCliTakesJson},
    {"presets", "", "list the presets of the preset server (name, type, note)", 0, 0,
     CliReceiverUse::kNone, ListPresets, kCliTakesJson},
    {"install-preset", "NAME N", "download preset NAME and write it as profile N (1-3)", 2, 2,
     CliReceiverUse::kWrites, InstallPreset},
    {"upgrade", "[--force]", "install the carried firmware when the receiver's is older", 0, 0,
     CliReceiverUse::kWrites, UpgradeFirmware, kCliTakesForce},
    {"backup", "FILE", "save the receiver's three profiles as one backup file", 1, 1,
     CliReceiverUse::kReads, BackUpProfiles},
    {"restore", "[FILE]", "check a backup FILE (--latest: this receiver's newest) and write it", 0,
     1, CliReceiverUse::kWrites, RestoreProfiles, kCliTakesLatest},
    {"backups", "[--all]", "list the receiver's automatic backups, newest first (--all: all)", 0, 0,
     CliReceiverUse::kReads, ListBackups, kCliTakesJson | kCliTakesAll},
    {"help", "", "show this text", 0, 0, CliReceiverUse::kNone, Help},
};
const int kCliCommandCount = sizeof kCliCommands / sizeof kCliCommands[0];
