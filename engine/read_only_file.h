#pragma once
// A file opened to read pieces of it at given offsets. Only regular files open: never a FIFO
// or device that would block or never end.

#include <cstddef>
#include <cstdint>

class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ~ReadOnlyFile();

  // False when the path is missing, unreadable or not a regular file.
  bool Open(const char* path);
  // The file's length when it was opened.
  std::uint64_t Size() const { return size_; }
  // Reads exactly length bytes from offset; false when fewer are there.
  bool ReadAt(std::uint64_t offset, std::size_t length, unsigned char* out) const;

 private:
  // The descriptor, or on Windows the handle; -1 when closed.
  std::intptr_t handle_ = -1;
  std::uint64_t size_ = 0;
};
