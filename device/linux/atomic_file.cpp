#include "device/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>

namespace {

constexpr mode_t kDefaultUmask = 022;
// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;
constexpr int kTemporaryTries = 100;
constexpr int kRandomLetters = 6;
// The longest name part a temporary keeps, so ".NAME.XXXXXX" fits in a folder entry.
constexpr std::size_t kTemporaryNameRoom = NAME_MAX - 2 - kRandomLetters;
// A temporary this old is past the moment between its creation and its lock.
constexpr std::time_t kStaleSeconds = 5;
// How long a character device (a terminal, a pipe-like node) may keep a write waiting.
constexpr int kDeviceWaitMs = 10000;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

// Where a save goes: a name in an open folder, and what is there now.
struct Target {
  UniqueFd folder;
  struct stat folderStatus {};
  std::string folderPath;
  std::string name;
  std::string shown;  // the path for messages
  bool exists = false;
  struct stat status {};
};

std::string Reason(const char* what, const std::string& path, int number) {
  return std::string(what) + " " + path + ": " + std::strerror(number);
}

// The process's umask, read without changing it (umask() would, for every thread at once).
mode_t CurrentUmask() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return kDefaultUmask;
  char line[128];
  mode_t mask = kDefaultUmask;
  while (std::fgets(line, sizeof line, status) != nullptr) {
    unsigned value = 0;
    if (std::sscanf(line, "Umask: %o", &value) == 1) {
      mask = static_cast<mode_t>(value);
      break;
    }
  }
  std::fclose(status);
  return mask;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The kernel's rule for links in shared folders (fs.protected_symlinks), applied whether or not
// this machine turned it on: in a sticky folder everybody may write, only a link of the user's
// own or of the folder's owner is followed.
bool MayFollow(const struct stat& folder, const struct stat& link) {
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == geteuid() || link.st_uid == folder.st_uid;
}

// The same rule for a file found there (fs.protected_regular): another user may have put it in
// the way to read what is saved.
bool MayWriteOver(const Target& target) {
  return MayFollow(target.folderStatus, target.status);
}

bool OpenFolder(const std::string& path, Target& target, std::string& why) {
  // Read access lets stale temporaries be listed; without it the folder is still used.
  int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 && errno == EACCES) fd = open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 || fstat(fd, &target.folderStatus) != 0) {
    why = Reason("cannot create a file in", path, errno);
    if (fd >= 0) close(fd);
    return false;
  }
  target.folder.Reset(fd);
  target.folderPath = path;
  return true;
}

bool ReadLink(const Target& target, std::string& destination, std::string& why) {
  char text[PATH_MAX];
  const ssize_t length = readlinkat(target.folder.get(), target.name.c_str(), text, sizeof text);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof text) {
    why = Reason("cannot read the link", target.shown, length < 0 ? errno : ENAMETOOLONG);
    return false;
  }
  destination.assign(text, static_cast<std::size_t>(length));
  return true;
}

// Finds what a save to `path` writes, following links one at a time so that each is judged.
bool FindTarget(const std::string& path, Target& target, std::string& why) {
  std::string current = path;
  for (int links = 0;; ++links) {
    target.name = NameOf(current);
    target.shown = current;
    if (target.name.empty() || target.name == "." || target.name == "..") {
      why = "cannot write " + current + ": it names a folder, not a file";
      return false;
    }
    if (!OpenFolder(FolderOf(current), target, why)) return false;
    if (fstatat(target.folder.get(), target.name.c_str(), &target.status, AT_SYMLINK_NOFOLLOW) !=
        0) {
      const int error = errno;
      if (error != ENOENT) why = Reason("cannot look at", current, error);
      target.exists = false;
      return error == ENOENT;
    }
    target.exists = true;
    if (!S_ISLNK(target.status.st_mode)) return true;
    if (links == kMaxLinks) {
      why = Reason("cannot write", path, ELOOP);
      return false;
    }
    if (!MayFollow(target.folderStatus, target.status)) {
      why = "will not follow the link " + current +
            ": it belongs to another user and lies in a folder all users may write";
      return false;
    }
    std::string destination;
    if (!ReadLink(target, destination, why)) return false;
    current = destination[0] == '/' ? destination : FolderOf(current) + "/" + destination;
  }
}

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISBLK(mode)) return "a block device";
  return "not a regular file";
}

