#pragma once
// A raw HID device under test control: it delivers queued input reports as given (so they can be
// cut short), records what is written, and can hold every write until released, like a receiver
// that stopped taking output reports.

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

#include "device/raw_hid_device.h"

class FakeRawDevice : public RawHidDevice {
 public:
  std::uint16_t VendorId() const override { return 0x2E7B; }
  std::uint16_t ProductId() const override { return 0x0262; }

  int Read(std::uint8_t* data, std::size_t size, int) override {
    std::lock_guard lock(mutex_);
    if (input_.empty()) return 0;
    const std::vector<std::uint8_t> report = input_.front();
    input_.pop_front();
    const std::size_t copied = std::min(size, report.size());  // hidraw cuts to the buffer
    std::memcpy(data, report.data(), copied);
    return static_cast<int>(copied);
  }

  int Write(const std::uint8_t* data, std::size_t size) override {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !holdWrites_; });
    written_.emplace_back(data, data + size);
    return static_cast<int>(size);
  }

  // Queues an input report as the device delivers it: unnumbered, so without its report ID.
  void Deliver(std::vector<std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    input_.push_back(std::move(report));
  }
  void HoldWrites(bool hold) {
    std::lock_guard lock(mutex_);
    holdWrites_ = hold;
    changed_.notify_all();
  }
  std::vector<std::vector<std::uint8_t>> Written() {
    std::lock_guard lock(mutex_);
    return written_;
  }
  std::size_t Queued() {
    std::lock_guard lock(mutex_);
    return input_.size();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<std::uint8_t>> input_;
  std::vector<std::vector<std::uint8_t>> written_;
  bool holdWrites_ = false;
};
