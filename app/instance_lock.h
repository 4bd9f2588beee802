#pragma once
// One run of a program per user. The first run holds a lock file in the user's runtime folder and
// listens on a socket beside it; a later run finds the lock held, connects to the socket to poke
// the first run, and leaves it at that. Both files live in a folder only this user can write.
// On Windows the lock is a mutex of the user's session and the poke an event of that name.

#include <string>

class InstanceLock {
 public:
  enum class Claim {
    kFirst,           // this run holds the lock (and listens, where the socket could be made)
    kAlreadyRunning,  // another run holds it; that run was poked if it listens
    kUnavailable,     // the lock file could not be used: nothing is known
  };

  InstanceLock() = default;
  // Lets go of the lock and removes the socket.
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Claims `name` in `folder`: the lock is NAME.lock and the socket NAME.sock there. `why` tells
  // what failed for kUnavailable, and for kFirst when no socket could be made.
  Claim Take(const std::string& folder, const std::string& name, std::string* why);
  // For the first run: how many later runs poked it since the last call. Never blocks.
  int TakePokes();
  // Lets go of the lock and removes the socket; a later Take may claim it again.
  void Release();

  bool Held() const;

 private:
#if defined(_WIN32)
  void* mutex_ = nullptr;  // HANDLEs
  void* poked_ = nullptr;
#else
  bool Listen(std::string* why);

  int lockFd_ = -1;
  int listenFd_ = -1;
  std::string socketPath_;
#endif
};
