#include "engine/zip_pack.h"

#include <minizip/unzip.h>
#include <zlib.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>

#include "engine/zip_crypto.h"

namespace zip_pack {
namespace {

constexpr unsigned kMaxEntryName = 4096;

char Canonical(char c) {
  if (c == '\\') return '/';
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool SameEntryName(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (Canonical(*a) != Canonical(*b)) return false;
  }
  return *a == *b;
}

// Deflate expands its input at most about 1032 times.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

// A damaged header can claim gigabytes for a few bytes of pack; such an entry is refused before
// anything is allocated for it. Stored bytes are as long as the entry (plus the password
// header), and no entry's bytes run past the end of the pack.
bool PlausibleSizes(const unz_file_info64& info, std::uint64_t packSize) {
  if (info.compressed_size > packSize) return false;
  const std::uint64_t most = info.compression_method == 0
                                 ? info.compressed_size
                                 : info.compressed_size * kMaxDeflateRatio + kMaxDeflateRatio;
  return info.uncompressed_size <= most;
}

constexpr unsigned long kEncryptedFlag = 1;
constexpr unsigned long kDataDescriptorFlag = 8;

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

// The current entry read whole through minizip, which checks the CRC when the entry is closed.
Buffer ReadPlain(unzFile zip, const unz_file_info64& info) {
  Buffer buffer = Allocate(info.uncompressed_size);
  if (buffer == nullptr || unzOpenCurrentFile(zip) != UNZ_OK) return nullptr;
  const auto length = static_cast<unsigned>(info.uncompressed_size);
  const bool read = unzReadCurrentFile(zip, buffer.get(), length) == static_cast<int>(length);
  const bool intact = unzCloseCurrentFile(zip) == UNZ_OK;
  return read && intact ? std::move(buffer) : nullptr;
}

// The current entry of an encrypted pack: minizip hands over the raw bytes, which are decrypted,
// checked against the password's check byte, inflated and checked against the CRC here.
Buffer ReadEncrypted(unzFile zip, const unz_file_info64& info, const char* password) {
  if (info.compressed_size < kZipCryptHeaderSize ||
      info.compressed_size > std::numeric_limits<std::uint32_t>::max()) {
    return nullptr;
  }
  int method = 0, level = 0;
  if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK) return nullptr;
  const auto rawLength = static_cast<unsigned>(info.compressed_size);
  Buffer raw = Allocate(rawLength);
  const bool read = raw != nullptr &&
                    unzReadCurrentFile(zip, raw.get(), rawLength) == static_cast<int>(rawLength);
  unzCloseCurrentFile(zip);
  if (!read) return nullptr;

  ZipDecrypter(password).Decrypt(raw.get(), rawLength);
  const unsigned long check =
      (info.flag & kDataDescriptorFlag) != 0 ? (info.dosDate >> 8) : (info.crc >> 24);
  if (raw.get()[kZipCryptHeaderSize - 1] != (check & 0xFF)) return nullptr;

  const unsigned char* body = raw.get() + kZipCryptHeaderSize;
  const std::size_t bodyLength = rawLength - kZipCryptHeaderSize;
  const auto length = static_cast<std::size_t>(info.uncompressed_size);
  Buffer plain = Allocate(info.uncompressed_size);
  if (plain == nullptr) return nullptr;
  bool ok = false;
  if (method == 0) {
    ok = bodyLength == length;
    if (ok) std::memcpy(plain.get(), body, length);
  } else if (method == Z_DEFLATED) {
    ok = Inflate(body, bodyLength, plain.get(), length);
  }
  if (!ok || crc32(0, plain.get(), static_cast<uInt>(length)) != info.crc) return nullptr;
  return plain;
}

}  // namespace

bool CanOpen(const char* path) {
  unzFile zip = unzOpen64(path);
  if (zip == nullptr) return false;
  unzClose(zip);
  return true;
}

Lookup Load(const char* path, const char* password, const char* name, void** data,
            std::uint32_t* size) {
  unzFile zip = unzOpen64(path);
  if (zip == nullptr) return Lookup::kNotFound;
  std::error_code error;
  const std::uint64_t packSize = std::filesystem::file_size(path, error);
  Lookup result = Lookup::kNotFound;
  for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
    unz_file_info64 info;
    char entryName[kMaxEntryName];
    if (unzGetCurrentFileInfo64(zip, &info, entryName, sizeof entryName, nullptr, 0, nullptr, 0) !=
        UNZ_OK) {
      continue;
    }
    // A name longer than the buffer is cut without its terminator; no match is that long.
    if (info.size_filename >= sizeof entryName) continue;
    if (!SameEntryName(entryName, name)) continue;
    // An encrypted entry without a password is as unreadable as one with the wrong password.
    const bool hasPassword = password != nullptr && password[0] != '\0';
    Buffer buffer;
    if (error || !PlausibleSizes(info, packSize)) {
      // Damaged: fails like an entry whose bytes do not match its CRC.
    } else if ((info.flag & kEncryptedFlag) != 0) {
      if (hasPassword) buffer = ReadEncrypted(zip, info, password);
    } else {
      buffer = ReadPlain(zip, info);
    }
    result = buffer != nullptr ? Lookup::kLoaded : Lookup::kFailed;
    if (buffer != nullptr) {
      *size = static_cast<std::uint32_t>(info.uncompressed_size);
      *data = buffer.release();
    }
    break;
  }
  unzClose(zip);
  return result;
}

}  // namespace zip_pack
