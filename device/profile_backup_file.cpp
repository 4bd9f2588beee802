#include "device/profile_backup_file.h"

#include <algorithm>
#include <cstring>

#include "common/firmware_crc.h"
#include "common/regular_file.h"
#include "device/atomic_file.h"

namespace {

constexpr std::uint8_t kOriginMagic[4] = {'C', 'S', 'B', 'K'};
constexpr std::uint16_t kOriginVersion = 1;
constexpr std::size_t kOriginVersionOffset = 4;
constexpr std::size_t kOriginLengthOffset = 6;
constexpr std::size_t kOriginMadeOffset = 8;
constexpr std::size_t kOriginSequenceOffset = 16;
constexpr std::size_t kOriginNameLengthOffset = 24;
constexpr std::size_t kOriginNameOffset = 26;
constexpr std::size_t kOriginCrcSize = 4;
constexpr std::size_t kOriginFixedSize = kOriginNameOffset + kOriginCrcSize;
constexpr std::size_t kLongestBackup =
    kProfileBackupSize + kOriginFixedSize + kBackupReceiverNameMax;

std::uint64_t LoadLe(const std::uint8_t* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

void StoreLe(std::vector<std::uint8_t>& bytes, std::uint64_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

bool DecodeOrigin(const std::uint8_t* block, std::size_t size, ProfileBackupOrigin& origin,
                  std::string& why) {
  why = "what follows the three profiles is not a sound backup record";
  if (size < kOriginFixedSize || std::memcmp(block, kOriginMagic, sizeof kOriginMagic) != 0) {
    return false;
  }
  const auto version = LoadLe(block + kOriginVersionOffset, 2);
  const auto length = LoadLe(block + kOriginLengthOffset, 2);
  const auto nameLength = LoadLe(block + kOriginNameLengthOffset, 2);
  if (version < kOriginVersion || length != size || nameLength > kBackupReceiverNameMax ||
      kOriginFixedSize + nameLength > length ||
      (version == kOriginVersion && kOriginFixedSize + nameLength != length)) {
    return false;
  }
  const std::size_t crcOffset = size - kOriginCrcSize;
  if (FirmwareCrc(block, crcOffset) != LoadLe(block + crcOffset, 4)) return false;
  origin.madeMs = static_cast<std::int64_t>(LoadLe(block + kOriginMadeOffset, 8));
  origin.sequence = LoadLe(block + kOriginSequenceOffset, 8);
  origin.receiver.assign(reinterpret_cast<const char*>(block + kOriginNameOffset), nameLength);
  return true;
}

// Reads up to a backup's longest size from `path`, refusing anything but a regular file without
// waiting on it; with `ownOnly` also a link and a file that is not this user's alone to write.
bool ReadBackupBytes(const std::string& path, bool ownOnly, std::vector<std::uint8_t>& bytes,
                     bool& refused, std::string& why) {
  refused = true;
  RegularFile file;
  std::string problem;
  switch (file.Open(path, !ownOnly, problem)) {
    case RegularFile::OpenResult::kOpened:
      break;
    case RegularFile::OpenResult::kCannotOpen:
      why = "cannot open it: " + problem;
      return false;
    case RegularFile::OpenResult::kLink:
      why = "a symbolic link, not a file";
      return false;
    case RegularFile::OpenResult::kNotRegular:
      why = "not a regular file";
      return false;
  }
  RegularFile::Facts facts;
  bool trusted = file.Look(facts);
  if (trusted && ownOnly && !facts.ownedByUser) {
    why = "it belongs to another user";
    trusted = false;
  } else if (trusted && ownOnly && facts.othersMayWrite) {
    why = "other users may write it";
    trusted = false;
  } else if (!trusted) {
    why = "not a regular file";
  }
  if (!trusted) return false;
  refused = false;
  // One byte more than a backup holds, so that a longer file shows as such.
  bytes.resize(kLongestBackup + 1);
  const long got = file.Read(bytes.data(), bytes.size());
  if (got < 0) {
    why = "cannot read it";
    return false;
  }
  if (static_cast<std::size_t>(got) > kLongestBackup) {
    why = "a backup of the three profiles is 348 bytes long, this is longer";
    return false;
  }
  bytes.resize(static_cast<std::size_t>(got));
  return true;
}

}  // namespace

void EncodeProfileBackup(const WheelProfile (&records)[kProfileCount], std::uint8_t* bytes) {
  for (int i = 0; i < kProfileCount; ++i) {
    ProfileFile container{};
    EncodeProfileFile(records[i], container);
    std::memcpy(bytes + i * kProfileFileSize, container.bytes, kProfileFileSize);
  }
}

std::vector<std::uint8_t> EncodeProfileBackup(const WheelProfile (&records)[kProfileCount],
                                              const ProfileBackupOrigin& origin) {
  std::vector<std::uint8_t> bytes(kProfileBackupSize);
  EncodeProfileBackup(records, bytes.data());
  const std::size_t nameLength = std::min(origin.receiver.size(), kBackupReceiverNameMax);
  bytes.insert(bytes.end(), kOriginMagic, kOriginMagic + sizeof kOriginMagic);
  StoreLe(bytes, kOriginVersion, 2);
  StoreLe(bytes, kOriginFixedSize + nameLength, 2);
  StoreLe(bytes, static_cast<std::uint64_t>(origin.madeMs), 8);
  StoreLe(bytes, origin.sequence, 8);
  StoreLe(bytes, nameLength, 2);
  bytes.insert(bytes.end(), origin.receiver.begin(), origin.receiver.begin() + nameLength);
  StoreLe(bytes, FirmwareCrc(bytes.data() + kProfileBackupSize, bytes.size() - kProfileBackupSize),
          4);
  return bytes;
}

bool DecodeProfileBackup(const std::uint8_t* bytes, std::size_t size,
                         WheelProfile (&records)[kProfileCount], std::string& why,
                         ProfileBackupOrigin* origin, bool* hasOrigin) {
  if (size < kProfileBackupSize) {
    why = "a backup of the three profiles is 348 bytes long, this is " + std::to_string(size);
    return false;
  }
  WheelProfile checked[kProfileCount];
  for (int i = 0; i < kProfileCount; ++i) {
    const ProfileFileStatus status =
        CheckProfileBytes(bytes + i * kProfileFileSize, kProfileFileSize, checked[i]);
    if (status != ProfileFileStatus::kOk) {
      why = "profile " + std::to_string(i + 1) + ": " + ProfileFileStatusText(status);
      return false;
    }
  }
  ProfileBackupOrigin found;
  const bool recorded = size > kProfileBackupSize;
  if (recorded &&
      !DecodeOrigin(bytes + kProfileBackupSize, size - kProfileBackupSize, found, why)) {
    return false;
  }
  for (int i = 0; i < kProfileCount; ++i) records[i] = checked[i];
  if (origin != nullptr) *origin = found;
  if (hasOrigin != nullptr) *hasOrigin = recorded;
  return true;
}

bool ReadProfileBackup(const std::string& path, WheelProfile (&records)[kProfileCount],
                       std::string& why) {
  std::vector<std::uint8_t> bytes;
  bool refused = false;
  return ReadBackupBytes(path, false, bytes, refused, why) &&
         DecodeProfileBackup(bytes.data(), bytes.size(), records, why);
}

bool ReadOwnProfileBackup(const std::string& path, WheelProfile (&records)[kProfileCount],
                          ProfileBackupOrigin& origin, bool& hasOrigin, bool& refused,
                          std::string& why) {
  std::vector<std::uint8_t> bytes;
  return ReadBackupBytes(path, true, bytes, refused, why) &&
         DecodeProfileBackup(bytes.data(), bytes.size(), records, why, &origin, &hasOrigin);
}

bool WriteProfileBackup(const std::string& path, const WheelProfile (&records)[kProfileCount],
                        std::string& why) {
  std::uint8_t bytes[kProfileBackupSize];
  EncodeProfileBackup(records, bytes);
  return WriteFileAtomically(path, bytes, sizeof bytes, why);
}
