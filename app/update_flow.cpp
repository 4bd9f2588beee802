#include "app/update_flow.h"

#include <string>

#include "app/carried_art.h"
#include "app/frame_functions.h"
#include "app/main_screen_drawing.h"
#include "app/messages.h"
#include "app/update_overlay.h"
#include "common/app_state.h"
#include "common/log.h"
#include "device/connection.h"
#include "device/firmware_upgrade.h"
#include "device/firmware_version.h"
#include "device/hid_link.h"
#include "device/progress.h"
#include "device/receiver_lock.h"
#include "device/wheel_protocol.h"
#include "engine/skin_sheet.h"

namespace {

constexpr const char* kReinsertWheel = "REINSERT WHEEL";
constexpr const char* kNoMessage = "";

// Clears the signature of the image staged by an earlier upgrade, holding the receiver's writer
// lock; true when it is cleared.
bool ClearStagedSignature() {
  if (ReceiverLink == nullptr) {
    Log("Firmware upgrade: no receiver is open to clear its staged image");
    return false;
  }
  ReceiverLock lock;
  std::string why;
  if (!lock.Acquire(ReceiverIdentity(ReceiverLink->Path()), kReceiverLockWaitMs, why)) {
    Log("Firmware upgrade: %s", why.c_str());
    return false;
  }
  if (!ClearDfuSignature(*ReceiverLink)) return false;
  DfuSignaturePresent = 0;
  return true;
}

void DrawUpdateScreen() {
  if (Skin != nullptr) DrawUpdateOverlay(*Skin);
}

}  // namespace

int UpdateRequestedStep() {
  // A worker left from a failed attempt holds its failure text: end it before starting over.
  StopFirmwareUpgrade();
  UpgradeRunning = 1;
  ProgressPercent = 0;
  ProgressMessage = nullptr;
  AppState = APP_UPDATE_RUNNING;
  if (DfuSignaturePresent) {
    UpgradeAfterReconnect = 1;
    if (!ClearStagedSignature()) AppState = APP_UPDATE_FAILED;
    return 0;
  }
  StartFirmwareUpgrade();
  return 0;
}

int UpdateRunningStep() {
  if (ReceiverConnected) return 0;
  ProgressMessage = kReinsertWheel;
  if (UpgradeRunning == 0) AppState = APP_UPDATE_WAIT_RETURN;
  return 0;
}

int UpdateWaitReturnStep() {
  if (!ReceiverConnected) {
    ProgressMessage = kReinsertWheel;
    return 0;
  }
  ProgressMessage = kNoMessage;
  // The receiver installs the staged image as it starts; one that comes back with its old
  // version did not, and saying otherwise would report a success nobody observed.
  if (WheelFirmwareVersion < kRequiredFirmwareVersion) {
    Log("Firmware upgrade: the receiver came back with firmware %X, not %X; not installed",
        static_cast<unsigned>(WheelFirmwareVersion),
        static_cast<unsigned>(kRequiredFirmwareVersion));
    AppState = APP_UPDATE_FAILED;
    return 0;
  }
  AppState = APP_MAIN_SCREEN;
  ShowInformation(kUpdateFinished);
  return 0;
}

void InstallUpdateScreens() {
  StateHandlers[APP_UPDATE_REQUESTED] = UpdateRequestedStep;
  StateHandlers[APP_UPDATE_RUNNING] = UpdateRunningStep;
  StateHandlers[APP_UPDATE_WAIT_RETURN] = UpdateWaitReturnStep;
  StateOverlays[APP_UPDATE_REQUESTED] = DrawUpdateScreen;
  StateOverlays[APP_UPDATE_RUNNING] = DrawUpdateScreen;
  StateOverlays[APP_UPDATE_WAIT_RETURN] = DrawUpdateScreen;
  StateOverlays[APP_UPDATE_FAILED] = DrawUpdateErrorPanel;
}
