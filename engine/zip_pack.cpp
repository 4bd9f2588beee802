#include "engine/zip_pack.h"

#include <zlib.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

#include "engine/zip_archive.h"
#include "engine/zip_crypto.h"

namespace zip_pack {
namespace {

constexpr std::size_t kMaxEntryName = 4096;

char Canonical(char c) {
  if (c == '\\') return '/';
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool SameEntryName(std::string_view stored, const char* wanted) {
  if (stored.size() >= kMaxEntryName) return false;
  for (char c : stored) {
    if (*wanted == '\0' || Canonical(c) != Canonical(*wanted)) return false;
    ++wanted;
  }
  return *wanted == '\0';
}

constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kEncryptedFlag = 1;

// Deflate expands its input at most about 1032 times.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

// A damaged header can claim gigabytes for a few bytes of pack; such an entry is refused before
// anything is allocated for it. Stored bytes are as long as the entry (plus the password
// header), and no entry's bytes run past the end of the pack.
bool PlausibleSizes(const ZipEntry& entry, std::uint64_t packSize) {
  if (entry.compressedSize > packSize) return false;
  const std::uint64_t most = entry.method == kStored
                                 ? entry.compressedSize
                                 : entry.compressedSize * kMaxDeflateRatio + kMaxDeflateRatio;
  return entry.uncompressedSize <= most;
}

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
using Buffer = std::unique_ptr<unsigned char, FreeDeleter>;

// A buffer for length bytes; one spare byte keeps the buffer of an empty entry a real one.
Buffer Allocate(std::uint64_t length) {
  if (length > std::numeric_limits<std::uint32_t>::max()) return nullptr;
  return Buffer(static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(length) + 1)));
}

bool Inflate(const unsigned char* in, std::size_t inLength, unsigned char* out,
             std::size_t outLength) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  stream.next_in = const_cast<unsigned char*>(in);
  stream.avail_in = static_cast<uInt>(inLength);
  stream.next_out = out;
  stream.avail_out = static_cast<uInt>(outLength);
  const int status = inflate(&stream, Z_FINISH);
  const bool ok = status == Z_STREAM_END && stream.total_out == outLength;
  inflateEnd(&stream);
  return ok;
}

// Decrypts the stored bytes in place and checks the password's check byte: the top byte of the
// CRC, or of the time when the CRC was not known before the bytes were written.
bool Decrypt(const ZipEntry& entry, const char* password, unsigned char* raw) {
  if (entry.compressedSize < kZipCryptHeaderSize) return false;
  ZipDecrypter(password).Decrypt(raw, entry.compressedSize);
  constexpr std::uint16_t kDataDescriptorFlag = 8;
  const unsigned check =
      (entry.flags & kDataDescriptorFlag) != 0 ? entry.modTime >> 8 : entry.crc >> 24;
  return raw[kZipCryptHeaderSize - 1] == (check & 0xFF);
}

// The entry's bytes as they were before they were packed, checked against its CRC.
Buffer ReadEntry(ZipArchive& archive, const ZipEntry& entry, const char* password) {
  if (entry.method != kStored && entry.method != kDeflated) return nullptr;
  Buffer raw = Allocate(entry.compressedSize);
  if (raw == nullptr || !archive.ReadStored(entry, raw.get())) return nullptr;
  std::size_t skip = 0;
  if ((entry.flags & kEncryptedFlag) != 0) {
    if (!Decrypt(entry, password, raw.get())) return nullptr;
    skip = kZipCryptHeaderSize;
  }
  const unsigned char* body = raw.get() + skip;
  const std::size_t bodyLength = entry.compressedSize - skip;
  const std::size_t length = entry.uncompressedSize;
  Buffer plain;
  if (entry.method == kStored) {
    if (bodyLength != length) return nullptr;
    std::memmove(raw.get(), body, length);
    plain = std::move(raw);
  } else {
    plain = Allocate(length);
    if (plain == nullptr || !Inflate(body, bodyLength, plain.get(), length)) return nullptr;
  }
  if (crc32(0, plain.get(), static_cast<uInt>(length)) != entry.crc) return nullptr;
  return plain;
}

}  // namespace

bool CanOpen(const char* path) {
  ZipArchive archive;
  return archive.Open(path);
}

Lookup Load(const char* path, const char* password, const char* name, void** data,
            std::uint32_t* size) {
  ZipArchive archive;
  if (!archive.Open(path)) return Lookup::kNotFound;
  ZipEntry entry;
  while (archive.NextEntry(&entry)) {
    if (!SameEntryName(entry.name, name)) continue;
    // An encrypted entry without a password is as unreadable as one with the wrong password;
    // a damaged one fails like an entry whose bytes do not match its CRC.
    const bool hasPassword = password != nullptr && password[0] != '\0';
    const bool readable = PlausibleSizes(entry, archive.Size()) &&
                          ((entry.flags & kEncryptedFlag) == 0 || hasPassword);
    Buffer buffer = readable ? ReadEntry(archive, entry, password) : nullptr;
    if (buffer == nullptr) return Lookup::kFailed;
    *size = entry.uncompressedSize;
    *data = buffer.release();
    return Lookup::kLoaded;
  }
  return Lookup::kNotFound;
}

}  // namespace zip_pack
