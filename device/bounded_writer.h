#pragma once
// Gives a device's blocking writes a time-out. hidraw has none of its own: a write to a receiver
// that stops taking output reports blocks for as long as the kernel's USB time-out, whatever the
// file's flags, and poll() always calls a hidraw node writable. So the writes run on a thread of
// their own, and the caller waits for them only as long as it may.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

#include "device/raw_hid_device.h"

class BoundedWriter {
 public:
  explicit BoundedWriter(std::shared_ptr<RawHidDevice> device);
  // Returns at once: a write still stuck in the device finishes on its own and then lets go of it.
  ~BoundedWriter();
  BoundedWriter(const BoundedWriter&) = delete;
  BoundedWriter& operator=(const BoundedWriter&) = delete;

  // Writes one report, waiting at most `timeoutMs` in all, including the wait for an earlier
  // write that is still stuck. True when the whole report went out in time. After a time-out the
  // write carries on with its own copy of the report.
  bool Write(const std::uint8_t* report, std::size_t length, int timeoutMs);

 private:
  struct Shared;
  static void Run(std::shared_ptr<Shared> shared);

  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};
