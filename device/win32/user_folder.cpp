#include "device/win32/user_folder.h"

#include <shlobj.h>
#include <windows.h>

#include "common/win32/wide_text.h"

namespace {

constexpr const char* kProgramFolder = "Corsaro270";

}  // namespace

std::string UserDataFolder() {
  PWSTR known = nullptr;
  std::string base;
  if (SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &known) == S_OK) {
    base = Utf8Text(known);
  }
  CoTaskMemFree(known);
  if (base.empty()) {
    const wchar_t* variable = _wgetenv(L"LOCALAPPDATA");
    if (variable != nullptr) base = Utf8Text(variable);
  }
  if (base.empty()) return {};
  return base + (base.back() == '\\' ? "" : "\\") + kProgramFolder;
}

// Every folder on the way is made if it can be; one that cannot (a drive, a share's root, one
// the user may not list) is only a problem if the folder itself is then missing.
bool MakeFolders(const std::string& folder, std::string& why) {
  DWORD error = ERROR_SUCCESS;
  for (std::size_t at = folder.find_first_of("\\/", 1);; at = folder.find_first_of("\\/", at + 1)) {
    const std::string part = folder.substr(0, at);
    if (!CreateDirectoryW(WideText(part).c_str(), nullptr)) error = GetLastError();
    if (at == std::string::npos) break;
  }
  const DWORD attributes = GetFileAttributesW(WideText(folder).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return true;
  }
  why = "cannot make the folder " + folder + ": " +
        (attributes == INVALID_FILE_ATTRIBUTES ? SystemErrorText(error)
                                               : std::string("a file has its name"));
  return false;
}

std::string UserFolder(const std::string& subfolder, std::string& why) {
  const std::string base = UserDataFolder();
  if (base.empty()) {
    why = "the system names no local application data folder (%LOCALAPPDATA%)";
    return {};
  }
  const std::string folder = base + "\\" + subfolder;
  return MakeFolders(folder, why) ? folder : std::string();
}
