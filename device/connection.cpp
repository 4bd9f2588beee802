#include "device/connection.h"

#include <cassert>
#include <cstring>
#include <memory>

#include "common/app_state.h"
#include "common/log.h"
#include "device/connection_listener.h"
#include "device/firmware_upgrade.h"
#include "device/firmware_version.h"
#include "device/hid_link.h"
#include "device/progress.h"
#include "device/receiver_access.h"
#include "device/wheel_protocol.h"
#include "profile/profile_mapping.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"
#include "profile/wheel_profile.h"

std::int32_t ReceiverConnected = 0;
std::int32_t WheelFirmwareVersion = 0;
std::int32_t DfuSignaturePresent = 0;
std::uint8_t FirmwareOutOfDate = 0;
std::int32_t UpgradeAfterReconnect = 0;

namespace {

ConnectionListener* listener = nullptr;

// The first update state; from here on the update screen owns AppState.
constexpr std::int32_t kFirstUpdateState = APP_UPDATE_REQUESTED;

// Sync and flush bracket every exchange so a reply left in the queue is never taken for a later
// request.
void SyncAndFlush(HidLink& link) {
  SendSync(link);
  link.FlushInput();
}

// Lets go of the link. An upgrade worker that writes through it keeps it alive until it is done.
void FreeReceiverLink() {
  ReceiverLink.reset();
}

bool OpenLink(HidLink& link, const char* path) {
  if (path == nullptr) return link.OpenFirstReceiver();
  return link.OpenReceiverByPath(path, kReceiverArrivalProductId) ||
         link.OpenReceiverByPath(path, kReceiverProductId);
}

// The installed listener. Start-up installs one before the first connection; a missing one is a
// wiring fault that leaves the screen out of step with the receiver, so it is never silent.
ConnectionListener* Listener() {
  assert(listener != nullptr && "install a ConnectionListener before connecting the receiver");
  if (listener == nullptr) Log("No connection listener: the screen is not told about the receiver");
  return listener;
}

void RememberHeldProfiles(bool stored) {
  HeldProfiles& held = ReceiverHeldProfiles;
  held.known = true;
  held.stored = stored;
  for (int p = 0; p < kProfileCount; ++p) held.records[p] = ProfileSet[p];
}

bool HoldsWhatItHeld(bool stored) {
  const HeldProfiles& held = ReceiverHeldProfiles;
  if (!held.known || held.stored != stored) return false;
  for (int p = 0; p < kProfileCount; ++p) {
    if (ProfileSet[p].bytes != held.records[p].bytes) return false;
  }
  return true;
}

// Reads the receiver's profiles into ProfileSet and the controls. A receiver that comes back
// holding exactly what it held when it left (a loose cable, a bumped port) has lost nothing:
// ProfileSet and the working state of all three profiles stay as they were, edits included.
bool ReadReceiverProfiles(HidLink& link) {
  WheelProfile inMemory[kProfileCount];
  for (int p = 0; p < kProfileCount; ++p) inMemory[p] = ProfileSet[p];
  const bool returning = ReceiverHeldProfiles.known;
  bool stored = false;
  if (!ReadProfileFromReceiver(link, &stored)) return false;
  if (HoldsWhatItHeld(stored)) {
    for (int p = 0; p < kProfileCount; ++p) ProfileSet[p] = inMemory[p];
    Log("The receiver is back with the profiles it held: the edits are kept");
    return true;
  }
  if (returning) {
    Log("The receiver is back with other profiles: they are read, the edits that were not "
        "assigned are dropped");
  }
  RememberHeldProfiles(stored);
  for (int p = 0; p < kProfileCount; ++p) ProfileToControls(p);
  return true;
}

void NoteStagedImage(HidLink& link) {
  DfuSignaturePresent = 0;
  std::uint8_t signature[kDfuSignatureSize];
  if (ReadMemory(link, kDfuSignatureAddress, signature, sizeof signature) &&
      std::memcmp(signature, kDfuSignatureText, kDfuSignatureCompared) == 0) {
    DfuSignaturePresent = 1;
  }
}

}  // namespace

void ConnectReceiver(const char* path) {
  FreeReceiverLink();
  ReceiverLink = std::make_shared<HidLink>();
  HidLink& link = *ReceiverLink;
  const bool opened = OpenLink(link, path);
  NoteReceiverOpenResult(link.LastOpenError(), link.Path());
  if (!opened) {
    FreeReceiverLink();
    return;
  }
  SyncAndFlush(link);
  SetRadioState(link);
  std::int32_t version = 0;
  if (!ReadFirmwareVersion(link, version)) {
    Log("ERROR Reading firmware version");
    DisconnectReceiver();
    return;
  }
  if (ReadReceiverProfiles(link)) {
    ConnectionListener* told = Listener();
    WheelFirmwareVersion = version;
    ReceiverConnected = 1;
    if (AppState < kFirstUpdateState) {
      AppState = StateBeforeUnplug;
      if (told != nullptr) told->SetControlsEnabled(1);
    }
    SyncAndFlush(link);
    NoteStagedImage(link);
    if (UpgradeAfterReconnect) {
      UpgradeAfterReconnect = 0;
      AppState = APP_UPDATE_RUNNING;
      // From its start the worker is the link's only user, so the closing sync goes first.
      SyncAndFlush(link);
      if (told != nullptr) told->StartUpgradeWorker();
      return;
    }
    if (IsFirmwareOutOfDate(version)) FirmwareOutOfDate = 1;
  }
  SyncAndFlush(link);
}

void DisconnectReceiver() {
  if (ReceiverLink != nullptr) {
    // While the upgrade worker writes through the link, it is the link's only user.
    if (!FirmwareUpgradeUsesLink()) SyncAndFlush(*ReceiverLink);
    FreeReceiverLink();
  }
  ReceiverConnected = 0;
  WheelFirmwareVersion = 0;
  // Out with its image staged: waiting for its return from now on, so that a replug quicker
  // than a frame, whose arrival comes with this removal, is still taken for the return.
  if (AppState == APP_UPDATE_RUNNING && UpgradeRunning == 0) AppState = APP_UPDATE_WAIT_RETURN;
  if (AppState >= kFirstUpdateState) return;
  // The no-receiver state is never saved as the one to return to.
  if (AppState != APP_NO_RECEIVER) StateBeforeUnplug = AppState;
  AppState = APP_NO_RECEIVER;
  if (ConnectionListener* told = Listener()) told->SetControlsEnabled(0);
}

void NoteProfilesWritten() {
  RememberHeldProfiles(true);
}

void SetConnectionListener(ConnectionListener* newListener) {
  listener = newListener;
}

ConnectionListener* CurrentConnectionListener() {
  return listener;
}
