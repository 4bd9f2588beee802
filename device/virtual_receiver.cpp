#include "device/virtual_receiver.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "common/byte_order.h"
#include "common/firmware_crc.h"
#include "common/regular_file.h"
#include "device/atomic_file.h"
#include "device/full_speed_frames.h"
#include "device/precise_wakeup.h"
#include "firmware_assets.h"

namespace {

using Clock = std::chrono::steady_clock;

// The receiver's side of the wire. The model states every number itself instead of borrowing the
// protocol code's constants, so that the tests check that code against an independent receiver.
constexpr std::size_t kReportBytes = 33;  // report ID 0, then the payload
constexpr std::size_t kPayloadBytes = 32;
constexpr std::uint8_t kMagic[5] = {'O', 'R', 'M', 'I', 'C'};
constexpr std::size_t kCodeAt = 5;
constexpr std::size_t kVersionAt = 6;  // high byte, then low byte
constexpr std::size_t kRadioStateAt = 6;
constexpr std::size_t kAddressAt = 8;  // little-endian
constexpr std::size_t kCrcLengthAt = 12;
constexpr std::size_t kDataAt = 16;
constexpr std::size_t kChunkBytes = 16;

constexpr std::uint8_t kSync = 0x02;
constexpr std::uint8_t kVersion = 0x03;
constexpr std::uint8_t kReadMemory = 0x0E;
constexpr std::uint8_t kWriteMemory = 0x0F;
constexpr std::uint8_t kEraseSector = 0x10;
constexpr std::uint8_t kRadioState = 0x16;
constexpr std::uint8_t kFlashCrc = 0x18;

// The only radio state and CRC request the receiver knows; anything else goes unanswered.
constexpr std::uint8_t kRadioStateValue = 7;
constexpr std::uint32_t kCrcSelector = 0x00030010;
constexpr std::uint32_t kCrcLength = 0xBFF0;

// Flash map.
constexpr std::uint32_t kSectorBytes = 0x1000;
constexpr std::uint32_t kUpgradeArea = 0x10000;
constexpr std::uint32_t kUpgradeAreaBytes = 0x10000;
constexpr std::uint32_t kSignatureAt = 0x10000;
constexpr std::uint8_t kSignature[9] = {'O', 'R', 'M', 'I', 'C', '_', 'D', 'F', 'U'};
constexpr std::uint32_t kBodyAt = 0x10010;
constexpr std::uint32_t kBodyBytes = 0xBFF0;
constexpr std::uint32_t kImageBytes = 0xC000;

constexpr std::uint8_t kErased = 0xFF;
constexpr int kArrivalEvent = 0x8000;
constexpr int kRemovalEvent = 0x8004;
constexpr std::uint16_t kVendorId = 0x2E7B;
// A command code that no request uses, for reports that answer nothing.
constexpr std::uint8_t kUnrelatedCode = 0x7E;
constexpr std::uint8_t kWrongCodeFlip = 0x40;

// The flash file: magic, firmware version and product ID (little-endian words), then the flash.
constexpr char kFileMagic[8] = {'C', 'S', '2', '7', '0', 'V', 'R', '1'};
constexpr std::size_t kFileHeaderSize = 16;
constexpr std::size_t kFileVersionOffset = 8;

class VirtualPort : public HidPort {
 public:
  explicit VirtualPort(VirtualReceiver& receiver)
      : receiver_(receiver), generation_(receiver.Generation()) {}

  std::uint16_t VendorId() const override { return kVendorId; }
  std::uint16_t ProductId() const override { return receiver_.ProductId(); }
  std::size_t InputReportLength() const override { return kReportBytes; }
  std::size_t OutputReportLength() const override { return kReportBytes; }

  // The model takes every report at once, so there is nothing to time out.
  bool Write(const std::uint8_t* report, std::size_t length, int) override {
    return receiver_.Receive(generation_, report, length);
  }
  HidReadResult Read(std::uint8_t* report, std::size_t length, int timeoutMs) override {
    return receiver_.Take(generation_, report, length, timeoutMs);
  }
  void FlushInput() override { receiver_.Flush(generation_); }
  void SetInputBufferCount(int count) override { receiver_.SetInputBuffers(count); }
  // Transfers finish inside Write and Read; nothing stays pending.
  void Cancel() override {}

 private:
  VirtualReceiver& receiver_;
  std::uint32_t generation_;
};

}  // namespace

