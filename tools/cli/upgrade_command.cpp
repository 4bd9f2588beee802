#include "tools/cli/upgrade_command.h"

#include <chrono>
#include <string>

#include "common/terminal_text.h"
#include "device/connection.h"
#include "device/firmware_upgrade.h"
#include "device/firmware_version.h"
#include "device/hid_link.h"
#include "device/progress.h"
#include "device/receiver_lock.h"
#include "device/virtual_receiver.h"
#include "device/wheel_protocol.h"
#include "tools/cli/cli.h"
#include "tools/cli/progress_display.h"

namespace {

// How often the display looks at the worker's progress.
constexpr auto kRefreshInterval = std::chrono::milliseconds(20);
constexpr std::size_t kVersionTextSize = 16;

std::string VersionText(std::int32_t version) {
  char text[kVersionTextSize];
  FormatFirmwareVersion(version, text, sizeof text);
  return text;
}

const char* MessageText() {
  const char* message = ProgressMessage;
  return message != nullptr ? message : "";
}

// Clears the signature of an image staged by an earlier upgrade, as the update screen does before
// it upgrades, holding the receiver's writer lock meanwhile.
bool ClearStagedImage(CliContext& context) {
  ReceiverLock lock;
  std::string why;
  if (!lock.Acquire(ReceiverIdentity(ReceiverLink->Path()), kReceiverLockWaitMs, why)) {
    std::fprintf(context.err, "corsaro270-cli: %s\n", TerminalText(why).c_str());
    return false;
  }
  std::fputs("Clearing the image staged by an earlier upgrade.\n", context.out);
  if (ClearDfuSignature(*ReceiverLink)) return true;
  std::fprintf(context.err, "Firmware upgrade failed: %s\n", MessageText());
  return false;
}

// Runs the worker and shows its progress until it ends; true when it staged the image.
bool RunWorker(CliContext& context) {
  ProgressDisplay display(context.out);
  StartFirmwareUpgrade(kNoUpgradePauses);
  while (!WaitForFirmwareUpgrade(kRefreshInterval)) display.Show(ProgressPercent, MessageText());
  StopFirmwareUpgrade();
  display.Show(ProgressPercent, MessageText());
  display.Finish();
  if (UpgradeRunning == 0) return true;
  std::fprintf(context.err, "Firmware upgrade failed: %s\n", MessageText());
  return false;
}

// Pulls the virtual receiver out and plugs it in again, as the user would, and checks the version
// it then reports.
int ReplugVirtualReceiver(CliContext& context, VirtualReceiver& receiver) {
  DisconnectReceiver();
  receiver.Unplug();
  receiver.Plug();
  std::fputs("Replugged the virtual receiver.\n", context.out);
  if (!ConnectForCli(context)) return kExitFailure;
  if (WheelFirmwareVersion < kRequiredFirmwareVersion) {
    std::fprintf(context.err,
                 "The receiver came back with firmware v%s: the new firmware was not installed.\n",
                 VersionText(WheelFirmwareVersion).c_str());
    return kExitFailure;
  }
  if (!SaveReceiverState(context)) return kExitFailure;
  std::fprintf(context.out, "The receiver now runs firmware v%s.\n",
               VersionText(WheelFirmwareVersion).c_str());
  return kExitOk;
}

}  // namespace

int UpgradeFirmware(CliContext& context, char**, int) {
  const bool force = context.options.force;
  if (!ConnectForCli(context)) return kExitFailure;
  const std::string carried = VersionText(kRequiredFirmwareVersion);
  if (!force && !IsFirmwareOutOfDate(WheelFirmwareVersion)) {
    std::fprintf(context.out,
                 "The receiver already runs firmware v%s (this tool carries v%s); nothing to do. "
                 "Add --force to install it again.\n",
                 VersionText(WheelFirmwareVersion).c_str(), carried.c_str());
    return kExitUpToDate;
  }
  if (DfuSignaturePresent && !ClearStagedImage(context)) return kExitFailure;
  if (!RunWorker(context)) return kExitFailure;
  if (context.flash.receiver != nullptr)
    return ReplugVirtualReceiver(context, *context.flash.receiver);
  std::fprintf(context.out,
               "Firmware v%s is staged in the receiver. Unplug the receiver and plug it in again "
               "to install it; \"corsaro270-cli info\" then shows the version it runs.\n",
               carried.c_str());
  return kExitOk;
}
