#include "device/raw_hid_port.h"

#include <cstring>

namespace {

// The receiver's reports: report ID 0 and a 32-byte payload. Being unnumbered, they travel
// without the ID from the device, and with it (as 0) to the device.
constexpr std::size_t kReceiverReportLength = 33;

}  // namespace

RawHidPort::RawHidPort(std::shared_ptr<RawHidDevice> device)
    : device_(std::move(device)), writer_(device_) {}

std::uint16_t RawHidPort::VendorId() const {
  return device_->VendorId();
}

std::uint16_t RawHidPort::ProductId() const {
  return device_->ProductId();
}

std::size_t RawHidPort::InputReportLength() const {
  return kReceiverReportLength;
}

std::size_t RawHidPort::OutputReportLength() const {
  return kReceiverReportLength;
}

bool RawHidPort::Write(const std::uint8_t* report, std::size_t length, int timeoutMs) {
  return writer_.Write(report, length, timeoutMs);
}

HidReadResult RawHidPort::Read(std::uint8_t* report, std::size_t length, int timeoutMs) {
  if (length != kReceiverReportLength) return HidReadResult::kError;
  // One byte more than an unnumbered report, so that a longer report shows as one.
  std::uint8_t delivered[kReceiverReportLength];
  const int got = device_->Read(delivered, sizeof delivered, timeoutMs);
  if (got == 0) return HidReadResult::kTimeout;
  // A cut report padded with zeros could pass for a reply and its zeros for flash data.
  if (got != static_cast<int>(kReceiverReportLength - 1)) return HidReadResult::kError;
  report[0] = 0;
  std::memcpy(report + 1, delivered, kReceiverReportLength - 1);
  return HidReadResult::kOk;
}

void RawHidPort::FlushInput() {
  std::uint8_t scratch[kReceiverReportLength];
  while (device_->Read(scratch, sizeof scratch, 0) > 0) {
  }
}
