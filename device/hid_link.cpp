// Batches take one of two paths. A port with slot transfers (overlapped I/O) gets every write and
// read of a group of 48 pairs issued at once, each in its slot, and the group awaited in waits of
// 64 slots. On a synchronous port the design is mirrored: a write completes when it returns, and
// a read slot completes when its reply has been read; requests of a group are all sent before its
// replies are read, so the device queue (64 reports on hidraw) must hold 48.

#include "device/hid_link.h"

#include <chrono>
#include <cstring>

#include "device/debug_output.h"
#include "device/progress.h"

std::shared_ptr<HidLink> ReceiverLink;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBatchInputBuffers = kBatchSlots;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

HidLink::HidLink(HidBackend& backend) : backend_(backend) {}

HidLink::~HidLink() {
  Close();
}

void HidLink::Close() {
  if (device_) device_->Cancel();
  slotTransfers_ = nullptr;
  device_.reset();
  open_ = false;
  identity_.clear();
}

bool HidLink::Attach(std::unique_ptr<HidPort> port, std::uint16_t productId) {
  if (!port || port->VendorId() != kReceiverVendorId || port->ProductId() != productId) {
    return false;
  }
  device_ = std::move(port);
  inputReportLength_ = device_->InputReportLength();
  outputReportLength_ = device_->OutputReportLength();
  if (inputReportLength_ < kReportSize || outputReportLength_ < kReportSize) {
    device_->Cancel();
    device_.reset();
    return false;
  }
  slotTransfers_ = device_->SlotTransfers();
  device_->SetInputBufferCount(kIdleInputBuffers);
  open_ = true;
  DebugOutput("Opened handle\n");
  return true;
}

bool HidLink::OpenFirstReceiver() {
  open_ = false;
  if (device_) {
    DebugOutput("ClosedHandle(1)\n");
    Close();
  }
  lastOpenError_ = HidOpenError::kNotPresent;
  path_.clear();
  identity_.clear();
  for (const HidDeviceInfo& info : backend_.Enumerate()) {
    // The enumeration already knows the IDs; skip foreign devices without opening them.
    if (info.vendorId != kReceiverVendorId || info.productId != kReceiverProductId) continue;
    HidOpenError error = HidOpenError::kNone;
    if (Attach(backend_.Open(info.path, error), kReceiverProductId)) {
      lastOpenError_ = HidOpenError::kNone;
      path_ = info.path;
      identity_ = backend_.Identity(path_);
      return true;
    }
    // Remember the first receiver that was there but could not be opened.
    if (error != HidOpenError::kNone && lastOpenError_ == HidOpenError::kNotPresent) {
      lastOpenError_ = error;
      path_ = info.path;
    }
  }
  return false;
}

bool HidLink::OpenReceiverByPath(const char* path, std::uint16_t productId) {
  Close();
  lastOpenError_ = HidOpenError::kNotPresent;
  path_ = path != nullptr ? path : "";
  if (path == nullptr) return false;
  HidOpenError error = HidOpenError::kNone;
  if (Attach(backend_.Open(path, error), productId)) {
    lastOpenError_ = HidOpenError::kNone;
    identity_ = backend_.Identity(path_);
    return true;
  }
  // Arrival notices name every HID device, and other devices' nodes are closed to users: only a
  // device listed as the receiver can be a receiver this user may not open.
  if (error != HidOpenError::kNone && IsListedReceiver(path_)) lastOpenError_ = error;
  return false;
}

bool HidLink::IsListedReceiver(const std::string& path) {
  for (const HidDeviceInfo& info : backend_.Enumerate()) {
    if (info.path != path) continue;
    return info.vendorId == kReceiverVendorId &&
           (info.productId == kReceiverProductId || info.productId == kReceiverArrivalProductId);
  }
  return false;
}

bool HidLink::WriteReport(const std::uint8_t* payload) {
  if (!open_) return false;
  std::vector<std::uint8_t> report(outputReportLength_, 0);
  std::memcpy(report.data() + 1, payload, kPayloadSize);
  return device_->Write(report.data(), report.size(), kSingleTimeoutMs);
}

