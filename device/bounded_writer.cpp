#include "device/bounded_writer.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

// What the caller and the writing thread share. It lives as long as either of them, so a write
// stuck in the device outlives the writer without touching freed memory.
struct BoundedWriter::Shared {
  explicit Shared(std::shared_ptr<RawHidDevice> d) : device(std::move(d)) {}

  std::shared_ptr<RawHidDevice> device;
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::uint8_t> report;  // the copy being written
  bool pending = false;              // a report waits for the thread
  bool busy = false;                 // the thread is inside the device's write
  bool stop = false;
  std::uint64_t submitted = 0;  // reports handed over so far
  std::uint64_t finished = 0;   // reports whose write returned
  int result = -1;              // what the last finished write returned
};

BoundedWriter::BoundedWriter(std::shared_ptr<RawHidDevice> device)
    : shared_(std::make_shared<Shared>(std::move(device))), thread_(Run, shared_) {}

BoundedWriter::~BoundedWriter() {
  bool stuck = false;
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stop = true;
    stuck = shared_->busy;
  }
  shared_->changed.notify_all();
  if (stuck) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

void BoundedWriter::Run(std::shared_ptr<Shared> shared) {
  std::unique_lock lock(shared->mutex);
  for (;;) {
    shared->changed.wait(lock, [&] { return shared->pending || shared->stop; });
    if (shared->stop) return;
    shared->pending = false;
    shared->busy = true;
    const std::vector<std::uint8_t> report = shared->report;
    lock.unlock();
    const int result = shared->device->Write(report.data(), report.size());
    lock.lock();
    shared->busy = false;
    shared->result = result;
    ++shared->finished;
    shared->changed.notify_all();
  }
}

bool BoundedWriter::Write(const std::uint8_t* report, std::size_t length, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  Shared& shared = *shared_;
  std::unique_lock lock(shared.mutex);
  if (!shared.changed.wait_until(lock, deadline, [&] { return !shared.pending && !shared.busy; })) {
    return false;  // an earlier write is still stuck in the device
  }
  shared.report.assign(report, report + length);
  shared.pending = true;
  const std::uint64_t ticket = ++shared.submitted;
  shared.changed.notify_all();
  if (!shared.changed.wait_until(lock, deadline, [&] { return shared.finished >= ticket; })) {
    return false;
  }
  return shared.result == static_cast<int>(length);
}
