#pragma once
// A zip archive on disk read through its central directory: the list of entries with their
// sizes, CRCs and methods, and each entry's bytes as stored (compressed, perhaps encrypted).
// Single-disk archives with 32-bit sizes and offsets; anything else is not taken for a zip.

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/read_only_file.h"

// One record of the central directory.
struct ZipEntry {
  std::string_view name;  // as stored: not terminated, either separator
  std::uint16_t flags = 0;
  std::uint16_t method = 0;   // 0 stored, 8 deflated
  std::uint16_t modTime = 0;  // DOS time, whose high byte checks the password of some entries
  std::uint32_t crc = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t uncompressedSize = 0;
  std::uint64_t localHeader = 0;  // offset in the file
};

class ZipArchive {
 public:
  // Opens the file and reads its central directory. False when it is not a regular file, its
  // end record is missing or inconsistent, or the directory does not hold the records it claims.
  bool Open(const char* path);

  // Bytes in the file.
  std::uint64_t Size() const { return file_.Size(); }

  // The next record of the central directory, first to last; false after the last.
  bool NextEntry(ZipEntry* entry);

  // Reads the entry's stored bytes (compressedSize of them) into out, after checking its local
  // header against the directory's record. False when it does not match or the bytes run out.
  bool ReadStored(const ZipEntry& entry, unsigned char* out);

 private:
  bool ReadDirectory();

  ReadOnlyFile file_;
  // Bytes before the archive proper (a self-extracting stub), by which its offsets are shifted.
  std::uint64_t prefix_ = 0;
  std::vector<unsigned char> directory_;
  std::size_t entriesLeft_ = 0;
  std::size_t next_ = 0;
};
