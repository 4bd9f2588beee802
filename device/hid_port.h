#pragma once
// The small port interface the HID link talks through, so that a real receiver (hidapi over
// hidraw) and the virtual receiver look the same. Reports carry their report ID in byte 0 in
// both directions, whatever the platform does underneath.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct HidDeviceInfo {
  std::string path;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
};

enum class HidReadResult { kOk, kTimeout, kError };

// Why a device could not be opened.
enum class HidOpenError {
  kNone,
  kNotPresent,        // no device at that path (any more)
  kPermissionDenied,  // present, but this user may not open it
  kFailed,            // anything else, such as a node that is no HID device
};

// Transfers kept in flight together, each in a numbered slot with a completion of its own, as
// Windows' overlapped I/O gives them. A port that offers them has a batch's reports issued all at
// once and then awaited, instead of one report after the other. Until a wait delivers them, the
// reports live in the port's own buffers, so a caller's buffer is never written after the batch
// gave up.
class HidSlotTransfers {
 public:
  virtual ~HidSlotTransfers() = default;
  // Starts sending `report` from `slot`; false when the system refused it at once.
  virtual bool StartWrite(int slot, const std::uint8_t* report, std::size_t length) = 0;
  // Starts reading one report in `slot`, to be copied into `report` by the wait that sees it
  // complete.
  virtual bool StartRead(int slot, std::uint8_t* report, std::size_t length) = 0;
  // Waits at most `timeoutMs` until each of the `count` slots from `first` (at most 64) has
  // completed; true when every one did, with its whole report.
  virtual bool WaitForGroup(int first, int count, int timeoutMs) = 0;
};

// One opened HID device.
class HidPort {
 public:
  virtual ~HidPort() = default;

  virtual std::uint16_t VendorId() const = 0;
  virtual std::uint16_t ProductId() const = 0;
  // Sizes of one report including the report ID byte.
  virtual std::size_t InputReportLength() const = 0;
  virtual std::size_t OutputReportLength() const = 0;

  // Sends one report, giving up after `timeoutMs`; true when the whole report went out in time.
  virtual bool Write(const std::uint8_t* report, std::size_t length, int timeoutMs) = 0;
  // Reads one report (report ID in byte 0), waiting at most `timeoutMs`.
  virtual HidReadResult Read(std::uint8_t* report, std::size_t length, int timeoutMs) = 0;
  // Discards every input report queued so far.
  virtual void FlushInput() = 0;
  // Asks the platform to keep `count` input reports; a no-op where the platform has no such call.
  virtual void SetInputBufferCount(int count) = 0;
  // Ends any transfer still pending on this device, so no caller's buffer is used afterwards.
  virtual void Cancel() = 0;
  // The device's slots for transfers in flight together, or null when it moves one report at a
  // time.
  virtual HidSlotTransfers* SlotTransfers() { return nullptr; }
};

// Finds and opens HID devices.
class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // Every HID device present, in the platform's order.
  virtual std::vector<HidDeviceInfo> Enumerate() = 0;
  // Opens the device at `path` for reading and writing, or returns null with `error` saying why.
  virtual std::unique_ptr<HidPort> Open(const std::string& path, HidOpenError& error) = 0;
  // What names the receiver at `path` across plugs, ports and restarts, for its backups:
  // "serial:" and its USB serial number, else "usb:" and the physical port it is plugged into;
  // "virtual:" and the flash file of a virtual receiver. Empty when it cannot be told.
  virtual std::string Identity(const std::string& /*path*/) { return {}; }
};

// The platform's backend for real receivers: hidapi's hidraw implementation on Linux, SetupAPI
// and hid.dll on Windows.
HidBackend& SystemHidBackend();
// Why this build cannot reach a real receiver, in a sentence, or null when it can.
const char* SystemHidBackendMissing();

// The backend new links use: the system's unless another one was set.
HidBackend& CurrentHidBackend();
// Makes `backend` the one new links use; null goes back to the system's.
void SetCurrentHidBackend(HidBackend* backend);
