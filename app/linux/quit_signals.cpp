#include "app/quit_signals.h"

#include <atomic>

namespace {

constexpr int kQuitSignals[3] = {SIGTERM, SIGINT, SIGHUP};

// Lock-free, so that the handler may write it.
std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free);

void NoteSignal(int number) {
  received.store(number, std::memory_order_relaxed);
}

}  // namespace

QuitSignals::QuitSignals() {
  received.store(0);
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted reads and waits go on; the next signal of the kind gets the default action.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (int i = 0; i < 3; ++i) sigaction(kQuitSignals[i], &action, &previous_[i]);
}

QuitSignals::~QuitSignals() {
  for (int i = 0; i < 3; ++i) sigaction(kQuitSignals[i], &previous_[i], nullptr);
}

int QuitSignal() {
  return received.load(std::memory_order_relaxed);
}
