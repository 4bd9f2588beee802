#include "engine/read_only_file.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

// The UTF-8 path as the UTF-16 the file calls take; empty when it is not valid UTF-8.
std::wstring Wide(const char* utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), length);
  wide.pop_back();
  return wide;
}

HANDLE Handle(std::intptr_t value) {
  return reinterpret_cast<HANDLE>(value);
}

}  // namespace

ReadOnlyFile::~ReadOnlyFile() {
  if (handle_ != -1) CloseHandle(Handle(handle_));
}

bool ReadOnlyFile::Open(const char* path) {
  if (handle_ != -1 || path == nullptr) return false;
  const std::wstring wide = Wide(path);
  if (wide.empty()) return false;
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // A pipe or console named as a file is no pack.
  LARGE_INTEGER size{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart < 0) {
    CloseHandle(file);
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

bool ReadOnlyFile::ReadAt(std::uint64_t offset, std::size_t length, unsigned char* out) const {
  if (handle_ == -1 || offset > size_ || length > size_ - offset) return false;
  while (length > 0) {
    // The offset rides in the OVERLAPPED structure; the handle itself is synchronous.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(length, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(Handle(handle_), out, want, &got, &at) || got == 0) return false;
    out += got;
    offset += got;
    length -= got;
  }
  return true;
}
