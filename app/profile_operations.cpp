#include "app/profile_operations.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

enum class AssignOutcome { kWritten, kFailed, kDeclined };

// Whether the user wants the receiver written although what it holds could not be backed up.
bool WriteWithoutBackup(const std::string& why) {
  std::vector<char> question(std::strlen(kBackupFailedQuestion) + why.size() + 1);
  std::snprintf(question.data(), question.size(), kBackupFailedQuestion, why.c_str());
  if (AskYesNoDefaultNo(question.data())) return true;
  Log("Assign Setting: nothing written: the profiles on the receiver could not be backed up");
  return false;
}

// Backs up what the open receiver holds and writes ProfileSet to it while holding its writer
// lock; when the backup fails, only after a Yes. Fails, with a log line saying why, when there is
// no receiver, the lock stays taken or the write fails.
AssignOutcome WriteProfilesUnderLock() {
  if (ReceiverLink == nullptr) {
    Log("Assign Setting: no receiver is open");
    return AssignOutcome::kFailed;
  }
  std::string why;
  const std::string identity = ReceiverIdentity(ReceiverLink->Path());
  ReceiverLock lock;
  if (!lock.Acquire(identity, kReceiverLockWaitMs, why)) {
    Log("Assign Setting: nothing written: %s", why.c_str());
    return AssignOutcome::kFailed;
  }
  // The lock stays held while the user answers, so nothing else writes the receiver meanwhile.
  const ProfileBackupOutcome backup = BackUpReceiverProfiles(*ReceiverLink);
  if (backup.unanswered) {
    // A receiver that does not answer a read would not take a write either.
    Log("Assign Setting: nothing written: %s", backup.why.c_str());
    return AssignOutcome::kFailed;
  }
  if (backup.status == ProfileBackupOutcome::Status::kFailed && !WriteWithoutBackup(backup.why)) {
    return AssignOutcome::kDeclined;
  }
  if (!WriteProfileToReceiver(*ReceiverLink, ProfileBackupRule::kSkip)) {
    Log("Assign Setting: the receiver did not take the profiles");
    return AssignOutcome::kFailed;
  }
  NoteProfilesWritten();
  return AssignOutcome::kWritten;
}

}  // namespace

void AssignSetting() {
  ShowProfile(CurrentProfile, true);
  for (int profile = 0; profile < kProfileCount; ++profile) ControlsToProfile(profile);
  const AssignOutcome outcome = WriteProfilesUnderLock();
  if (outcome == AssignOutcome::kDeclined) return;
  ShowInformation(outcome == AssignOutcome::kWritten ? kWriteDoneNotice : kWriteFailedNotice);
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
