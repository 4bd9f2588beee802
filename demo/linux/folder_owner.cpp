#include "demo/folder_owner.h"

#include <sys/stat.h>
#include <unistd.h>

FolderOwner OwnerOfFolder(const std::string& folder) {
  struct stat link {};
  struct stat named {};
  if (lstat(folder.c_str(), &link) != 0 || stat(folder.c_str(), &named) != 0 ||
      !S_ISDIR(named.st_mode)) {
    return FolderOwner::kNotFolder;
  }
  if (link.st_uid != geteuid() || named.st_uid != geteuid()) return FolderOwner::kOthers;
  return FolderOwner::kOwn;
}
