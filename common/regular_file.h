#pragma once
// Reading a small file from a path given in UTF-8, never waiting on what is not a regular file:
// the name is looked at before it is opened (opening a FIFO waits for a writer, a device may do
// anything), and the opened file again, as the name may have been swapped in between. The
// platform's calls are behind this (linux/, win32/).

#include <cstddef>
#include <cstdint>
#include <string>

// What a path names, looked at without opening it.
enum class PathKind { kMissing, kRegularFile, kOther, kUnknown };
PathKind LookAtPath(const std::string& path);

class RegularFile {
 public:
  enum class OpenResult {
    kOpened,
    kCannotOpen,  // missing, or this user may not open it (`why` says which)
    kLink,        // a symbolic link, where links are refused
    kNotRegular,  // a folder, FIFO, device or socket
  };

  // What is known of the open file.
  struct Facts {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;  // the last change of its content
    bool ownedByUser = true;      // this user's own
    bool othersMayWrite = false;  // users other than its owner may change it
  };

  RegularFile() = default;
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  // Opens the regular file at `path` for reading; a link there is followed unless
  // `followLinks` is false. On failure `why` says what the system said.
  OpenResult Open(const std::string& path, bool followLinks, std::string& why);
  // The facts of the open file now; false when they cannot be read.
  bool Look(Facts& facts) const;
  // Reads until `size` bytes arrived or the file ended: the count read, or -1 on an error.
  long Read(std::uint8_t* bytes, std::size_t size);
  void Close();

 private:
  std::intptr_t handle_ = -1;
};
