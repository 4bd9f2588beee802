// Windows: no other user writes in the user's own folders, but a planted link (a reparse point)
// or a device name could still turn the write elsewhere, so the file must be a plain file.
#include <windows.h>

#include <cerrno>
#include <string>

#include "engine/own_file.h"

namespace {

std::wstring Wide(const char* utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  return wide;
}

// Missing, or a plain file that is no link.
bool MayWrite(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
  return (attributes &
          (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace

std::FILE* OpenOwnFileForWriting(const char* path, bool append) {
  const std::wstring wide = path != nullptr ? Wide(path) : std::wstring();
  if (wide.empty()) {
    errno = EINVAL;
    return nullptr;
  }
  if (!MayWrite(wide)) {
    errno = EPERM;
    return nullptr;
  }
  // Binary: the bytes written are the bytes the Linux program writes.
  return _wfopen(wide.c_str(), append ? L"ab" : L"wb");
}
