#pragma once
// Reports to and from one device handle opened for overlapped I/O: single transfers bounded by
// their time-out, and up to 96 slots in flight at once, each with its manual-reset event, awaited
// in groups with one wait. Every buffer and record the system may still write into belongs to
// this object, and a transfer that is given up is cancelled and seen to end before its slot is
// used again; a cancel the system never completes leaves the object unusable rather than reusing
// memory still in flight.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "device/hid_port.h"

class OverlappedReports : public HidSlotTransfers {
 public:
  static constexpr int kSlots = 96;

  // Takes `device`, opened with FILE_FLAG_OVERLAPPED, and closes it when destroyed. Reports are
  // `inputLength` and `outputLength` bytes long, report ID included.
  OverlappedReports(HANDLE device, std::size_t inputLength, std::size_t outputLength);
  // Cancels whatever is still pending, then closes the handle.
  ~OverlappedReports() override;
  OverlappedReports(const OverlappedReports&) = delete;
  OverlappedReports& operator=(const OverlappedReports&) = delete;

  // Whether the events were made and the object can transfer.
  bool Ready() const { return transfers_ != nullptr && !stuck_; }
  HANDLE Handle() const { return device_; }

  // Sends one report and waits at most `timeoutMs` for it to go out; cancelled when it did not.
  bool Write(const std::uint8_t* report, std::size_t length, int timeoutMs);
  // Reads one whole report, waiting at most `timeoutMs`; a read that timed out is cancelled.
  HidReadResult Read(std::uint8_t* report, std::size_t length, int timeoutMs);
  // Cancels every pending transfer and waits for each to end.
  void Cancel();

  bool StartWrite(int slot, const std::uint8_t* report, std::size_t length) override;
  bool StartRead(int slot, std::uint8_t* report, std::size_t length) override;
  bool WaitForGroup(int first, int count, int timeoutMs) override;

 private:
  struct Transfer {
    OVERLAPPED overlapped{};
    HANDLE event = nullptr;
    std::vector<std::uint8_t> buffer;
    std::uint8_t* destination = nullptr;  // where a read slot's report goes once complete
    bool pending = false;                 // issued, and its end not yet collected
  };
  struct Transfers {
    Transfer single;
    Transfer slots[kSlots];
  };

  bool Issue(Transfer& transfer, bool write, std::size_t length);
  bool Collect(Transfer& transfer, std::size_t length);
  void CancelTransfer(Transfer& transfer);
  Transfer* SlotAt(int slot);

  HANDLE device_;
  std::size_t inputLength_;
  std::size_t outputLength_;
  std::unique_ptr<Transfers> transfers_;
  bool stuck_ = false;
};
