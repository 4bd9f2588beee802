#pragma once
// One HID device as the operating system presents it: raw input and output reports, in the
// platform's own report-ID convention. The hidraw device is the real one; tests fake it to check
// what the port above makes of short reads and writes that never finish.

#include <cstddef>
#include <cstdint>

class RawHidDevice {
 public:
  virtual ~RawHidDevice() = default;

  virtual std::uint16_t VendorId() const = 0;
  virtual std::uint16_t ProductId() const = 0;

  // Reads one input report into `data` (at most `size` bytes), waiting at most `timeoutMs`.
  // Returns the number of bytes the device delivered, 0 after a time-out, -1 after an error.
  // Unnumbered reports arrive without their report ID.
  virtual int Read(std::uint8_t* data, std::size_t size, int timeoutMs) = 0;
  // Writes one output report, report ID first, and returns once the device has taken it, which
  // may take as long as the system allows. Returns the number of bytes written, or -1. May run on
  // another thread at the same time as Read.
  virtual int Write(const std::uint8_t* data, std::size_t size) = 0;
};