VirtualReceiver::VirtualReceiver(std::string path, std::uint16_t productId)
    : path_(std::move(path)), productId_(productId), flash_(kFlashSize, kErased) {
  // A staged image is accepted when it is the image this program carries.
  const auto image = firmware_assets::Get("firmware/firmware.bin");
  if (image.size() == kImageBytes) {
    SetExpectedBodyCrc(FirmwareCrc(image.data() + (kBodyAt - kSignatureAt), kBodyBytes));
  }
}

void VirtualReceiver::SetFirmwareVersion(std::uint16_t version) {
  std::lock_guard lock(mutex_);
  version_ = version;
}

std::uint16_t VirtualReceiver::FirmwareVersion() const {
  std::lock_guard lock(mutex_);
  return version_;
}

void VirtualReceiver::SetFaults(const VirtualReceiverFaults& faults) {
  std::lock_guard lock(mutex_);
  faults_ = faults;
}

void VirtualReceiver::SetAccessDenied(bool denied) {
  std::lock_guard lock(mutex_);
  accessDenied_ = denied;
}

bool VirtualReceiver::AccessDenied() const {
  std::lock_guard lock(mutex_);
  return accessDenied_;
}

void VirtualReceiver::SetTiming(VirtualTiming timing) {
  std::lock_guard lock(mutex_);
  timing_ = timing;
}

void VirtualReceiver::SetExpectedBodyCrc(std::uint32_t crc) {
  std::lock_guard lock(mutex_);
  expectedCrcSet_ = true;
  expectedBodyCrc_ = crc;
}

void VirtualReceiver::ReadFlash(std::uint32_t address, std::uint8_t* out,
                                std::uint32_t length) const {
  std::lock_guard lock(mutex_);
  for (std::uint32_t i = 0; i < length; ++i) {
    const std::uint64_t at = static_cast<std::uint64_t>(address) + i;
    out[i] = at < kFlashSize ? flash_[at] : kErased;
  }
}

void VirtualReceiver::LoadFlash(std::uint32_t address, const std::uint8_t* data,
                                std::uint32_t length) {
  std::lock_guard lock(mutex_);
  for (std::uint32_t i = 0; i < length; ++i) {
    const std::uint64_t at = static_cast<std::uint64_t>(address) + i;
    if (at < kFlashSize) flash_[at] = data[i];
  }
}

bool VirtualReceiver::LoadFile(const std::string& path, std::string& error) {
  // Opening a FIFO would wait for a writer; only a regular file can be a flash file.
  RegularFile file;
  std::string why;
  const RegularFile::OpenResult opened = file.Open(path, true, why);
  if (opened != RegularFile::OpenResult::kOpened) {
    error = opened == RegularFile::OpenResult::kCannotOpen ? "cannot open " + path
                                                           : path + " is not a regular file";
    return false;
  }
  std::vector<std::uint8_t> bytes(kFileHeaderSize + kFlashSize + 1);
  const long got = file.Read(bytes.data(), bytes.size());
  file.Close();
  if (got != static_cast<long>(kFileHeaderSize + kFlashSize) ||
      std::memcmp(bytes.data(), kFileMagic, 8) != 0) {
    error = path + " is not a virtual receiver flash file";
    return false;
  }
  std::lock_guard lock(mutex_);
  version_ =
      static_cast<std::uint16_t>(bytes[kFileVersionOffset] | bytes[kFileVersionOffset + 1] << 8);
  std::copy(bytes.begin() + kFileHeaderSize, bytes.begin() + kFileHeaderSize + kFlashSize,
            flash_.begin());
  return true;
}

bool VirtualReceiver::SaveFile(const std::string& path, std::string& error) const {
  std::vector<std::uint8_t> bytes(kFileHeaderSize, 0);
  std::memcpy(bytes.data(), kFileMagic, sizeof kFileMagic);
  {
    std::lock_guard lock(mutex_);
    bytes[kFileVersionOffset] = static_cast<std::uint8_t>(version_ & 0xFF);
    bytes[kFileVersionOffset + 1] = static_cast<std::uint8_t>(version_ >> 8);
    bytes.insert(bytes.end(), flash_.begin(), flash_.end());
  }
  return WriteFileAtomically(path, bytes.data(), bytes.size(), error);
}

void VirtualReceiver::Plug() {
  std::lock_guard lock(mutex_);
  if (plugged_) return;
  plugged_ = true;
  ++generation_;
  InstallStagedImage();
  notices_.push_back(kArrivalEvent);
}

void VirtualReceiver::Unplug() {
  std::lock_guard lock(mutex_);
  UnplugLocked();
}

