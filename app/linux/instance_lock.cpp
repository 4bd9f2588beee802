#include "app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr int kPendingPokes = 8;

// The socket's address, or false when the path does not fit one.
bool SocketAddress(const std::string& path, sockaddr_un* address) {
  *address = {};
  address->sun_family = AF_UNIX;
  if (path.size() >= sizeof address->sun_path) return false;
  std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
  return true;
}

// Connects to the first run's socket and hangs up: the connection is the poke. A first run that
// does not take its pokes (a message box is open) must not hold this run up.
void Poke(const std::string& path) {
  sockaddr_un address;
  if (!SocketAddress(path, &address)) return;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  close(fd);
}

std::string Explain(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

}  // namespace

bool InstanceLock::Held() const {
  return lockFd_ >= 0;
}

InstanceLock::~InstanceLock() {
  Release();
}

InstanceLock::Claim InstanceLock::Take(const std::string& folder, const std::string& name,
                                       std::string* why) {
  if (Held()) return Claim::kFirst;
  const std::string lockPath = folder + "/" + name + ".lock";
  socketPath_ = folder + "/" + name + ".sock";
  // Close-on-exec: a browser started by this run must not go on holding the lock after it.
  const int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    *why = Explain("cannot open the lock file", lockPath);
    return Claim::kUnavailable;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    if (!held) *why = Explain("cannot lock", lockPath);
    close(fd);
    if (!held) return Claim::kUnavailable;
    Poke(socketPath_);
    return Claim::kAlreadyRunning;
  }
  lockFd_ = fd;
  Listen(why);
  return Claim::kFirst;
}

bool InstanceLock::Listen(std::string* why) {
  sockaddr_un address;
  if (!SocketAddress(socketPath_, &address)) {
    *why = "the socket path " + socketPath_ + " is too long";
    return false;
  }
  // Whoever made a socket here before has gone, or the lock would not be ours.
  unlink(socketPath_.c_str());
  listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listenFd_ >= 0 &&
      bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
      listen(listenFd_, kPendingPokes) == 0) {
    return true;
  }
  *why = Explain("cannot listen on", socketPath_);
  if (listenFd_ >= 0) close(listenFd_);
  listenFd_ = -1;
  return false;
}

int InstanceLock::TakePokes() {
  if (listenFd_ < 0) return 0;
  int pokes = 0;
  for (;;) {
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) break;
    close(fd);
    ++pokes;
  }
  return pokes;
}

void InstanceLock::Release() {
  if (listenFd_ >= 0) {
    close(listenFd_);
    unlink(socketPath_.c_str());
    listenFd_ = -1;
  }
  if (lockFd_ >= 0) {
    flock(lockFd_, LOCK_UN);
    close(lockFd_);
    lockFd_ = -1;
  }
}
