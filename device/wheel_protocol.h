#pragma once
// The receiver's command set on 32-byte payloads, its flash map, and the flash operations built
// on batches: read, write and erase, the profile sector and the staged-image signature.
//
// Payload: bytes 0..4 "ORMIC", byte 5 the command code, 6..31 command-specific and zero unless a
// command says otherwise. Addresses and lengths are little-endian; the firmware version comes
// high byte first. A reply carries the magic and the request's code.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/hid_link.h"

constexpr std::uint8_t ReportMagic[5] = {'O', 'R', 'M', 'I', 'C'};

// Command codes.
constexpr std::uint8_t kCommandSync = 0x02;         // no reply
constexpr std::uint8_t kCommandVersion = 0x03;      // reply byte 6 high, byte 7 low
constexpr std::uint8_t kCommandReadMemory = 0x0E;   // 8..11 address; reply 16..31 the bytes there
constexpr std::uint8_t kCommandWriteMemory = 0x0F;  // 8..11 address; 16..31 the data
constexpr std::uint8_t kCommandEraseSector = 0x10;  // 8..11 sector address
constexpr std::uint8_t kCommandRadioState = 0x16;   // 6: kRadioStateValue
// 8..11 kFlashCrcSelector, 12..15 body length; reply 16..19 CRC
constexpr std::uint8_t kCommandFlashCrc = 0x18;

// Payload offsets.
constexpr std::size_t kPayloadCodeOffset = 5;
constexpr std::size_t kPayloadVersionOffset = 6;
constexpr std::size_t kPayloadRadioOffset = 6;
constexpr std::size_t kPayloadAddressOffset = 8;
constexpr std::size_t kPayloadLengthOffset = 12;
constexpr std::size_t kPayloadDataOffset = 16;
constexpr std::size_t kChunkSize = 16;

constexpr std::uint8_t kRadioStateValue = 7;
constexpr std::uint32_t kFlashCrcSelector = 0x00030010;
// Replies examined while waiting for one before giving up.
constexpr int kWaitForReplyReads = 65;

// Flash map.
constexpr std::uint32_t kSectorSize = 4096;
constexpr std::uint32_t kProfileSectorAddress = 0xC000;
constexpr std::uint32_t ProfileMagic = 0x98765432;
constexpr std::uint32_t kProfileBlockAddress[3] = {0xC010, 0xC090, 0xC110};
constexpr std::uint32_t kDfuSignatureAddress = 0x10000;
constexpr std::uint32_t kDfuSignatureSize = 16;
constexpr std::uint32_t kFirmwareBodyAddress = 0x10010;
constexpr std::uint32_t kFirmwareBodyLength = 0xBFF0;
constexpr std::uint32_t kUpgradeAreaAddress = 0x10000;
constexpr std::uint32_t kUpgradeAreaLength = 0x10000;
// The bytes a staged image's signature begins with.
constexpr char kDfuSignatureText[] = "ORMIC_DFU";
constexpr std::size_t kDfuSignatureCompared = 9;

// Fills `payload` (32 bytes) with the magic, `code` and zeros.
void BuildRequest(std::uint8_t code, std::uint8_t* payload);
// Whether the 32-byte `payload` is the receiver's reply to `code`.
bool IsReplyTo(const std::uint8_t* payload, std::uint8_t code);

// Sends the sync command; no reply is awaited.
bool SendSync(HidLink& link);
// Reads the firmware version, high byte major, low byte minor.
bool ReadFirmwareVersion(HidLink& link, std::int32_t& version);
// Puts the radio into state 7; true once the receiver confirmed.
bool SetRadioState(HidLink& link);
// Has the receiver compute the CRC of the firmware body it holds.
bool ReadFlashCrc(HidLink& link, std::uint32_t& crc);
// Reads reports until the reply to `code` arrives: at most 65 reads, failing at the first read
// that times out.
bool WaitForReply(HidLink& link, std::uint8_t code, std::uint8_t* payload);

// Reads `length` bytes of flash at `address` in one batch of 16-byte reports.
bool ReadMemory(HidLink& link, std::uint32_t address, std::uint8_t* buffer, std::uint32_t length);
// Writes `length` bytes at `address` in one batch of 16-byte reports; a short last chunk is
// padded with 0xFF in bytes 16..23 and zeros in 24..31 of its payload. Progress and
// `stopRequested` work as in HidLink::TransferBatch: a stop ends the write between groups of 48
// reports, with failure.
bool WriteMemory(HidLink& link, std::uint32_t address, const std::uint8_t* data,
                 std::uint32_t length, bool showProgress = false, const char* message = nullptr,
                 const std::atomic<bool>* stopRequested = nullptr);
// Erases every 4096-byte sector that the range touches, one report per sector.
bool EraseSectors(HidLink& link, std::uint32_t address, std::uint32_t length);

// Reads the three profile records into ProfileSet; a sector without the marker gives the factory
// profiles, in memory only. `stored` (optional) tells whether the marker was there. ProfileSet is
// left unchanged when a read fails.
bool ReadProfileFromReceiver(HidLink& link, bool* stored = nullptr);
// What a profile write does about the profiles the receiver holds before it erases them.
enum class ProfileBackupRule {
  kLogFailure,  // back them up; a failed backup is logged and the write goes on
  kRequired,    // back them up; a failed backup stops the write before anything is erased
  kSkip,        // write without a backup
};

// What became of the backup before a profile write.
struct ProfileBackupOutcome {
  enum class Status { kSkipped, kSaved, kNothingStored, kFailed };
  Status status = Status::kSkipped;
  std::string path;         // the backup made (kSaved)
  std::string why;          // why none could be made (kFailed)
  bool unanswered = false;  // kFailed because the receiver did not answer while it was read
};

// Reads the receiver's profile sector and firmware version afresh and, when the sector holds
// stored profiles (its marker is there), saves the three records as an automatic backup
// (SaveProfileBackup). A sector without the marker holds nothing of the user's: nothing is saved,
// so the newest backup stays the last set the receiver really held. Logs the outcome.
ProfileBackupOutcome BackUpReceiverProfiles(HidLink& link);

// Backs up what the receiver holds as `rule` says, then erases the profile sector, writes and
// reads back each record of ProfileSet, and writes the marker last, so an interrupted write leaves
// a sector that reads as empty. `outcome` (optional) receives what became of the backup.
bool WriteProfileToReceiver(HidLink& link, ProfileBackupRule rule = ProfileBackupRule::kLogFailure,
                            ProfileBackupOutcome* outcome = nullptr);
// Writes profile record `index` of ProfileSet and reads it back; true when all 100 bytes match.
bool VerifyProfileBlock(HidLink& link, int index);
// Clears a staged image's signature and sets the update screen's message accordingly.
bool ClearDfuSignature(HidLink& link);
