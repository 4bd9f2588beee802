// Drives the wheel protocol against a receiver whose every answer comes from the fuzzer: the
// link's single reads and batches, ReadMemory, WaitForReply, ReadProfileFromReceiver and the
// whole connection, ConnectReceiver.
//
// Input: byte 0 picks the operation and the port's report length, bytes 1..4 its arguments;
// the rest answers the reads in turn. Each read takes one control byte (a multiple of 8 times out,
// one more than a multiple of 8 fails) and then a whole report, report ID first; a read that
// finds too few bytes left times out.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "common/app_state.h"
#include "device/connection.h"
#include "device/connection_listener.h"
#include "device/headless_connection_listener.h"
#include "device/hid_link.h"
#include "device/hid_port.h"
#include "device/wheel_protocol.h"
#include "profile/factory_profiles.h"
#include "profile/headless_profile_controls.h"
#include "profile/profile_set.h"

namespace {

constexpr std::size_t kReportLengths[] = {kReportSize, kReportSize + 1, 65};
constexpr std::uint32_t kMaxReadLength = 2048;

// The fuzzer's bytes as a receiver's answers, and a record of the reports it gave.
struct Answers {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t reportLength = kReportSize;
  std::vector<std::vector<std::uint8_t>> given;

  HidReadResult Next(std::uint8_t* report, std::size_t length) {
    if (size == 0) return HidReadResult::kTimeout;
    const std::uint8_t control = *data++;
    --size;
    if (control % 8 == 0) return HidReadResult::kTimeout;
    if (control % 8 == 1) return HidReadResult::kError;
    if (size < length) return HidReadResult::kTimeout;
    std::memcpy(report, data, length);
    given.emplace_back(data, data + length);
    data += length;
    size -= length;
    return HidReadResult::kOk;
  }
};

class FuzzPort final : public HidPort {
 public:
  explicit FuzzPort(Answers& answers) : answers_(answers) {}
  std::uint16_t VendorId() const override { return kReceiverVendorId; }
  std::uint16_t ProductId() const override { return kReceiverProductId; }
  std::size_t InputReportLength() const override { return answers_.reportLength; }
  std::size_t OutputReportLength() const override { return answers_.reportLength; }
  bool Write(const std::uint8_t* report, std::size_t length, int timeoutMs) override {
    // The link only ever sends whole reports it built itself, with a time limit.
    if (length != answers_.reportLength || report[0] != 0 || timeoutMs < 0) std::abort();
    return true;
  }
  HidReadResult Read(std::uint8_t* report, std::size_t length, int timeoutMs) override {
    if (length != answers_.reportLength || timeoutMs < 0) std::abort();
    return answers_.Next(report, length);
  }
  void FlushInput() override {}
  void SetInputBufferCount(int) override {}
  void Cancel() override {}

 private:
  Answers& answers_;
};

class FuzzBackend final : public HidBackend {
 public:
  explicit FuzzBackend(Answers& answers) : answers_(answers) {}
  std::vector<HidDeviceInfo> Enumerate() override {
    return {{"fuzz", kReceiverVendorId, kReceiverProductId}};
  }
  std::unique_ptr<HidPort> Open(const std::string&, HidOpenError& error) override {
    error = HidOpenError::kNone;
    return std::make_unique<FuzzPort>(answers_);
  }

