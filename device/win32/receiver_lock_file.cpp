// The receiver lock on Windows: LockFileEx on a file in %LOCALAPPDATA%\Corsaro270\locks.
#include "device/receiver_lock.h"

#include <windows.h>

#include <cstring>

#include "common/win32/wide_text.h"
#include "device/receiver_lock_folder.h"
#include "device/win32/user_folder.h"

namespace {

constexpr const char* kVirtualPrefix = "virtual:";
constexpr const char* kLockSubfolder = "locks";
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE HandleOf(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// The path of an open file or folder as the system names it, without the "\\?\" in front.
std::string FinalPath(HANDLE handle) {
  wchar_t path[32768];
  const DWORD length =
      GetFinalPathNameByHandleW(handle, path, sizeof path / sizeof path[0], VOLUME_NAME_DOS);
  if (length == 0 || length >= sizeof path / sizeof path[0]) return {};
  std::wstring named(path, length);
  if (named.rfind(L"\\\\?\\UNC\\", 0) == 0) return Utf8Text(L"\\\\" + named.substr(8));
  if (named.rfind(L"\\\\?\\", 0) == 0) named.erase(0, 4);
  return Utf8Text(named);
}

// The canonical path of an existing file or folder, or empty.
std::string ExistingPath(const std::string& path) {
  const HANDLE handle = CreateFileW(WideText(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  std::string final = FinalPath(handle);
  CloseHandle(handle);
  return final;
}

std::string FullPath(const std::string& path) {
  wchar_t full[32768];
  const DWORD length =
      GetFullPathNameW(WideText(path).c_str(), sizeof full / sizeof full[0], full, nullptr);
  if (length == 0 || length >= sizeof full / sizeof full[0]) return path;
  return Utf8Text(std::wstring(full, length));
}

// A device's interface path ("\\?\hid#vid_2e7b&pid_0262#...#{class}"). SetupAPI and arrival
// notices may write one path in different letter cases, and Windows takes either.
bool IsDeviceInterfacePath(const std::string& path) {
  return path.rfind("\\\\?\\", 0) == 0 && path.find("#{") != std::string::npos;
}

std::string LowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION first{};
  BY_HANDLE_FILE_INFORMATION second{};
  return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

// Whether `held` is still the file at `path`: the holder before removes it as it lets go.
bool StillNamed(HANDLE held, const std::string& path) {
  const HANDLE named = CreateFileW(WideText(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  if (named == INVALID_HANDLE_VALUE) return false;
  const bool same = SameFile(held, named);
  CloseHandle(named);
  return same;
}

}  // namespace

std::string ReceiverLockFolder(std::string& why) {
  return UserFolder(kLockSubfolder, why);
}

std::string ReceiverIdentity(const std::string& path) {
  // A virtual receiver is named after its flash file.
  if (path.rfind(kVirtualPrefix, 0) == 0) {
    return kVirtualPrefix + ReceiverIdentity(path.substr(std::strlen(kVirtualPrefix)));
  }
  if (IsDeviceInterfacePath(path)) return LowerCase(path);
  const std::string existing = ExistingPath(path);
  if (!existing.empty()) return existing;
  // A flash file yet to be made: its folder's canonical path and its name.
  const std::string full = FullPath(path);
  const std::size_t slash = full.find_last_of("\\/");
  if (slash == std::string::npos) return full;
  const std::string folder = ExistingPath(full.substr(0, slash + 1));
  return folder.empty() ? full
                        : folder + (folder.back() == '\\' ? "" : "\\") + full.substr(slash + 1);
}

// Locks the file now at `path`. Opening fails while a holder's removal of it is pending, which
// is a lock still being let go.
ReceiverLock::Attempt ReceiverLock::TryLock(const std::string& path, std::string& why) {
  const HANDLE file = CreateFileW(WideText(path).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) return Attempt::kBusy;
    why = "cannot open the lock file " + path + ": " + SystemErrorText(error);
    return Attempt::kFailed;
  }
  OVERLAPPED whole{};
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return Attempt::kBusy;
    why = "cannot lock " + path + ": " + SystemErrorText(error);
    return Attempt::kFailed;
  }
  if (StillNamed(file, path)) {
    handle_ = reinterpret_cast<std::intptr_t>(file);
    path_ = path;
    return Attempt::kTaken;
  }
  CloseHandle(file);
  return Attempt::kBusy;
}

void ReceiverLock::Release() {
  if (handle_ == -1) return;
  // Removed while still held, so that no lock files pile up; a writer that opened it before
  // finds it gone once it has the lock and takes a new one.
  DeleteFileW(WideText(path_).c_str());
  OVERLAPPED whole{};
  UnlockFileEx(HandleOf(handle_), 0, 1, 0, &whole);
  CloseHandle(HandleOf(handle_));
  handle_ = -1;
  path_.clear();
}
