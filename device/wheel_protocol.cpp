#include "device/wheel_protocol.h"

#include <cstring>
#include <vector>

#include "common/byte_order.h"
#include "common/log.h"
#include "device/profile_backups.h"
#include "device/progress.h"
#include "profile/factory_profiles.h"
#include "profile/profile_set.h"

namespace {

// Bytes 16..23 and 24..31 of a write request before its data is copied in.
constexpr std::uint8_t kWritePadHigh = 0xFF;
constexpr std::size_t kWritePadHighEnd = 24;

constexpr const char* kMessageRadioFailed = "Unable to set radio state";
constexpr const char* kMessageSignatureCleared = "REMOVE WHEEL";
constexpr const char* kMessageClearFailed = "ID clear - flash write error";

std::uint32_t ReportCount(std::uint32_t length) {
  return (length + kChunkSize - 1) / kChunkSize;
}

// The request reports of one flash operation laid end to end, each with report ID 0.
class RequestBatch {
 public:
  RequestBatch(const HidLink& link, std::uint32_t count)
      : stride_(link.OutputReportLength()),
        replyStride_(link.InputReportLength()),
        requests_(count * stride_, 0),
        replies_(count * replyStride_, 0),
        count_(count) {}

  std::uint8_t* Payload(std::uint32_t i) { return requests_.data() + i * stride_ + 1; }
  const std::uint8_t* Reply(std::uint32_t i) const {
    return replies_.data() + i * replyStride_ + 1;
  }

  // Runs the batch and checks that every reply answers `code`.
  bool Run(HidLink& link, std::uint8_t code, bool showProgress, const char* message,
           const std::atomic<bool>* stopRequested = nullptr) {
    if (!link.TransferBatch(requests_.data(), replies_.data(), static_cast<int>(count_),
                            showProgress, message, stopRequested)) {
      return false;
    }
    for (std::uint32_t i = 0; i < count_; ++i) {
      if (!IsReplyTo(Reply(i), code)) return false;
    }
    return true;
  }

 private:
  std::size_t stride_;
  std::size_t replyStride_;
  std::vector<std::uint8_t> requests_;
  std::vector<std::uint8_t> replies_;
  std::uint32_t count_;
};

// Sends a request that expects a reply and waits for that reply.
bool Exchange(HidLink& link, std::uint8_t* payload) {
  const std::uint8_t code = payload[kPayloadCodeOffset];
  return link.WriteReport(payload) && WaitForReply(link, code, payload);
}

}  // namespace

void BuildRequest(std::uint8_t code, std::uint8_t* payload) {
  std::memset(payload, 0, kPayloadSize);
  std::memcpy(payload, ReportMagic, sizeof ReportMagic);
  payload[kPayloadCodeOffset] = code;
}

bool IsReplyTo(const std::uint8_t* payload, std::uint8_t code) {
  return std::memcmp(payload, ReportMagic, sizeof ReportMagic) == 0 &&
         payload[kPayloadCodeOffset] == code;
}

bool SendSync(HidLink& link) {
  std::uint8_t payload[kPayloadSize];
  BuildRequest(kCommandSync, payload);
  return link.WriteReport(payload);
}

bool ReadFirmwareVersion(HidLink& link, std::int32_t& version) {
  std::uint8_t payload[kPayloadSize];
  BuildRequest(kCommandVersion, payload);
  if (!Exchange(link, payload)) return false;
  version = payload[kPayloadVersionOffset] * 256 + payload[kPayloadVersionOffset + 1];
  return true;
}

bool SetRadioState(HidLink& link) {
  std::uint8_t payload[kPayloadSize];
  BuildRequest(kCommandRadioState, payload);
  payload[kPayloadRadioOffset] = kRadioStateValue;
  return Exchange(link, payload);
}

bool ReadFlashCrc(HidLink& link, std::uint32_t& crc) {
  std::uint8_t payload[kPayloadSize];
  BuildRequest(kCommandFlashCrc, payload);
  StoreLe32(payload + kPayloadAddressOffset, kFlashCrcSelector);
  StoreLe32(payload + kPayloadLengthOffset, kFirmwareBodyLength);
  if (!Exchange(link, payload)) return false;
  crc = LoadLe32(payload + kPayloadDataOffset);
  return true;
}

bool WaitForReply(HidLink& link, std::uint8_t code, std::uint8_t* payload) {
  for (int read = 0; read < kWaitForReplyReads; ++read) {
    if (!link.ReadReport(payload)) return false;
    if (IsReplyTo(payload, code)) return true;
  }
  return false;
}

bool ReadMemory(HidLink& link, std::uint32_t address, std::uint8_t* buffer, std::uint32_t length) {
  const std::uint32_t count = ReportCount(length);
  RequestBatch batch(link, count);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint8_t* payload = batch.Payload(i);
    BuildRequest(kCommandReadMemory, payload);
    StoreLe32(payload + kPayloadAddressOffset, address + kChunkSize * i);
  }
  if (!batch.Run(link, kCommandReadMemory, false, nullptr)) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t remaining = length - kChunkSize * i;
    const std::uint32_t size = remaining < kChunkSize ? remaining : kChunkSize;
    std::memcpy(buffer + kChunkSize * i, batch.Reply(i) + kPayloadDataOffset, size);
  }
  return true;
}

