#pragma once
// One HID device made from user space through the kernel's /dev/uhid: the receiver's vendor-page
// report descriptor with one unnumbered 32-byte input and output report.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class UhidDevice {
 public:
  UhidDevice() = default;
  ~UhidDevice();
  UhidDevice(const UhidDevice&) = delete;
  UhidDevice& operator=(const UhidDevice&) = delete;

  // Opens the uhid node; false with `why` (the system's reason and what to do) when it cannot.
  bool Open(const std::string& node, std::string& why);
  int Fd() const { return fd_; }

  // Makes the device appear (the add event) or go (the remove event).
  bool Create(std::uint16_t vendorId, std::uint16_t productId, std::string& why);
  void Destroy();
  bool Created() const { return created_; }

  // Hands one input report (without report ID) to the kernel.
  bool SendInput(const std::uint8_t* data, std::size_t size);

  // Reads one event from the kernel. An output report lands in `output` (as hidraw wrote it,
  // report ID first); requests for feature reports are refused at once, so that no caller waits
  // for them. False when nothing could be read.
  bool ReadEvent(std::vector<std::uint8_t>& output, bool& isOutput);

 private:
  bool Write(const void* event, std::size_t size);

  int fd_ = -1;
  bool created_ = false;
};

// The report descriptor the device is created with.
std::vector<std::uint8_t> ReceiverReportDescriptor();
