#pragma once
// SIGTERM, SIGINT and SIGHUP (on Windows SIGTERM, SIGINT and SIGBREAK) end the program through
// its exit path, as closing the window does: the handler only notes the signal, and the frame
// loop, which asks every frame, then ends, so that tear-down stops a running upgrade and the
// caller saves what it keeps. A second signal of
// the same kind ends the program at once, as it would have without the handler.

#include <csignal>

// Installs the handler for the three signals while it lives and puts back what was there before.
// Installed before the window opens, it also keeps SDL from taking SIGINT and SIGTERM for itself.
class QuitSignals {
 public:
  QuitSignals();
  ~QuitSignals();
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

 private:
#if defined(_WIN32)
  void (*previous_[3])(int) = {};
#else
  struct sigaction previous_[3] = {};
#endif
};

// The signal that asked the program to end since the handler was installed, or 0.
int QuitSignal();