void VirtualReceiver::UnplugLocked() {
  if (!plugged_) return;
  plugged_ = false;
  ++generation_;
  queue_.clear();
  notices_.push_back(kRemovalEvent);
  arrived_.notify_all();
}

bool VirtualReceiver::Plugged() const {
  std::lock_guard lock(mutex_);
  return plugged_;
}

void VirtualReceiver::DeliverDeviceChanges(void (*handler)(int event, const char* path)) {
  std::vector<int> notices;
  {
    std::lock_guard lock(mutex_);
    notices.swap(notices_);
  }
  if (handler == nullptr) return;
  for (int event : notices) handler(event, path_.c_str());
}

void VirtualReceiver::InstallStagedImage() {
  if (std::memcmp(&flash_[kSignatureAt], kSignature, sizeof kSignature) != 0) return;
  const std::uint32_t crc = FirmwareCrc(&flash_[kBodyAt], kBodyBytes);
  if (expectedCrcSet_ && crc != expectedBodyCrc_) return;
  version_ = kFreshFirmwareVersion;
  std::fill(flash_.begin() + kUpgradeArea, flash_.begin() + kUpgradeArea + kUpgradeAreaBytes,
            kErased);
}

void VirtualReceiver::RecordRequests(bool on) {
  std::lock_guard lock(mutex_);
  recording_ = on;
  recorded_.clear();
}

std::vector<std::array<std::uint8_t, 32>> VirtualReceiver::RecordedRequests() const {
  std::lock_guard lock(mutex_);
  return recorded_;
}

int VirtualReceiver::RequestCount() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

int VirtualReceiver::LostReports() const {
  std::lock_guard lock(mutex_);
  return lost_;
}

int VirtualReceiver::InputBufferCount() const {
  std::lock_guard lock(mutex_);
  return inputBuffers_;
}

std::uint32_t VirtualReceiver::Generation() const {
  std::lock_guard lock(mutex_);
  return generation_;
}

void VirtualReceiver::SetInputBuffers(int count) {
  std::lock_guard lock(mutex_);
  inputBuffers_ = count;
}

bool VirtualReceiver::Receive(std::uint32_t generation, const std::uint8_t* report,
                              std::size_t length) {
  std::unique_lock lock(mutex_);
  if (!plugged_ || generation != generation_ || length != kReportBytes || report[0] != 0) {
    return false;
  }
  if (faults_.removeAfterReports >= 0 && requests_ >= faults_.removeAfterReports) {
    UnplugLocked();
    return false;
  }
  if (timing_ == VirtualTiming::kFullSpeed) {
    // The write returns once the report went out; the receiver has it from then on, however
    // late this thread wakes to notice.
    outFrameEnd_ = EndOfFrameCarrying(Clock::now(), outFrameEnd_);
    const auto sent = outFrameEnd_;
    lock.unlock();
    {
      PreciseWakeup precise;
      std::this_thread::sleep_until(sent);
    }
    lock.lock();
    if (!plugged_ || generation != generation_) return false;
    requestArrivedAt_ = sent;
  }
  ++requests_;
  if (recording_) {
    recorded_.emplace_back();
    std::memcpy(recorded_.back().data(), report + 1, kPayloadBytes);
  }
  HandleRequest(report + 1);
  return true;
}

HidReadResult VirtualReceiver::Take(std::uint32_t generation, std::uint8_t* report,
                                    std::size_t length, int timeoutMs) {
  std::unique_lock lock(mutex_);
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (!plugged_ || generation != generation_) return HidReadResult::kError;
    if (!queue_.empty()) {
      const auto readyAt = queue_.front().readyAt;
      if (readyAt <= Clock::now()) break;
      if (readyAt > deadline) {
        arrived_.wait_until(lock, deadline);
        if (Clock::now() >= deadline) return HidReadResult::kTimeout;
        continue;
      }
      {
        PreciseWakeup precise;
        arrived_.wait_until(lock, readyAt);
      }
      continue;
    }
    if (timing_ == VirtualTiming::kInstant) return HidReadResult::kTimeout;
    if (arrived_.wait_until(lock, deadline) == std::cv_status::timeout && queue_.empty()) {
      return HidReadResult::kTimeout;
    }
  }
  std::memset(report, 0, length);
  std::memcpy(report, queue_.front().bytes, std::min(length, kReportBytes));
  queue_.pop_front();
  return HidReadResult::kOk;
}

void VirtualReceiver::Flush(std::uint32_t generation) {
  std::lock_guard lock(mutex_);
  if (generation == generation_) queue_.clear();
}

bool VirtualReceiver::FaultApplies(std::uint8_t code) const {
  return faults_.onlyCode == 0 || faults_.onlyCode == code;
}

