// Windows: installed (beside its uninstaller, or where this user may not write), the program
// writes in %LOCALAPPDATA%\Corsaro270, the folder its backups live in; the log and settings
// go to its "logs" and "settings" folders.
#include <windows.h>

#include "app/user_folders.h"
#include "common/win32/wide_text.h"
#include "device/win32/user_folder.h"

namespace {

constexpr const char* kUninstaller = "uninstall.exe";

bool IsAbsolute(const std::string& path) {
  return (path.size() > 2 && path[1] == ':') ||
         (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(WideText(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Whether this user may make a file in the folder: the one sure way is to make one.
bool MayWriteIn(const std::string& folder) {
  const std::wstring probe = WideText(folder + "corsaro270-write-probe.tmp");
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

const char* Subfolder(UserFileKind kind) {
  return kind == UserFileKind::kState ? "logs" : "settings";
}

}  // namespace

bool RunsInstalled(const std::string& programFolder) {
  return Exists(programFolder + kUninstaller) || !MayWriteIn(programFolder);
}

std::string UserFolder(UserFileKind kind) {
  const std::string base = UserDataFolder();
  return base.empty() ? std::string() : base + "\\" + Subfolder(kind);
}

std::string UserFilePath(UserFileKind kind, const std::string& name,
                         const std::string& programFolder, std::string* why) {
  if (IsAbsolute(name) || !RunsInstalled(programFolder)) return name;
  const std::string folder = UserFolder(kind);
  if (folder.empty()) {
    *why = "the system names no local application data folder";
    return {};
  }
  if (!MakeFolders(folder, *why)) return {};
  return folder + "\\" + name;
}

std::string UserRuntimeFolder(std::string* why) {
  // The instance lock lives in the session's namespace; the folder is only named.
  const std::string folder = UserDataFolder();
  if (folder.empty()) *why = "the system names no local application data folder";
  return folder;
}
