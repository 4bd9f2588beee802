#include "app/profile_operations.h"

#include <algorithm>
#include <string>

#include "app/messages.h"
#include "app/profile_messages.h"
#include "common/log.h"
#include "device/connection.h"
#include "device/hid_link.h"
#include "device/receiver_lock.h"
#include "device/wheel_protocol.h"
#include "profile/action_codes.h"
#include "profile/factory_profiles.h"
#include "profile/profile_mapping.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"

namespace {

constexpr std::int32_t kClearedAngleA = 0;
constexpr std::int32_t kClearedAngleB = 32767;

// Writes ProfileSet to the open receiver while holding its writer lock; false, with a log line
// saying why, when there is no receiver, the lock stays taken or the write fails.
bool WriteProfilesUnderLock() {
  if (ReceiverLink == nullptr) {
    Log("Assign Setting: no receiver is open");
    return false;
  }
  std::string why;
  const std::string identity = ReceiverIdentity(ReceiverLink->Path());
  ReceiverLock lock;
  if (!lock.Acquire(identity, kReceiverLockWaitMs, why)) {
    Log("Assign Setting: nothing written: %s", why.c_str());
    return false;
  }
  if (!WriteProfileToReceiver(*ReceiverLink)) {
    Log("Assign Setting: the receiver did not take the profiles");
    return false;
  }
  NoteProfilesWritten();
  return true;
}

}  // namespace

void AssignSetting() {
  ShowProfile(CurrentProfile, true);
  for (int profile = 0; profile < kProfileCount; ++profile) ControlsToProfile(profile);
  ShowInformation(WriteProfilesUnderLock() ? kWriteDoneNotice : kWriteFailedNotice);
}

void ClearProfile() {
  if (!AskYesNo(kClearProfileQuestion)) return;
  std::fill(std::begin(ControlActions), std::end(ControlActions), kNoAction);
  WorkingSettings.angleA = kClearedAngleA;
  WorkingSettings.angleB = kClearedAngleB;
  ShowProfile(CurrentProfile, true);
}

void ResetProfile() {
  if (!AskYesNo(kResetProfileQuestion)) return;
  ProfileSet[CurrentProfile] = FactoryProfiles[CurrentProfile];
  ProfileToControls(CurrentProfile);
}
