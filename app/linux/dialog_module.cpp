#include "app/dialog_module.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// Closes the descriptor when the load is over, whatever its outcome.
class ModuleFile {
 public:
  explicit ModuleFile(const std::string& path)
      : fd_(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)) {}
  ~ModuleFile() {
    if (fd_ >= 0) close(fd_);
  }
  ModuleFile(const ModuleFile&) = delete;
  ModuleFile& operator=(const ModuleFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// Code that another user could have written must not run as ours.
bool Trusted(int fd, std::string* why) {
  struct stat status {};
  if (fstat(fd, &status) != 0) {
    *why = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(status.st_mode)) {
    *why = "not a regular file";
    return false;
  }
  if (status.st_uid != 0 && status.st_uid != getuid()) {
    *why = "it belongs to another user";
    return false;
  }
  const bool othersWrite = (status.st_mode & S_IWOTH) != 0 ||
                           ((status.st_mode & S_IWGRP) != 0 && status.st_gid != getgid());
  if (othersWrite) {
    *why = "others may write it";
    return false;
  }
  return true;
}

}  // namespace

std::string DialogModulePath() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || program.empty()) return {};
  return (program.parent_path() / kDialogModuleFromProgram).lexically_normal().string();
}

std::unique_ptr<Dialogs> LoadGtkDialogs(const std::string& path, std::string* why) {
  if (path.empty()) {
    *why = "the program's own folder is unknown";
    return nullptr;
  }
  ModuleFile file(path);
  if (file.fd() < 0) {
    *why = std::strerror(errno);
    return nullptr;
  }
  if (!Trusted(file.fd(), why)) return nullptr;
  // By its path, as the loader keeps one object per name: whoever could swap the file between
  // the check and the load could as well swap the program beside it.
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* error = dlerror();
    *why = error != nullptr ? error : "it does not load";
    return nullptr;
  }
  auto* entry = reinterpret_cast<DialogModuleEntry*>(dlsym(module, kDialogModuleEntry));
  if (entry == nullptr) {
    *why = std::string("it has no ") + kDialogModuleEntry;
    return nullptr;
  }
  std::unique_ptr<Dialogs> dialogs(entry(kDialogModuleInterface));
  if (dialogs == nullptr) *why = "GTK cannot start (no display?) or the module is of another build";
  return dialogs;
}
