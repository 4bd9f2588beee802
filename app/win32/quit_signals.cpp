// Windows delivers Ctrl+C and Ctrl+Break of the console as SIGINT and SIGBREAK; SIGTERM is raised
// only by the program itself. The C library resets a handler before calling it, so a second
// signal of the kind gets the default action, as on Linux.
#include <atomic>

#include "app/quit_signals.h"

namespace {

constexpr int kQuitSignals[3] = {SIGTERM, SIGINT, SIGBREAK};

std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free);

void NoteSignal(int number) {
  received.store(number, std::memory_order_relaxed);
}

}  // namespace

QuitSignals::QuitSignals() {
  received.store(0);
  for (int i = 0; i < 3; ++i) previous_[i] = std::signal(kQuitSignals[i], NoteSignal);
}

QuitSignals::~QuitSignals() {
  for (int i = 0; i < 3; ++i) {
    if (previous_[i] != SIG_ERR) std::signal(kQuitSignals[i], previous_[i]);
  }
}

int QuitSignal() {
  return received.load(std::memory_order_relaxed);
}