bool WriteMemory(HidLink& link, std::uint32_t address, const std::uint8_t* data,
                 std::uint32_t length, bool showProgress, const char* message,
                 const std::atomic<bool>* stopRequested) {
  const std::uint32_t count = ReportCount(length);
  RequestBatch batch(link, count);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint8_t* payload = batch.Payload(i);
    BuildRequest(kCommandWriteMemory, payload);
    StoreLe32(payload + kPayloadAddressOffset, address + kChunkSize * i);
    std::memset(payload + kPayloadDataOffset, kWritePadHigh, kWritePadHighEnd - kPayloadDataOffset);
    const std::uint32_t remaining = length - kChunkSize * i;
    const std::uint32_t size = remaining < kChunkSize ? remaining : kChunkSize;
    std::memcpy(payload + kPayloadDataOffset, data + kChunkSize * i, size);
  }
  return batch.Run(link, kCommandWriteMemory, showProgress, message, stopRequested);
}

bool EraseSectors(HidLink& link, std::uint32_t address, std::uint32_t length) {
  const std::uint64_t first = address / kSectorSize * kSectorSize;
  const std::uint64_t end =
      (static_cast<std::uint64_t>(address) + length + kSectorSize - 1) / kSectorSize * kSectorSize;
  const auto count = static_cast<std::uint32_t>((end - first) / kSectorSize);
  RequestBatch batch(link, count);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint8_t* payload = batch.Payload(i);
    BuildRequest(kCommandEraseSector, payload);
    StoreLe32(payload + kPayloadAddressOffset, static_cast<std::uint32_t>(first) + kSectorSize * i);
  }
  return batch.Run(link, kCommandEraseSector, false, nullptr);
}

bool ReadProfileFromReceiver(HidLink& link, bool* stored) {
  std::uint8_t marker[4];
  if (!ReadMemory(link, kProfileSectorAddress, marker, sizeof marker)) return false;
  // Read into a copy so that a failed read leaves the profiles in memory as they were.
  WheelProfile blocks[kProfileCount];
  for (int i = 0; i < kProfileCount; ++i) {
    if (!ReadMemory(link, kProfileBlockAddress[i], blocks[i].bytes.data(), kProfileSize)) {
      return false;
    }
  }
  const bool hasMarker = LoadLe32(marker) == ProfileMagic;
  for (int i = 0; i < kProfileCount; ++i)
    ProfileSet[i] = hasMarker ? blocks[i] : FactoryProfiles[i];
  if (stored != nullptr) *stored = hasMarker;
  return true;
}

bool VerifyProfileBlock(HidLink& link, int index) {
  const std::uint8_t* block = ProfileSet[index].bytes.data();
  if (!WriteMemory(link, kProfileBlockAddress[index], block, kProfileSize)) return false;
  std::uint8_t readBack[kProfileSize];
  if (!ReadMemory(link, kProfileBlockAddress[index], readBack, kProfileSize)) return false;
  return std::memcmp(block, readBack, kProfileSize) == 0;
}

ProfileBackupOutcome BackUpReceiverProfiles(HidLink& link) {
  using Status = ProfileBackupOutcome::Status;
  ProfileBackupOutcome outcome;
  std::uint8_t marker[4];
  WheelProfile records[kProfileCount];
  std::int32_t version = 0;
  bool read = ReadMemory(link, kProfileSectorAddress, marker, sizeof marker);
  if (read && LoadLe32(marker) != ProfileMagic) {
    outcome.status = Status::kNothingStored;
    Log("The receiver holds no stored profiles: nothing to back up");
    return outcome;
  }
  for (int i = 0; read && i < kProfileCount; ++i) {
    read = ReadMemory(link, kProfileBlockAddress[i], records[i].bytes.data(), kProfileSize);
  }
  read = read && ReadFirmwareVersion(link, version);
  if (!read) {
    outcome.why = "the receiver did not answer while its profiles were read";
    outcome.unanswered = true;
  } else if (SaveProfileBackup(records, version, link.Identity(), outcome.path, outcome.why)) {
    outcome.status = Status::kSaved;
    Log("Backed up the receiver's profiles to %s", outcome.path.c_str());
    return outcome;
  }
  outcome.status = Status::kFailed;
  Log("Could not back up the receiver's profiles: %s", outcome.why.c_str());
  return outcome;
}

bool WriteProfileToReceiver(HidLink& link, ProfileBackupRule rule, ProfileBackupOutcome* outcome) {
  ProfileBackupOutcome backup;
  if (rule != ProfileBackupRule::kSkip) backup = BackUpReceiverProfiles(link);
  if (outcome != nullptr) *outcome = backup;
  if (backup.status == ProfileBackupOutcome::Status::kFailed &&
      rule == ProfileBackupRule::kRequired) {
    return false;
  }
  if (!EraseSectors(link, kProfileSectorAddress, kSectorSize)) return false;
  for (int i = 0; i < kProfileCount; ++i) {
    if (!VerifyProfileBlock(link, i)) return false;
  }
  std::uint8_t marker[4];
  StoreLe32(marker, ProfileMagic);
  return WriteMemory(link, kProfileSectorAddress, marker, sizeof marker);
}

bool ClearDfuSignature(HidLink& link) {
  const char* message = kMessageSignatureCleared;
  bool cleared = false;
  if (!SetRadioState(link)) {
    message = kMessageRadioFailed;
  } else {
    const std::uint8_t zeros[kDfuSignatureSize] = {};
    cleared = WriteMemory(link, kDfuSignatureAddress, zeros, sizeof zeros);
    if (cleared) {
      ProgressPercent = 0;
    } else {
      message = kMessageClearFailed;
    }
  }
  ProgressMessage = message;
  Log("%s", message);
  return cleared;
}