bool SameFile(int fd, const struct stat& expected) {
  struct stat now {};
  return fstat(fd, &now) == 0 && now.st_dev == expected.st_dev && now.st_ino == expected.st_ino;
}

// Opens the existing file for writing: whether this user may write it is the kernel's answer.
bool OpenExisting(const Target& target, UniqueFd& fd, std::string& why) {
  fd.Reset(openat(target.folder.get(), target.name.c_str(),
                  O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) {
    why = Reason("cannot write", target.shown, errno);
    return false;
  }
  if (SameFile(fd.get(), target.status)) return true;
  why = "cannot write " + target.shown + ": it was replaced while it was being saved";
  return false;
}

bool WaitWritable(int fd) {
  pollfd ready{fd, POLLOUT, 0};
  return poll(&ready, 1, kDeviceWaitMs) == 1 && (ready.revents & POLLOUT) != 0;
}

// Writes everything at the file's position; a device that is not ready is waited for, boundedly.
bool WriteAll(int fd, const unsigned char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno == EAGAIN) {
      if (!WaitWritable(fd)) {
        errno = ETIMEDOUT;
        return false;
      }
      continue;
    }
    if (written < 0) return false;
    if (written == 0) {
      errno = EIO;
      return false;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool WriteDevice(const Target& target, const void* bytes, std::size_t size, std::string& why) {
  UniqueFd fd;
  if (!OpenExisting(target, fd, why)) return false;
  if (WriteAll(fd.get(), static_cast<const unsigned char*>(bytes), size)) return true;
  why = Reason("cannot write", target.shown, errno);
  return false;
}

bool WriteInPlace(const Target& target, int fd, const void* bytes, std::size_t size,
                  std::string& why) {
  const bool done = lseek(fd, 0, SEEK_SET) == 0 &&
                    WriteAll(fd, static_cast<const unsigned char*>(bytes), size) &&
                    ftruncate(fd, static_cast<off_t>(size)) == 0 && fsync(fd) == 0;
  if (!done) why = Reason("cannot write", target.shown, errno);
  return done;
}

// A write past RLIMIT_FSIZE would end the process by SIGXFSZ halfway; say so beforehand.
bool WithinSizeLimit(const Target& target, std::size_t size, std::string& why) {
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
      size <= limit.rlim_cur) {
    return true;
  }
  why = "cannot write " + target.shown + ": it needs " + std::to_string(size) +
        " bytes and files are limited to " + std::to_string(limit.rlim_cur) + " (ulimit -f)";
  return false;
}

std::string TemporaryPrefix(const std::string& name) {
  return "." + name.substr(0, kTemporaryNameRoom) + ".";
}

// The NAME of a temporary ".NAME.XXXXXX", or empty when `entry` is not one.
std::string TemporaryOf(const std::string& entry) {
  const std::size_t letters = entry.size() - kRandomLetters;
  if (entry.size() < kRandomLetters + 3 || entry[0] != '.' || entry[letters - 1] != '.') return {};
  if (entry.find_first_not_of(kLetters, letters) != std::string::npos) return {};
  return entry.substr(1, letters - 2);
}

// A temporary left by a save that was killed: ours, plain, a few seconds old and not locked by
// a save still writing it.
void RemoveIfStale(int folder, const char* entry) {
  struct stat status {};
  if (fstatat(folder, entry, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(status.st_mode) ||
      status.st_uid != geteuid() || status.st_nlink != 1 ||
      std::time(nullptr) - status.st_mtime < kStaleSeconds) {
    return;
  }
  UniqueFd fd(openat(folder, entry, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!fd.valid() || flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return;
  struct stat now {};
  if (SameFile(fd.get(), status) && fstatat(folder, entry, &now, AT_SYMLINK_NOFOLLOW) == 0 &&
      now.st_ino == status.st_ino) {
    unlinkat(folder, entry, 0);
  }
}

void RemoveStaleIn(int folder, const std::function<bool(const std::string&)>& isTarget) {
  const int listing = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing < 0) return;
  DIR* entries = fdopendir(listing);
  if (entries == nullptr) {
    close(listing);
    return;
  }
  while (const dirent* entry = readdir(entries)) {
    const std::string name = TemporaryOf(entry->d_name);
    if (!name.empty() && isTarget(name)) RemoveIfStale(folder, entry->d_name);
  }
  closedir(entries);
}

void RemoveStaleTemporaries(const Target& target) {
  const std::string kept = target.name.substr(0, kTemporaryNameRoom);
  RemoveStaleIn(target.folder.get(), [&](const std::string& name) { return name == kept; });
}

std::string RandomLetters() {
  unsigned char noise[kRandomLetters];
  if (getrandom(noise, sizeof noise, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof noise)) {
    const auto mixed = static_cast<unsigned long>(std::clock()) ^
                       static_cast<unsigned long>(std::time(nullptr)) * 2654435761ul ^
                       static_cast<unsigned long>(getpid());
    for (int i = 0; i < kRandomLetters; ++i)
      noise[i] = static_cast<unsigned char>(mixed >> (5 * i));
  }
  std::string letters;
  for (unsigned char c : noise) letters.push_back(kLetters[c % (sizeof kLetters - 1)]);
  return letters;
}

// A fresh temporary beside the target, locked for as long as it is open so that a later save's
// clean-up leaves it alone. -1 with errno when the folder takes no new file.
int CreateTemporary(const Target& target, std::string& name) {
  for (int attempt = 0; attempt < kTemporaryTries; ++attempt) {
    name = TemporaryPrefix(target.name) + RandomLetters();
    const int fd = openat(target.folder.get(), name.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      flock(fd, LOCK_EX | LOCK_NB);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  errno = EEXIST;
  return -1;
}

// Gives the temporary the existing file's owner and group; false when that is not ours to give.
bool KeepOwner(int fd, const Target& target) {
  struct stat made {};
  if (fstat(fd, &made) != 0) return false;
  if (made.st_uid == target.status.st_uid && made.st_gid == target.status.st_gid) return true;
  return fchown(fd, target.status.st_uid, target.status.st_gid) == 0;
}

mode_t ModeFor(const Target& target, unsigned newFileMode) {
  if (target.exists) return target.status.st_mode & 07777;
  return newFileMode != 0 ? (newFileMode & 07777) : (0666 & ~CurrentUmask());
}

bool Replace(const Target& target, const UniqueFd& existing, const void* bytes, std::size_t size,
             unsigned newFileMode, std::string& why) {
  std::string temporary;
  UniqueFd fd(CreateTemporary(target, temporary));
  if (!fd.valid()) {
    const bool noNewFile = errno == EACCES || errno == EPERM;
    if (noNewFile && existing.valid())
      return WriteInPlace(target, existing.get(), bytes, size, why);
    why = Reason("cannot create a file in", target.folderPath, errno);
    return false;
  }
  const int folder = target.folder.get();
  if (target.exists && !KeepOwner(fd.get(), target)) {
    unlinkat(folder, temporary.c_str(), 0);
    return WriteInPlace(target, existing.get(), bytes, size, why);
  }
  // The lock stays until the rename is done, so no clean-up takes the temporary before.
  const bool done = WriteAll(fd.get(), static_cast<const unsigned char*>(bytes), size) &&
                    fchmod(fd.get(), ModeFor(target, newFileMode)) == 0 && fsync(fd.get()) == 0 &&
                    renameat(folder, temporary.c_str(), folder, target.name.c_str()) == 0;
  if (!done) {
    why = Reason("cannot write", target.shown, errno);
    unlinkat(folder, temporary.c_str(), 0);
    return false;
  }
  // Makes the rename itself durable.
  fsync(folder);
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size,
                         std::string& why, unsigned newFileMode) {
  Target target;
  if (!FindTarget(path, target, why)) return false;
  if (target.exists && S_ISCHR(target.status.st_mode)) return WriteDevice(target, bytes, size, why);
  if (target.exists && !S_ISREG(target.status.st_mode)) {
    why = "cannot write " + target.shown + ": it is " + KindOf(target.status.st_mode) +
          ", which a save never replaces";
    return false;
  }
  if (target.exists && !MayWriteOver(target)) {
    why = "cannot write " + target.shown +
          ": it belongs to another user and lies in a folder all users may write";
    return false;
  }
  if (!WithinSizeLimit(target, size, why)) return false;
  UniqueFd existing;
  if (target.exists && !OpenExisting(target, existing, why)) return false;
  RemoveStaleTemporaries(target);
  return Replace(target, existing, bytes, size, newFileMode, why);
}

void RemoveStaleTemporaries(const std::string& folder, bool (*isTarget)(const std::string& name)) {
  const UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid()) RemoveStaleIn(fd.get(), isTarget);
}
