#include "app/profile_files.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "app/dialogs.h"
#include "app/messages.h"
#include "app/profile_messages.h"
#include "common/log.h"
#include "device/atomic_file.h"
#include "profile/profile_file.h"
#include "profile/profile_mapping.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"

namespace {

// What folding the screen into the current profile touches, to be put back when the file could
// not be written: a failed save changes nothing.
struct FoldedProfile {
  int profile;
  WheelProfile record;
  std::int32_t actions[kControlEntryCount];
  ProfileSettingValues saved;
  ProfileSettingValues working;

  explicit FoldedProfile(int current)
      : profile(current),
        record(ProfileSet[current]),
        saved(ProfileSettings[current]),
        working(WorkingSettings) {
    std::copy(std::begin(ProfileActionRows[current]), std::end(ProfileActionRows[current]),
              actions);
  }

  void Restore() const {
    ProfileSet[profile] = record;
    std::copy(std::begin(actions), std::end(actions), ProfileActionRows[profile]);
    ProfileSettings[profile] = saved;
    WorkingSettings = working;
  }
};

}  // namespace

void SaveProfileFile() {
  std::string path;
  if (!CurrentDialogs().ChooseSaveFile(&path)) return;
  const FoldedProfile before(CurrentProfile);
  ShowProfile(CurrentProfile, true);
  ControlsToProfile(CurrentProfile);
  ProfileFile container{};
  EncodeProfileFile(ProfileSet[CurrentProfile], container);
  std::string why;
  if (WriteFileAtomically(path, container.bytes, kProfileFileSize, why)) return;
  before.Restore();
  Log("Save profile: %s", why.c_str());
  ShowInformation(kSaveFailedNotice);
}

void LoadProfileFile() {
  std::string path;
  if (!CurrentDialogs().ChooseOpenFile(&path)) return;
  WheelProfile record{};
  const ProfileFileStatus status = LoadProfileContainer(path.c_str(), record);
  if (status != ProfileFileStatus::kOk) {
    Log("Load profile %s: %s", path.c_str(), ProfileFileStatusText(status));
    ShowInformation(IsProfileFileUnreadable(status) ? kLoadFailedNotice : kCorruptProfileNotice);
    return;
  }
  ProfileSet[CurrentProfile] = record;
  ProfileToControls(CurrentProfile);
  ShowInformation(kProfileLoadedNotice);
}
