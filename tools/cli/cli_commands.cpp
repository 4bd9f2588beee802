#include "tools/cli/cli_commands.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/byte_order.h"
#include "device/connection.h"
#include "device/firmware_version.h"
#include "device/hid_link.h"
#include "device/hid_port.h"
#include "device/wheel_protocol.h"
#include "profile/profile_set.h"
#include "tools/cli/cli.h"
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
    std::fprintf(context.err, "%s: %s.%s\n", path, why.c_str(), failureNote);
    return false;
  }
  if (!warning.empty()) std::fprintf(context.err, "warning: %s: %s.\n", path, warning.c_str());
  return true;
}

int List(CliContext& context, char**, int) {
  HidBackend& backend = CurrentHidBackend();
  int found = 0;
  bool denied = false;
  for (const HidDeviceInfo& device : backend.Enumerate()) {
    if (!IsReceiver(device)) continue;
    // Listed is not usable: without the udev rule the node is root's.
    HidOpenError error = HidOpenError::kNone;
    const bool deniedHere =
        backend.Open(device.path, error) == nullptr && error == HidOpenError::kPermissionDenied;
    std::fprintf(context.out, "%s  vendor 0x%04X  product 0x%04X%s\n", device.path.c_str(),
                 device.vendorId, device.productId, deniedHere ? "  permission denied" : "");
    denied = denied || deniedHere;
    ++found;
  }
  if (!SaveReceiverState(context)) return kExitFailure;
  if (found == 0) std::fputs("none\n", context.out);
  if (denied) PrintUdevRuleHint(context.err);
  return kExitOk;
}

int Info(CliContext& context, char**, int) {
  if (!ConnectForCli(context)) return kExitFailure;
  std::uint8_t marker[4];
  const bool markerRead = ReadMemory(*ReceiverLink, kProfileSectorAddress, marker, sizeof marker);
  if (!SaveReceiverState(context)) return kExitFailure;
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
               LoadLe32(marker) == ProfileMagic ? "yes" : "no (the factory profiles apply)");
  std::fprintf(context.out, "Upgrade image staged: %s\n", DfuSignaturePresent ? "yes" : "no");
  return kExitOk;
}

int ReadProfile(CliContext& context, char** arguments, int) {
  int index = 0;
  if (!ParseProfileNumber(arguments[0], index)) {
    std::fprintf(context.err, "Profile number must be 1, 2 or 3, not \"%s\".\n", arguments[0]);
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
    std::fprintf(context.err, "%s: %s\n", arguments[1], why.c_str());
    return kExitFailure;
  }
  if (!SaveReceiverState(context)) return kExitFailure;
  std::fprintf(context.out, "Wrote %s profile %d to %s.\n", stored ? "stored" : "factory",
               index + 1, arguments[1]);
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
  if (!ConnectForCli(context) || !LockReceiverForWriting(context)) return kExitFailure;
  if (FirmwareOutOfDate) {
    std::fprintf(context.err,
                 "The wheel firmware v%s is out of date (v%s is required); upgrade it with the "
                 "customiser first. Nothing was written.\n",
                 VersionText(WheelFirmwareVersion).c_str(),
                 VersionText(kRequiredFirmwareVersion).c_str());
    return kExitFailure;
  }
  for (int i = 0; i < kProfileCount; ++i) ProfileSet[i] = records[i];
  if (!WriteProfileToReceiver(*ReceiverLink)) {
    std::fputs("ERROR WRITING DATA TO WHEEL\n", context.err);
    return kExitFailure;
  }
  if (!SaveReceiverState(context)) return kExitFailure;
  std::fputs("Wheel profile data has been written correctly.\n", context.out);
  return kExitOk;
}

int Check(CliContext& context, char** arguments, int) {
  WheelProfile profile{};
  if (!ReadCheckedProfileFile(context, arguments[0], profile, "")) return kExitFailure;
  std::fprintf(context.out, "%s: valid profile file\n", arguments[0]);
  PrintProfile(profile, context.out);
  return kExitOk;
}

}  // namespace

const CliCommand kCliCommands[] = {
    {"list", "", "list the receivers present (path, vendor and product ID)", 0, 0,
     CliReceiverUse::kReads, List},
    {"info", "", "show the firmware version, stored profiles and staged upgrade", 0, 0,
     CliReceiverUse::kReads, Info},
    {"read-profile", "N FILE", "save profile N (1-3) of the receiver as a .cs270 file", 2, 2,
     CliReceiverUse::kReads, ReadProfile},
    {"write-profiles", "F1 F2 F3", "check three .cs270 files and write them as profiles 1-3", 3, 3,
     CliReceiverUse::kWrites, WriteProfiles},
    {"check", "FILE", "check a .cs270 file and print the profile it holds", 1, 1,
     CliReceiverUse::kNone, Check},
    {"presets", "", "list the presets of the preset server (name, type, note)", 0, 0,
     CliReceiverUse::kNone, ListPresets},
    {"install-preset", "NAME N", "download preset NAME and write it as profile N (1-3)", 2, 2,
     CliReceiverUse::kWrites, InstallPreset},
    {"upgrade", "[--force]", "install the carried firmware when the receiver's is older", 0, 1,
     CliReceiverUse::kWrites, UpgradeFirmware},
};
const int kCliCommandCount = sizeof kCliCommands / sizeof kCliCommands[0];