void VirtualReceiver::Push(const std::uint8_t* payload) {
  if (queue_.size() >= kQueueCapacity) {
    ++lost_;  // hidraw drops what its queue cannot hold
    return;
  }
  QueuedReport queued{};
  std::memcpy(queued.bytes + 1, payload, kPayloadBytes);
  queued.readyAt = Clock::now();
  if (timing_ == VirtualTiming::kFullSpeed) {
    // An answer goes in an IN frame after the OUT frame that carried its request.
    inFrameEnd_ = EndOfFrameCarrying(requestArrivedAt_, inFrameEnd_);
    queued.readyAt = inFrameEnd_;
  }
  queue_.push_back(queued);
  arrived_.notify_all();
}

void VirtualReceiver::HandleRequest(const std::uint8_t* request) {
  if (std::memcmp(request, kMagic, sizeof kMagic) != 0) return;
  const std::uint8_t code = request[kCodeAt];
  const std::uint32_t address = LoadLe32(request + kAddressAt);
  std::uint8_t reply[kPayloadBytes] = {};
  std::memcpy(reply, kMagic, sizeof kMagic);
  reply[kCodeAt] = code;
  switch (code) {
    case kVersion:
      reply[kVersionAt] = static_cast<std::uint8_t>(version_ >> 8);
      reply[kVersionAt + 1] = static_cast<std::uint8_t>(version_ & 0xFF);
      break;
    case kReadMemory:
      for (std::size_t i = 0; i < kChunkBytes; ++i) {
        const std::uint64_t at = static_cast<std::uint64_t>(address) + i;
        reply[kDataAt + i] = at < kFlashSize ? flash_[at] : kErased;
      }
      break;
    case kWriteMemory:
      // NOR flash: programming can only clear bits. All 16 data bytes are programmed.
      for (std::size_t i = 0; i < kChunkBytes; ++i) {
        const std::uint64_t at = static_cast<std::uint64_t>(address) + i;
        if (at < kFlashSize) flash_[at] &= request[kDataAt + i];
      }
      break;
    case kEraseSector:
      if (address < kFlashSize) {
        const std::uint32_t first = address / kSectorBytes * kSectorBytes;
        std::fill(flash_.begin() + first, flash_.begin() + first + kSectorBytes, kErased);
      }
      break;
    case kRadioState:
      if (request[kRadioStateAt] != kRadioStateValue) return;
      break;
    case kFlashCrc: {
      if (address != kCrcSelector || LoadLe32(request + kCrcLengthAt) != kCrcLength) return;
      std::uint32_t crc = FirmwareCrc(&flash_[kBodyAt], kBodyBytes);
      if (faults_.wrongCrc && FaultApplies(code)) crc ^= 1;
      StoreLe32(reply + kDataAt, crc);
      break;
    }
    case kSync:
    default:
      return;  // sync and unknown commands have no reply
  }
  if (FaultApplies(code)) {
    if (faults_.noReply) return;
    std::uint8_t unrelated[kPayloadBytes] = {};
    std::memcpy(unrelated, kMagic, sizeof kMagic);
    unrelated[kCodeAt] = kUnrelatedCode;
    for (int i = 0; i < faults_.unrelatedBeforeReply; ++i) Push(unrelated);
    if (faults_.wrongCode) reply[kCodeAt] ^= kWrongCodeFlip;
    if (faults_.wrongMagic) reply[0] = 'X';
  }
  Push(reply);
}

std::vector<HidDeviceInfo> VirtualHidBackend::Enumerate() {
  std::vector<HidDeviceInfo> devices;
  for (VirtualReceiver* receiver : receivers_) {
    if (receiver->Plugged())
      devices.push_back({receiver->Path(), kVendorId, receiver->ProductId()});
  }
  return devices;
}

std::unique_ptr<HidPort> VirtualHidBackend::Open(const std::string& path, HidOpenError& error) {
  for (VirtualReceiver* receiver : receivers_) {
    if (receiver->Path() != path || !receiver->Plugged()) continue;
    if (receiver->AccessDenied()) {
      error = HidOpenError::kPermissionDenied;
      return nullptr;
    }
    error = HidOpenError::kNone;
    return std::make_unique<VirtualPort>(*receiver);
  }
  error = HidOpenError::kNotPresent;
  return nullptr;
}

std::string VirtualHidBackend::Identity(const std::string& path) {
  for (VirtualReceiver* receiver : receivers_) {
    if (receiver->Path() == path) return receiver->Identity();
  }
  return {};
}
