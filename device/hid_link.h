#pragma once
// The open connection to the receiver: finding and opening it, single reports with a 500 ms
// time-out, and batches of request/reply pairs kept 48 in flight. It knows nothing of what the
// payloads mean.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_port.h"
#include "device/slot_groups.h"

constexpr std::uint16_t kReceiverVendorId = 0x2E7B;
// The product ID accepted when enumerating.
constexpr std::uint16_t kReceiverProductId = 0x0262;
// The product ID tried first for a device path given by an arrival notice.
constexpr std::uint16_t kReceiverArrivalProductId = 0x0252;

constexpr std::size_t kReportSize = 33;  // report ID 0 and the payload
constexpr std::size_t kPayloadSize = 32;
constexpr int kSingleTimeoutMs = 500;
constexpr int kGroupTimeoutMs = 1000;
constexpr int kBatchSlots = 96;  // one write and one read slot per pair: 48 pairs in flight
constexpr int kIdleInputBuffers = 2;

class HidLink {
 public:
  // Creates a closed link that finds devices through `backend`.
  explicit HidLink(HidBackend& backend = CurrentHidBackend());
  // Frees the link: closes the device if one is open.
  ~HidLink();
  HidLink(const HidLink&) = delete;
  HidLink& operator=(const HidLink&) = delete;

  // Opens the first present device with the receiver's vendor ID and product ID 0x0262.
  bool OpenFirstReceiver();
  // Opens the device at `path` if it shows the receiver's vendor ID and `productId`.
  bool OpenReceiverByPath(const char* path, std::uint16_t productId);
  // Whether a receiver is open.
  bool IsOpen() const { return open_; }
  // Why the last open failed, as hidapi keeps a last error per device: kNone after a success,
  // kNotPresent when no receiver was there, kPermissionDenied when one was there but this user
  // may not open it. A device that is not the receiver counts as not present.
  HidOpenError LastOpenError() const { return lastOpenError_; }
  // The device path the last open was about: the receiver opened or refused, the path asked
  // for, or empty when enumeration found no receiver.
  const std::string& Path() const { return path_; }
  // What names the open receiver for its backups (HidBackend::Identity); empty when unknown.
  const std::string& Identity() const { return identity_; }

  // Sends one 32-byte payload as a report (report ID 0 in front), waiting at most 500 ms for the
  // device to take it.
  bool WriteReport(const std::uint8_t* payload);
  // Reads one report into the 32-byte `payload` (zeroed first), waiting at most 500 ms.
  bool ReadReport(std::uint8_t* payload);
  // Sends `count` request reports (OutputReportLength apart) and reads as many replies
  // (InputReportLength apart), keeping at most 48 pairs in flight; writes and replies of each
  // group of slots share the group's 1000 ms. With `showProgress` it publishes `message` and
  // the whole percent done, 0 up to (100 * (count - 1)) / count. When `stopRequested` is given
  // and becomes true, the batch fails before its next group of 48 pairs: the group in flight is
  // completed first, so nothing stays pending.
  bool TransferBatch(const std::uint8_t* requests, std::uint8_t* replies, int count,
                     bool showProgress, const char* message,
                     const std::atomic<bool>* stopRequested = nullptr);
  // Discards every report queued by the device.
  void FlushInput();

  std::size_t InputReportLength() const { return inputReportLength_; }
  std::size_t OutputReportLength() const { return outputReportLength_; }
  // The slot counts awaited during the last batch, in order.
  const std::vector<int>& LastBatchWaits() const { return lastBatchWaits_; }

 private:
  bool Attach(std::unique_ptr<HidPort> port, std::uint16_t productId);
  bool IsListedReceiver(const std::string& path);
  void Close();
  bool StartPair(int slot, const std::uint8_t* request, std::uint8_t* reply);
  bool WaitForSlots(int count);
  bool ReadGroupReplies(const SlotGroup& group);
  bool FailBatch();

  HidBackend& backend_;
  std::unique_ptr<HidPort> device_;
  bool open_ = false;
  HidOpenError lastOpenError_ = HidOpenError::kNone;
  std::string path_;
  std::string identity_;
  std::size_t inputReportLength_ = kReportSize;
  std::size_t outputReportLength_ = kReportSize;
  // Where the reply of each read slot of the current batch goes (slot 2k+1 -> entry k).
  std::uint8_t* slotReplies_[kBatchSlots / 2] = {};
  // The open device's slots for transfers in flight together, or null.
  HidSlotTransfers* slotTransfers_ = nullptr;
  // When the first group of slots of the current batch must be complete (one report at a time).
  std::chrono::steady_clock::time_point firstGroupDeadline_{};
  std::vector<int> lastBatchWaits_;
};

// The link to the current receiver, or null when none is open. Shared, so that the upgrade worker
// can keep the link it writes through alive after the receiver was disconnected.
extern std::shared_ptr<HidLink> ReceiverLink;