 private:
  Answers& answers_;
};

std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A successful read holds, chunk by chunk, bytes 16..31 of the replies in the order they came.
void CheckReadMemory(HidLink& link, Answers& answers, const std::uint8_t* arguments) {
  const std::uint32_t address = Le32(arguments);
  const std::uint32_t length = 1 + Le32(arguments) % kMaxReadLength;
  std::vector<std::uint8_t> buffer(length, 0xA5);
  if (!ReadMemory(link, address, buffer.data(), length)) return;
  const std::uint32_t chunks = (length + kChunkSize - 1) / kChunkSize;
  if (answers.given.size() != chunks) std::abort();
  for (std::uint32_t i = 0; i < chunks; ++i) {
    const std::uint8_t* reply = answers.given[i].data() + 1;
    if (!IsReplyTo(reply, kCommandReadMemory)) std::abort();
    const std::uint32_t size =
        length - kChunkSize * i < kChunkSize ? length - kChunkSize * i : kChunkSize;
    if (std::memcmp(buffer.data() + kChunkSize * i, reply + kPayloadDataOffset, size) != 0) {
      std::abort();
    }
  }
}

void CheckWaitForReply(HidLink& link, const std::uint8_t* arguments) {
  std::uint8_t payload[kPayloadSize];
  if (WaitForReply(link, arguments[0], payload) && !IsReplyTo(payload, arguments[0])) {
    std::abort();
  }
}

bool SameProfiles(const WheelProfile* a, const WheelProfile* b) {
  for (int i = 0; i < kProfileCount; ++i) {
    if (a[i].bytes != b[i].bytes) return false;
  }
  return true;
}

// A failed read leaves the profiles as they were; an empty sector gives the factory ones.
void CheckReadProfiles(HidLink& link) {
  WheelProfile before[kProfileCount];
  for (int i = 0; i < kProfileCount; ++i) before[i].bytes.fill(static_cast<std::uint8_t>(0x11 * i));
  std::memcpy(ProfileSet, before, sizeof before);
  bool stored = false;
  if (!ReadProfileFromReceiver(link, &stored)) {
    if (!SameProfiles(ProfileSet, before)) std::abort();
    return;
  }
  if (!stored && !SameProfiles(ProfileSet, FactoryProfiles)) std::abort();
}

void CheckConnection() {
  static HeadlessConnectionListener listener;
  SetConnectionListener(&listener);
  // A connection shows the profile it read, as the command-line tool's does.
  static HeadlessProfileControls controls;
  SetProfileControls(&controls);
  AppState = APP_NO_RECEIVER;
  StateBeforeUnplug = APP_MAIN_SCREEN;
  ConnectReceiver(nullptr);
  if (ReceiverConnected != 0 && ReceiverConnected != 1) std::abort();
  if (ReceiverConnected == 1 && (ReceiverLink == nullptr || AppState != APP_MAIN_SCREEN)) {
    std::abort();
  }
  if (ReceiverConnected == 0 && WheelFirmwareVersion != 0) std::abort();
  DisconnectReceiver();
  if (ReceiverLink != nullptr || ReceiverConnected != 0 || AppState != APP_NO_RECEIVER) {
    std::abort();
  }
  FirmwareOutOfDate = 0;
  DfuSignaturePresent = 0;
  SetProfileControls(nullptr);
  SetConnectionListener(nullptr);
}

void CheckSmallExchanges(HidLink& link) {
  std::int32_t version = -1;
  if (ReadFirmwareVersion(link, version) && (version < 0 || version > 0xFFFF)) std::abort();
  std::uint32_t crc = 0;
  ReadFlashCrc(link, crc);
  SetRadioState(link);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kHeader = 5;
  if (size < kHeader) return 0;
  Answers answers;
  answers.reportLength = kReportLengths[(data[0] >> 4) % 3];
  answers.data = data + kHeader;
  answers.size = size - kHeader;
  FuzzBackend backend(answers);
  SetCurrentHidBackend(&backend);

  if (data[0] % 8 == 4) {
    CheckConnection();
  } else {
    HidLink link(backend);
    if (!link.OpenFirstReceiver()) std::abort();
    switch (data[0] % 8) {
      case 0:
        CheckReadMemory(link, answers, data + 1);
        break;
      case 1:
        CheckWaitForReply(link, data + 1);
        break;
      case 2:
        CheckReadProfiles(link);
        break;
      default:
        CheckSmallExchanges(link);
        break;
    }
  }
  SetCurrentHidBackend(nullptr);
  return 0;
}
