#include "common/regular_file.h"

#include <windows.h>

#include <algorithm>

#include "common/win32/wide_text.h"

namespace {

HANDLE HandleOf(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// 100-nanosecond ticks since 1601 as nanoseconds: only compared, never shown.
std::int64_t Nanoseconds(const FILETIME& time) {
  const auto ticks = static_cast<std::int64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
  return ticks * 100;
}

}  // namespace

PathKind LookAtPath(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideText(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return IsMissing(GetLastError()) ? PathKind::kMissing : PathKind::kUnknown;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::kOther : PathKind::kRegularFile;
}

RegularFile::~RegularFile() {
  Close();
}

RegularFile::OpenResult RegularFile::Open(const std::string& path, bool followLinks,
                                          std::string& why) {
  Close();
  const std::wstring wide = WideText(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    why = SystemErrorText(GetLastError());
    return OpenResult::kCannotOpen;
  }
  if (!followLinks && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return OpenResult::kLink;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return OpenResult::kNotRegular;
  const DWORD flags = FILE_ATTRIBUTE_NORMAL | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    why = SystemErrorText(GetLastError());
    return OpenResult::kCannotOpen;
  }
  // A console, a pipe or a device may have been put under the name since it was looked at.
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return OpenResult::kNotRegular;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return OpenResult::kOpened;
}

bool RegularFile::Look(Facts& facts) const {
  BY_HANDLE_FILE_INFORMATION information{};
  if (handle_ == -1 || !GetFileInformationByHandle(HandleOf(handle_), &information)) return false;
  facts.size =
      static_cast<std::uint64_t>(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
  facts.modifiedNs = Nanoseconds(information.ftLastWriteTime);
  // Who may write a file is its folder's access list's business on Windows: the backups'
  // folder under %LOCALAPPDATA% is the user's alone.
  facts.ownedByUser = true;
  facts.othersMayWrite = false;
  return true;
}

long RegularFile::Read(std::uint8_t* bytes, std::size_t size) {
  if (handle_ == -1) return -1;
  std::size_t got = 0;
  while (got < size) {
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - got, 1u << 20));
    if (!ReadFile(HandleOf(handle_), bytes + got, want, &read, nullptr)) return -1;
    if (read == 0) break;
    got += read;
  }
  return static_cast<long>(got);
}

void RegularFile::Close() {
  if (handle_ != -1) CloseHandle(HandleOf(handle_));
  handle_ = -1;
}
