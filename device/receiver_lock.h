#pragma once
// One writer per receiver. Whoever writes a receiver's flash (profiles, the staged image's
// signature, an upgrade) holds an advisory lock on a file named after that receiver, so that the
// customiser and the command-line tool, or two runs of the tool, never interleave their reports.
// The lock files live in the user's runtime folder ($XDG_RUNTIME_DIR, else a folder of the user's
// own under /tmp, else, when another user took that name, $XDG_STATE_HOME/corsaro270/locks or
// ~/.local/state/corsaro270/locks; on Windows %LOCALAPPDATA%\Corsaro270\locks) and are removed
// by the holder as it lets go.

#include <cstdint>
#include <string>

// How long a second writer waits for the first before it gives up.
constexpr int kReceiverLockWaitMs = 3000;

// What names a receiver for its lock: the canonical absolute path of its device node, or of the
// flash file of a virtual receiver (which need not exist yet). "virtual:FILE", a virtual
// receiver's device path, names it by FILE's canonical path, with the prefix kept.
std::string ReceiverIdentity(const std::string& path);

// The lock file for a receiver's identity, or empty (with `why`) when the runtime folder cannot
// be used safely.
std::string ReceiverLockPath(const std::string& identity, std::string& why);

class ReceiverLock {
 public:
  ReceiverLock() = default;
  // Lets go of the lock if it is held.
  ~ReceiverLock();
  ReceiverLock(const ReceiverLock&) = delete;
  ReceiverLock& operator=(const ReceiverLock&) = delete;

  // Takes the lock of the receiver named `identity`, waiting at most `waitMs` for another writer
  // to finish. False, with `why` saying so in a sentence, when it is still held after that or
  // the lock file cannot be made. Taking a lock already held by this object is a no-op.
  bool Acquire(const std::string& identity, int waitMs, std::string& why);
  // Lets go of the lock and removes its file.
  void Release();
  bool Held() const { return handle_ != -1; }

 private:
  enum class Attempt { kTaken, kBusy, kFailed };
  Attempt TryLock(const std::string& path, std::string& why);

  std::intptr_t handle_ = -1;  // the lock file's descriptor or handle
  std::string path_;
};
