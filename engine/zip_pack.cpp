#include "engine/zip_pack.h"

#include <minizip/unzip.h>

#include <cctype>
#include <cstdlib>
#include <limits>

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

// Reads the current entry whole; the entry is opened and closed here.
bool ReadCurrent(unzFile zip, const char* password, std::uint64_t expected, void** data,
                 std::uint32_t* size) {
  if (expected > std::numeric_limits<std::uint32_t>::max()) return false;
  if (unzOpenCurrentFilePassword(zip, password) != UNZ_OK) return false;
  const auto length = static_cast<unsigned>(expected);
  // One spare byte: a buffer for an empty entry is still a real one.
  auto* buffer = static_cast<unsigned char*>(std::malloc(length + 1u));
  bool ok = buffer != nullptr;
  if (ok) ok = unzReadCurrentFile(zip, buffer, length) == static_cast<int>(length);
  // Closing checks the CRC: damaged data and wrong passwords show up here at the latest.
  if (unzCloseCurrentFile(zip) != UNZ_OK) ok = false;
  if (!ok) {
    std::free(buffer);
    return false;
  }
  *data = buffer;
  *size = length;
  return true;
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
    const bool read =
        ReadCurrent(zip, password != nullptr && password[0] != '\0' ? password : nullptr,
                    info.uncompressed_size, data, size);
    result = read ? Lookup::kLoaded : Lookup::kFailed;
    break;
  }
  unzClose(zip);
  return result;
}

}  // namespace zip_pack
