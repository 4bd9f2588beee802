#include "device/win32/overlapped_reports.h"

#include <cstring>

namespace {

// How long a cancelled transfer may take to end. The HID class driver ends one at once; past
// this the device is taken for hung.
constexpr DWORD kCancelWaitMs = 2000;

DWORD WaitTime(int timeoutMs) {
  return timeoutMs > 0 ? static_cast<DWORD>(timeoutMs) : 0;
}

}  // namespace

OverlappedReports::OverlappedReports(HANDLE device, std::size_t inputLength,
                                     std::size_t outputLength)
    : device_(device), inputLength_(inputLength), outputLength_(outputLength) {
  auto transfers = std::make_unique<Transfers>();
  const std::size_t longest = inputLength > outputLength ? inputLength : outputLength;
  auto prepare = [longest](Transfer& transfer) {
    transfer.event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    transfer.buffer.assign(longest, 0);
    return transfer.event != nullptr;
  };
  bool made = prepare(transfers->single);
  for (Transfer& slot : transfers->slots) made = prepare(slot) && made;
  if (made) {
    transfers_ = std::move(transfers);
    return;
  }
  auto release = [](Transfer& transfer) {
    if (transfer.event != nullptr) CloseHandle(transfer.event);
  };
  release(transfers->single);
  for (Transfer& slot : transfers->slots) release(slot);
}

OverlappedReports::~OverlappedReports() {
  Cancel();
  if (device_ != INVALID_HANDLE_VALUE) CloseHandle(device_);
  if (transfers_ == nullptr) return;
  if (stuck_) {
    // The system may still write into these records and buffers: they must outlive it.
    static_cast<void>(transfers_.release());
    return;
  }
  CloseHandle(transfers_->single.event);
  for (Transfer& slot : transfers_->slots) CloseHandle(slot.event);
}

bool OverlappedReports::Issue(Transfer& transfer, bool write, std::size_t length) {
  ResetEvent(transfer.event);
  std::memset(&transfer.overlapped, 0, sizeof transfer.overlapped);
  transfer.overlapped.hEvent = transfer.event;
  const DWORD size = static_cast<DWORD>(length);
  const BOOL done =
      write ? WriteFile(device_, transfer.buffer.data(), size, nullptr, &transfer.overlapped)
            : ReadFile(device_, transfer.buffer.data(), size, nullptr, &transfer.overlapped);
  // Finished at once or under way: either way its end is collected from the record.
  transfer.pending = done || GetLastError() == ERROR_IO_PENDING;
  return transfer.pending;
}

bool OverlappedReports::Collect(Transfer& transfer, std::size_t length) {
  DWORD moved = 0;
  const BOOL ok = GetOverlappedResult(device_, &transfer.overlapped, &moved, FALSE);
  if (!ok && GetLastError() == ERROR_IO_INCOMPLETE) return false;
  transfer.pending = false;
  return ok && moved == length;
}

void OverlappedReports::CancelTransfer(Transfer& transfer) {
  if (!transfer.pending) return;
  // CancelIoEx, not CancelIo: the thread that gives up need not be the one that issued it (the
  // upgrade worker's link is freed by the main thread).
  CancelIoEx(device_, &transfer.overlapped);
  if (WaitForSingleObject(transfer.event, kCancelWaitMs) != WAIT_OBJECT_0) {
    stuck_ = true;
    return;
  }
  DWORD moved = 0;
  GetOverlappedResult(device_, &transfer.overlapped, &moved, FALSE);
  transfer.pending = false;
}

void OverlappedReports::Cancel() {
  if (transfers_ == nullptr) return;
  CancelTransfer(transfers_->single);
  for (Transfer& slot : transfers_->slots) CancelTransfer(slot);
}

bool OverlappedReports::Write(const std::uint8_t* report, std::size_t length, int timeoutMs) {
  if (!Ready() || length != outputLength_) return false;
  Transfer& transfer = transfers_->single;
  std::memcpy(transfer.buffer.data(), report, length);
  if (!Issue(transfer, true, length)) return false;
  if (WaitForSingleObject(transfer.event, WaitTime(timeoutMs)) == WAIT_OBJECT_0) {
    return Collect(transfer, length);
  }
  CancelTransfer(transfer);
  return false;
}

HidReadResult OverlappedReports::Read(std::uint8_t* report, std::size_t length, int timeoutMs) {
  if (!Ready() || length != inputLength_) return HidReadResult::kError;
  Transfer& transfer = transfers_->single;
  if (!Issue(transfer, false, length)) return HidReadResult::kError;
  const DWORD waited = WaitForSingleObject(transfer.event, WaitTime(timeoutMs));
  if (waited != WAIT_OBJECT_0 && waited != WAIT_TIMEOUT) {
    CancelTransfer(transfer);
    return HidReadResult::kError;
  }
  if (waited == WAIT_TIMEOUT) {
    CancelIoEx(device_, &transfer.overlapped);
    if (WaitForSingleObject(transfer.event, kCancelWaitMs) != WAIT_OBJECT_0) {
      stuck_ = true;
      return HidReadResult::kError;
    }
  }
  // A report that came in while the read was being cancelled is still a report.
  const bool whole = Collect(transfer, length);
  if (!whole) return waited == WAIT_TIMEOUT ? HidReadResult::kTimeout : HidReadResult::kError;
  std::memcpy(report, transfer.buffer.data(), length);
  return HidReadResult::kOk;
}

OverlappedReports::Transfer* OverlappedReports::SlotAt(int slot) {
  if (!Ready() || slot < 0 || slot >= kSlots) return nullptr;
  Transfer& transfer = transfers_->slots[slot];
  // A slot still in flight must end before its record is used again.
  CancelTransfer(transfer);
  return stuck_ ? nullptr : &transfer;
}

bool OverlappedReports::StartWrite(int slot, const std::uint8_t* report, std::size_t length) {
  Transfer* transfer = SlotAt(slot);
  if (transfer == nullptr || length != outputLength_) return false;
  std::memcpy(transfer->buffer.data(), report, length);
  transfer->destination = nullptr;
  return Issue(*transfer, true, length);
}

bool OverlappedReports::StartRead(int slot, std::uint8_t* report, std::size_t length) {
  Transfer* transfer = SlotAt(slot);
  if (transfer == nullptr || length != inputLength_) return false;
  transfer->destination = report;
  return Issue(*transfer, false, length);
}

bool OverlappedReports::WaitForGroup(int first, int count, int timeoutMs) {
  if (!Ready() || first < 0 || count <= 0 || count > MAXIMUM_WAIT_OBJECTS ||
      first + count > kSlots) {
    return false;
  }
  HANDLE events[MAXIMUM_WAIT_OBJECTS];
  for (int i = 0; i < count; ++i) {
    const Transfer& transfer = transfers_->slots[first + i];
    if (!transfer.pending) return false;  // never started, or already collected
    events[i] = transfer.event;
  }
  const DWORD waited =
      WaitForMultipleObjects(static_cast<DWORD>(count), events, TRUE, WaitTime(timeoutMs));
  if (waited >= WAIT_OBJECT_0 + static_cast<DWORD>(count)) return false;
  bool whole = true;
  for (int i = 0; i < count; ++i) {
    Transfer& transfer = transfers_->slots[first + i];
    const std::size_t length = transfer.destination != nullptr ? inputLength_ : outputLength_;
    if (!Collect(transfer, length)) {
      whole = false;
      continue;
    }
    if (transfer.destination != nullptr) {
      std::memcpy(transfer.destination, transfer.buffer.data(), length);
      transfer.destination = nullptr;
    }
  }
  return whole;
}
