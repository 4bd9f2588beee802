// The backups' folder on Linux: in the XDG data folder, 0700 whatever the umask.
#include "device/backup_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "common/log.h"
#include "device/profile_backups.h"

const char kNoBackupFolderReason[] =
    "neither XDG_DATA_HOME nor HOME names an absolute folder to keep it in";

namespace {

constexpr const char* kBackupSubfolder = "/corsaro270/backups";
constexpr mode_t kPrivateFolder = 0700;

// Makes the folder and the missing ones above it for this user alone, whatever the umask.
bool MakeFolders(const std::string& folder, std::string& why) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), kPrivateFolder) == 0) {
      chmod(part.c_str(), kPrivateFolder);
    } else if (errno != EEXIST) {
      why = "cannot make the folder " + part + ": " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) return true;
  }
}

}  // namespace

std::string DefaultProfileBackupFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return std::string(data) + kBackupSubfolder;
  // A relative HOME would put the backups wherever the program happens to run.
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return "";
  return std::string(home) + "/.local/share" + kBackupSubfolder;
}

// The backups folder must be the user's own and closed to others: anyone who may write it could
// swap the files in it between a check and a read.
bool PreparePrivateFolder(const std::string& folder, std::string& why) {
  if (!MakeFolders(folder, why)) return false;
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat status {};
  if (fd < 0 || fstat(fd, &status) != 0) {
    why = "cannot use the folder " + folder + ": " + std::strerror(errno);
    if (fd >= 0) close(fd);
    return false;
  }
  bool usable = true;
  if (status.st_uid != geteuid()) {
    why = "the folder " + folder + " belongs to another user";
    usable = false;
  } else if ((status.st_mode & 077) != 0) {
    usable = fchmod(fd, kPrivateFolder) == 0;
    if (usable) {
      Log("Closed the backup folder %s to other users", folder.c_str());
    } else {
      why = "cannot close the folder " + folder + " to other users: " + std::strerror(errno);
    }
  }
  close(fd);
  return usable;
}
