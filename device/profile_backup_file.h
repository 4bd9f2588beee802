#pragma once
// A backup of all three profiles as one file: the three 116-byte profile containers (".cs270"
// format) of profiles 1, 2 and 3, one after the other, 348 bytes in all. An automatic backup
// carries an origin block after them, saying when it was made and which receiver held the
// profiles (all words little-endian):
//   0  "CSBK"
//   4  format version of the block, 1 (16 bits)
//   6  length of the whole block, CRC included (16 bits)
//   8  when the backup was made, milliseconds since 1970-01-01 UTC by the clock then (64 bits)
//  16  its sequence number: one more than any backup in its folder had (64 bits, unsigned)
//  24  length n of the receiver's name (16 bits), then the n bytes of the name
//  26+n the CRC (FirmwareCrc) of the bytes before it
// A later version may add fields before the CRC; readers of version 1 skip them. Backups made
// before the block existed are the 348 bytes alone, and still read.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "profile/profile_file.h"
#include "profile/wheel_profile.h"

constexpr std::size_t kProfileBackupSize = kProfileCount * kProfileFileSize;
// The longest receiver name an origin block holds (a path of the system's longest).
constexpr std::size_t kBackupReceiverNameMax = 4096;

// What an automatic backup records of its making.
struct ProfileBackupOrigin {
  std::int64_t madeMs = 0;
  std::uint64_t sequence = 0;
  // "serial:…", "usb:…" or "virtual:…" (device/hid_port.h); empty when it could not be told.
  std::string receiver;
};

// Fills `bytes` (kProfileBackupSize long) with the containers of the three records.
void EncodeProfileBackup(const WheelProfile (&records)[kProfileCount], std::uint8_t* bytes);
// The containers of the three records followed by the origin block.
std::vector<std::uint8_t> EncodeProfileBackup(const WheelProfile (&records)[kProfileCount],
                                              const ProfileBackupOrigin& origin);

// Checks `size` bytes as a backup: the three containers, each passing the profile-file check,
// then nothing or a sound origin block. On success copies the records out and, when `origin` is
// given, sets `*hasOrigin` and the origin; on failure leaves them untouched and `why` says which
// part failed and how.
bool DecodeProfileBackup(const std::uint8_t* bytes, std::size_t size,
                         WheelProfile (&records)[kProfileCount], std::string& why,
                         ProfileBackupOrigin* origin = nullptr, bool* hasOrigin = nullptr);

// Reads and checks the backup at `path`. Anything but a regular file is refused before it is read.
bool ReadProfileBackup(const std::string& path, WheelProfile (&records)[kProfileCount],
                       std::string& why);

// Reads and checks an automatic backup, trusting it only as a file of this user's own: a link,
// anything but a regular file, a file of another user and one that others may write are refused
// unread (`refused` set, `why` says which).
bool ReadOwnProfileBackup(const std::string& path, WheelProfile (&records)[kProfileCount],
                          ProfileBackupOrigin& origin, bool& hasOrigin, bool& refused,
                          std::string& why);

// Writes the backup of `records` (the 348 bytes alone) to `path`, replacing the file whole
// (WriteFileAtomically).
bool WriteProfileBackup(const std::string& path, const WheelProfile (&records)[kProfileCount],
                        std::string& why);
