#pragma once
// The receiver's port over a raw HID device: it puts the report ID back in front of unnumbered
// input reports, takes only whole reports, and bounds every write by its time-out.

#include <memory>

#include "device/bounded_writer.h"
#include "device/hid_port.h"
#include "device/raw_hid_device.h"

class RawHidPort : public HidPort {
 public:
  explicit RawHidPort(std::shared_ptr<RawHidDevice> device);

  std::uint16_t VendorId() const override;
  std::uint16_t ProductId() const override;
  std::size_t InputReportLength() const override;
  std::size_t OutputReportLength() const override;

  // Hands the report to the writer and waits at most `timeoutMs` for the device to take it.
  bool Write(const std::uint8_t* report, std::size_t length, int timeoutMs) override;
  // Reads one report and puts report ID 0 in front; a report of any other length than the
  // receiver's is a failed read.
  HidReadResult Read(std::uint8_t* report, std::size_t length, int timeoutMs) override;
  void FlushInput() override;
  // hidraw keeps a fixed queue of 64 reports; there is nothing to set.
  void SetInputBufferCount(int) override {}
  // Reads finish before they return and a write that timed out works on its own copy of the
  // report, so no transfer ever uses a caller's buffer afterwards.
  void Cancel() override {}

 private:
  std::shared_ptr<RawHidDevice> device_;
  BoundedWriter writer_;
};
