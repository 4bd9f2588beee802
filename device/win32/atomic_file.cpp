// Windows saves: the bytes go to a temporary beside the file, written through to the disk, and
// MoveFileExW puts it in the file's place. The temporary is open without sharing for as long as
// it is written, which keeps a later save's clean-up from deleting it, as the lock does on Linux.
// Access is the folder's access list's business; links are not saved through.
#include "device/atomic_file.h"

#include <windows.h>

#include <chrono>
#include <random>
#include <thread>

#include "common/win32/wide_text.h"

namespace {

constexpr int kTemporaryTries = 100;
constexpr int kRandomLetters = 6;
// The longest name part a temporary keeps, so ".NAME.XXXXXX" fits in a folder entry.
constexpr std::size_t kTemporaryNameRoom = MAX_PATH - 3 - kRandomLetters;
// A temporary this old is past the moment between its creation and its first write.
constexpr std::int64_t kStaleSeconds = 5;
// A reader that opened the file without delete sharing holds a replace back for a moment.
constexpr int kReplaceTries = 50;
constexpr auto kReplaceRetry = std::chrono::milliseconds(20);
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (valid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_;
};

std::string Reason(const char* what, const std::string& path, DWORD error) {
  return std::string(what) + " " + path + ": " + SystemErrorText(error);
}

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

std::size_t LastSeparator(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  // "C:name" is a name in the drive's current folder.
  if (slash == std::string::npos && path.size() >= 2 && path[1] == ':') return 1;
  return slash;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = LastSeparator(path);
  if (slash == std::string::npos) return ".";
  if (slash == 1 && path[1] == ':')
    return path.substr(0, 2) + (IsSeparator(path[slash]) ? "\\" : "");
  return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = LastSeparator(path);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
  return IsSeparator(folder.back()) || folder.back() == ':' ? folder + name : folder + "\\" + name;
}

std::string RandomLetters() {
  static thread_local std::mt19937 generator(std::random_device{}() ^
                                             static_cast<unsigned>(GetCurrentProcessId()));
  std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
  std::string letters;
  for (int i = 0; i < kRandomLetters; ++i) letters.push_back(kLetters[pick(generator)]);
  return letters;
}

std::string TemporaryPrefix(const std::string& name) {
  return "." + name.substr(0, kTemporaryNameRoom) + ".";
}

// The NAME of a temporary ".NAME.XXXXXX", or empty when `entry` is not one.
std::string TemporaryOf(const std::string& entry) {
  if (entry.size() < kRandomLetters + 3 || entry[0] != '.') return {};
  const std::size_t letters = entry.size() - kRandomLetters;
  if (entry[letters - 1] != '.') return {};
  if (entry.find_first_not_of(kLetters, letters) != std::string::npos) return {};
  return entry.substr(1, letters - 2);
}

std::int64_t AgeSeconds(const FILETIME& written) {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return static_cast<std::int64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime;
  };
  return (ticks(now) - ticks(written)) / 10000000;
}

// Deletes the stale temporaries in `folder` whose NAME `isTarget` accepts. One still open by a
// running save cannot be deleted, and is left.
template <typename Accept>
void RemoveStaleIn(const std::string& folder, const Accept& isTarget) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(WideText(Join(folder, ".*")).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string entry = Utf8Text(found.cFileName);
    const std::string name = TemporaryOf(entry);
    const bool plain =
        (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
    if (!name.empty() && plain && isTarget(name) &&
        AgeSeconds(found.ftLastWriteTime) >= kStaleSeconds) {
      DeleteFileW(WideText(Join(folder, entry)).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

bool WriteAll(HANDLE file, const void* bytes, std::size_t size) {
  const auto* at = static_cast<const unsigned char*>(bytes);
  while (size > 0) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
    if (!WriteFile(file, at, chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    at += written;
    size -= written;
  }
  return true;
}

// A fresh temporary beside the target, shared with nobody while it is open.
HANDLE CreateTemporary(const std::string& folder, const std::string& name, std::string& temporary) {
  for (int attempt = 0; attempt < kTemporaryTries; ++attempt) {
    temporary = Join(folder, TemporaryPrefix(name) + RandomLetters());
    const HANDLE file =
        CreateFileW(WideText(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return INVALID_HANDLE_VALUE;
}

bool MoveIntoPlace(const std::string& temporary, const std::string& path) {
  const std::wstring from = WideText(temporary);
  const std::wstring to = WideText(path);
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    const DWORD error = GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
        attempt == kReplaceTries) {
      SetLastError(error);
      return false;
    }
    std::this_thread::sleep_for(kReplaceRetry);
  }
}

// What is at `path` now, and whether a save may replace it; false with `why` when not.
bool CheckTarget(const std::string& path, bool& exists, std::string& why) {
  const std::string name = NameOf(path);
  if (name.empty() || name == "." || name == "..") {
    why = "cannot write " + path + ": it names a folder, not a file";
    return false;
  }
  const DWORD attributes = GetFileAttributesW(WideText(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    exists = false;
    if (error == ERROR_FILE_NOT_FOUND) return true;
    why = Reason("cannot look at", path, error);
    return false;
  }
  exists = true;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    why = "cannot write " + path + ": it is a folder, which a save never replaces";
    return false;
  }
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    why = "cannot write " + path + ": it is a link, which a save never replaces";
    return false;
  }
  // Windows refuses to write or replace a read-only file; said here, as a run without the
  // system's checks (Wine as root) would not.
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    why = Reason("cannot write", path, ERROR_ACCESS_DENIED);
    return false;
  }
  // Whether this user may write the file is the system's answer, as it is for any program. A
  // program reading it without sharing the write makes its open fail; the replace waits for it.
  UniqueHandle existing(CreateFileW(WideText(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!existing.valid() && GetLastError() == ERROR_SHARING_VIOLATION) return true;
  if (!existing.valid()) {
    why = Reason("cannot write", path, GetLastError());
    return false;
  }
  if (GetFileType(existing.get()) != FILE_TYPE_DISK) {
    why = "cannot write " + path + ": it is not a regular file, which a save never replaces";
    return false;
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size,
                         std::string& why, unsigned /*newFileMode*/) {
  bool exists = false;
  if (!CheckTarget(path, exists, why)) return false;
  const std::string folder = FolderOf(path);
  const std::string name = NameOf(path);
  const std::string kept = name.substr(0, kTemporaryNameRoom);
  RemoveStaleIn(folder, [&](const std::string& entry) { return entry == kept; });
  std::string temporary;
  UniqueHandle file(CreateTemporary(folder, name, temporary));
  if (!file.valid()) {
    why = Reason("cannot create a file in", folder, GetLastError());
    return false;
  }
  const bool written = WriteAll(file.get(), bytes, size) && FlushFileBuffers(file.get());
  const DWORD writeError = GetLastError();
  file.Reset();
  if (!written || !MoveIntoPlace(temporary, path)) {
    why = Reason("cannot write", path, written ? GetLastError() : writeError);
    DeleteFileW(WideText(temporary).c_str());
    return false;
  }
  return true;
}

void RemoveStaleTemporaries(const std::string& folder, bool (*isTarget)(const std::string& name)) {
  RemoveStaleIn(folder, isTarget);
}
