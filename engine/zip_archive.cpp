#include "engine/zip_archive.h"

#include <algorithm>
#include <cstring>

namespace {

// Little-endian fields at their offsets in a record.
std::uint16_t U16(const unsigned char* at) {
  return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}
std::uint32_t U32(const unsigned char* at) {
  return static_cast<std::uint32_t>(U16(at)) | static_cast<std::uint32_t>(U16(at + 2)) << 16;
}

// The end of central directory record, found at the end of the file before its comment.
namespace end_record {
constexpr std::uint32_t kSignature = 0x06054b50;
constexpr std::size_t kSize = 22;
constexpr std::size_t kThisDisk = 4;
constexpr std::size_t kDirectoryDisk = 6;
constexpr std::size_t kEntriesOnDisk = 8;
constexpr std::size_t kEntries = 10;
constexpr std::size_t kDirectorySize = 12;
constexpr std::size_t kDirectoryOffset = 16;
// The comment after the record is at most this long, which bounds the search for it.
constexpr std::size_t kMaxComment = 0xFFFF;
}  // namespace end_record

// One record of the central directory, followed by its name, extra field and comment.
namespace central {
constexpr std::uint32_t kSignature = 0x02014b50;
constexpr std::size_t kSize = 46;
constexpr std::size_t kFlags = 8;
constexpr std::size_t kMethod = 10;
constexpr std::size_t kModTime = 12;
constexpr std::size_t kCrc = 16;
constexpr std::size_t kCompressedSize = 20;
constexpr std::size_t kUncompressedSize = 24;
constexpr std::size_t kNameLength = 28;
constexpr std::size_t kExtraLength = 30;
constexpr std::size_t kCommentLength = 32;
constexpr std::size_t kLocalHeader = 42;
}  // namespace central

// The header in front of each entry's bytes, followed by its name and extra field.
namespace local {
constexpr std::uint32_t kSignature = 0x04034b50;
constexpr std::size_t kSize = 30;
constexpr std::size_t kMethod = 8;
constexpr std::size_t kCrc = 14;
constexpr std::size_t kCompressedSize = 18;
constexpr std::size_t kUncompressedSize = 22;
constexpr std::size_t kNameLength = 26;
constexpr std::size_t kExtraLength = 28;
}  // namespace local

// With this flag the local header leaves the CRC and sizes to a record after the bytes; the
// central directory's are the ones that count.
constexpr std::uint16_t kDataDescriptorFlag = 8;

// Where the last end record signature lies in the tail, or npos.
std::size_t FindEndRecord(const std::vector<unsigned char>& tail) {
  if (tail.size() < end_record::kSize) return std::string_view::npos;
  for (std::size_t at = tail.size() - end_record::kSize + 1; at-- > 0;) {
    if (U32(tail.data() + at) == end_record::kSignature) return at;
  }
  return std::string_view::npos;
}

}  // namespace

bool ZipArchive::Open(const char* path) {
  return file_.Open(path) && ReadDirectory();
}

bool ZipArchive::ReadDirectory() {
  const std::uint64_t size = file_.Size();
  const auto tailLength = static_cast<std::size_t>(
      std::min<std::uint64_t>(size, end_record::kSize + end_record::kMaxComment));
  std::vector<unsigned char> tail(tailLength);
  if (!file_.ReadAt(size - tailLength, tailLength, tail.data())) return false;
  const std::size_t found = FindEndRecord(tail);
  if (found == std::string_view::npos) return false;
  const unsigned char* end = tail.data() + found;
  const std::uint64_t endOffset = size - tailLength + found;

  const std::uint16_t entries = U16(end + end_record::kEntries);
  const std::uint32_t directorySize = U32(end + end_record::kDirectorySize);
  const std::uint32_t directoryOffset = U32(end + end_record::kDirectoryOffset);
  // Archives split over disks, and those whose directory overlaps its end record, are not ours.
  if (U16(end + end_record::kThisDisk) != 0 || U16(end + end_record::kDirectoryDisk) != 0 ||
      U16(end + end_record::kEntriesOnDisk) != entries ||
      std::uint64_t{directoryOffset} + directorySize > endOffset) {
    return false;
  }
  prefix_ = endOffset - directoryOffset - directorySize;
  directory_.resize(directorySize);
  if (!file_.ReadAt(prefix_ + directoryOffset, directorySize, directory_.data())) return false;
  // A directory cut short or overwritten is a damaged pack, refused whole rather than missing
  // some of its entries.
  entriesLeft_ = entries;
  ZipEntry entry;
  for (std::size_t i = 0; i < entries; ++i) {
    if (!NextEntry(&entry)) return false;
  }
  entriesLeft_ = entries;
  next_ = 0;
  return true;
}

bool ZipArchive::NextEntry(ZipEntry* entry) {
  if (entriesLeft_ == 0) return false;
  const std::size_t left = directory_.size() - next_;
  const unsigned char* record = directory_.data() + next_;
  if (left < central::kSize || U32(record) != central::kSignature) {
    entriesLeft_ = 0;
    return false;
  }
  const std::size_t nameLength = U16(record + central::kNameLength);
  const std::size_t length = central::kSize + nameLength + U16(record + central::kExtraLength) +
                             U16(record + central::kCommentLength);
  if (length > left) {
    entriesLeft_ = 0;
    return false;
  }
  entry->name =
      std::string_view(reinterpret_cast<const char*>(record + central::kSize), nameLength);
  entry->flags = U16(record + central::kFlags);
  entry->method = U16(record + central::kMethod);
  entry->modTime = U16(record + central::kModTime);
  entry->crc = U32(record + central::kCrc);
  entry->compressedSize = U32(record + central::kCompressedSize);
  entry->uncompressedSize = U32(record + central::kUncompressedSize);
  entry->localHeader = prefix_ + U32(record + central::kLocalHeader);
  next_ += length;
  --entriesLeft_;
  return true;
}

bool ZipArchive::ReadStored(const ZipEntry& entry, unsigned char* out) {
  unsigned char header[local::kSize];
  if (!file_.ReadAt(entry.localHeader, sizeof header, header)) return false;
  const bool described = (entry.flags & kDataDescriptorFlag) != 0;
  const bool matches =
      U32(header) == local::kSignature && U16(header + local::kMethod) == entry.method &&
      U16(header + local::kNameLength) == entry.name.size() &&
      (described || (U32(header + local::kCrc) == entry.crc &&
                     U32(header + local::kCompressedSize) == entry.compressedSize &&
                     U32(header + local::kUncompressedSize) == entry.uncompressedSize));
  if (!matches) return false;
  const std::uint64_t bytes =
      entry.localHeader + local::kSize + entry.name.size() + U16(header + local::kExtraLength);
  return file_.ReadAt(bytes, entry.compressedSize, out);
}