bool HidLink::ReadReport(std::uint8_t* payload) {
  std::memset(payload, 0, kPayloadSize);
  if (!open_) return false;
  std::vector<std::uint8_t> report(inputReportLength_);
  const HidReadResult result = device_->Read(report.data(), report.size(), kSingleTimeoutMs);
  if (result != HidReadResult::kOk) {
    if (result == HidReadResult::kTimeout) device_->Cancel();
    return false;
  }
  std::memcpy(payload, report.data() + 1, kPayloadSize);
  return true;
}

void HidLink::FlushInput() {
  if (open_) device_->FlushInput();
}

bool HidLink::FailBatch() {
  // Nothing may stay pending on the caller's buffers once the batch has given up, and replies
  // that did arrive must not be taken for the answers to a later request.
  device_->Cancel();
  device_->FlushInput();
  device_->SetInputBufferCount(kIdleInputBuffers);
  return false;
}

bool HidLink::TransferBatch(const std::uint8_t* requests, std::uint8_t* replies, int count,
                            bool showProgress, const char* message,
                            const std::atomic<bool>* stopRequested) {
  lastBatchWaits_.clear();
  if (!open_) return false;
  device_->SetInputBufferCount(kBatchInputBuffers);
  int slot = 0;
  int lastProgress = -1;
  for (int j = 0; j < count; ++j) {
    if (slot == 0) {
      // Between groups nothing is in flight: the one safe place to give up on request.
      if (stopRequested != nullptr && stopRequested->load()) return FailBatch();
      // A chunk's requests go out under the deadline of its first group of slots, which runs
      // from the first request: writes complete under the same wait as the replies.
      firstGroupDeadline_ = Clock::now() + std::chrono::milliseconds(kGroupTimeoutMs);
    }
    if (!StartPair(slot, requests + j * outputReportLength_, replies + j * inputReportLength_)) {
      return FailBatch();
    }
    slot += 2;
    if (slot >= kBatchSlots) {
      if (!WaitForSlots(kBatchSlots)) return FailBatch();
      slot = 0;
    }
    if (showProgress) {
      const int percent = static_cast<int>((100LL * j) / count);
      if (percent != lastProgress) {
        lastProgress = percent;
        ProgressMessage = message;
        ProgressPercent = percent;
      }
    }
  }
  if (slot > 0 && !WaitForSlots(slot)) return FailBatch();
  device_->SetInputBufferCount(kIdleInputBuffers);
  return true;
}

bool HidLink::StartPair(int slot, const std::uint8_t* request, std::uint8_t* reply) {
  if (slotTransfers_ != nullptr) {
    return slotTransfers_->StartWrite(slot, request, outputReportLength_) &&
           slotTransfers_->StartRead(slot + 1, reply, inputReportLength_);
  }
  slotReplies_[slot / 2] = reply;
  return device_->Write(request, outputReportLength_, MillisecondsLeft(firstGroupDeadline_));
}

bool HidLink::WaitForSlots(int count) {
  if (!open_) return false;
  lastBatchWaits_.push_back(count);
  for (const SlotGroup& group : SlotGroups(count)) {
    const bool complete = slotTransfers_ != nullptr ? slotTransfers_->WaitForGroup(
                                                          group.first, group.count, kGroupTimeoutMs)
                                                    : ReadGroupReplies(group);
    if (!complete) return false;
  }
  return true;
}

bool HidLink::ReadGroupReplies(const SlotGroup& group) {
  // Write slots (even) completed when their write returned; read slots (odd) complete as their
  // replies are read, in order. The first group's deadline runs from the batch's first request.
  const auto deadline = group.first == 0
                            ? firstGroupDeadline_
                            : Clock::now() + std::chrono::milliseconds(kGroupTimeoutMs);
  for (int slot = group.first; slot < group.first + group.count; ++slot) {
    if (slot % 2 == 0) continue;
    if (device_->Read(slotReplies_[slot / 2], inputReportLength_, MillisecondsLeft(deadline)) !=
        HidReadResult::kOk) {
      return false;
    }
  }
  return true;
}
