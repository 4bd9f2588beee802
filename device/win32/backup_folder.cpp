// The backups' folder on Windows: %LOCALAPPDATA%\Corsaro270\backups, which inherits the access
// list of the user's profile, closed to other users.
#include "device/backup_folder.h"

#include "device/profile_backups.h"
#include "device/win32/user_folder.h"

const char kNoBackupFolderReason[] =
    "the system names no local application data folder (%LOCALAPPDATA%) to keep it in";

std::string DefaultProfileBackupFolder() {
  const std::string base = UserDataFolder();
  return base.empty() ? base : base + "\\backups";
}

bool PreparePrivateFolder(const std::string& folder, std::string& why) {
  return MakeFolders(folder, why);
}
