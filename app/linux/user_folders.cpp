#include "app/user_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kProgramFolderName = "corsaro270";
constexpr mode_t kPrivateFolder = 0700;

bool IsAbsolute(const char* path) {
  return path != nullptr && path[0] == '/';
}

bool IsFolder(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Makes the folder and the missing folders above it, for this user only.
bool MakeFolders(const std::string& folder, std::string* why) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (!part.empty() && mkdir(part.c_str(), kPrivateFolder) != 0 && errno != EEXIST) {
      *why = "cannot create the folder " + part + ": " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) break;
  }
  if (IsFolder(folder)) return true;
  *why = folder + " is not a folder";
  return false;
}

// A folder only this user can write, so nobody else can plant or hold our sockets and locks.
bool IsPrivateFolder(const std::string& folder) {
  struct stat status {};
  return lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         status.st_uid == getuid() && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

bool RunsInstalled(const std::string& programFolder) {
  if (IsFolder(programFolder + kInstalledDataFolder)) return true;
  return access(programFolder.c_str(), W_OK) != 0;
}

std::string UserFolder(UserFileKind kind) {
  const bool state = kind == UserFileKind::kState;
  const char* base = std::getenv(state ? "XDG_STATE_HOME" : "XDG_CONFIG_HOME");
  // The base directory specification ignores relative paths in these variables.
  if (IsAbsolute(base)) return std::string(base) + "/" + kProgramFolderName;
  const char* home = std::getenv("HOME");
  if (!IsAbsolute(home)) return {};
  return std::string(home) + (state ? "/.local/state/" : "/.config/") + kProgramFolderName;
}

std::string UserFilePath(UserFileKind kind, const std::string& name,
                         const std::string& programFolder, std::string* why) {
  if (IsAbsolute(name.c_str()) || !RunsInstalled(programFolder)) return name;
  const std::string folder = UserFolder(kind);
  if (folder.empty()) {
    *why = "neither the XDG base folder nor HOME is an absolute path";
    return {};
  }
  if (!MakeFolders(folder, why)) return {};
  return folder + "/" + name;
}

std::string UserRuntimeFolder(std::string* why) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (IsAbsolute(runtime) && IsPrivateFolder(runtime)) return runtime;
  const std::string fallback = "/tmp/corsaro270-" + std::to_string(getuid());
  if (mkdir(fallback.c_str(), kPrivateFolder) != 0 && errno != EEXIST) {
    *why = "cannot create the folder " + fallback + ": " + std::strerror(errno);
    return {};
  }
  if (!IsPrivateFolder(fallback)) {
    *why = "the folder " + fallback + " is not this user's own";
    return {};
  }
  return fallback;
}
