#include "online/file_address.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "common/regular_file.h"
#include "online/platform_download.h"

namespace {

constexpr std::size_t kChunk = 16384;

std::string Failure(const std::string& path, const char* why) {
  return path + ": " + why;
}

bool ReadAll(RegularFile& file, std::size_t limit, std::string& body, std::string& error,
             const std::atomic<bool>* cancel) {
  std::uint8_t chunk[kChunk];
  while (body.size() < limit) {
    if (cancel != nullptr && cancel->load()) {
      error = "cancelled";
      return false;
    }
    const long n = file.Read(chunk, std::min(sizeof chunk, limit - body.size()));
    if (n < 0) {
      error = "cannot read it";
      return false;
    }
    if (n == 0) break;
    body.append(reinterpret_cast<const char*>(chunk), static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

bool IsFileAddress(const char* address) {
  if (address == nullptr) return false;
  const char scheme[] = "file:";
  for (std::size_t i = 0; i + 1 < sizeof scheme; ++i) {
    if (std::tolower(static_cast<unsigned char>(address[i])) != scheme[i]) return false;
  }
  return true;
}

bool ReadFileAddress(const char* address, std::size_t limit, std::string& body, std::string& error,
                     const std::atomic<bool>* cancel) {
  body.clear();
  error.clear();
  std::string path;
  if (!FileAddressPath(address, path, error)) return false;
  // The name is looked at before it is opened and the opened file again, so that a FIFO or a
  // device is never even opened and a name swapped in between is caught.
  RegularFile file;
  std::string why;
  switch (file.Open(path, true, why)) {
    case RegularFile::OpenResult::kOpened:
      break;
    case RegularFile::OpenResult::kCannotOpen:
      error = Failure(path, why.c_str());
      return false;
    case RegularFile::OpenResult::kLink:
    case RegularFile::OpenResult::kNotRegular:
      error = Failure(path, "not a regular file");
      return false;
  }
  const bool read = ReadAll(file, limit, body, error, cancel);
  file.Close();
  if (!read) {
    if (error != "cancelled") error = Failure(path, error.c_str());
    body.clear();
  }
  return read;
}
