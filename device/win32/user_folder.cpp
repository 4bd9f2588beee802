#include "device/win32/user_folder.h"

#include <windows.h>
#include <shlobj.h>

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

bool MakeFolders(const std::string& folder, std::string& why) {
  for (std::size_t at = folder.find_first_of("\\/", 3);; at = folder.find_first_of("\\/", at + 1)) {
    const std::string part = folder.substr(0, at);
    if (!part.empty() && !CreateDirectoryW(WideText(part).c_str(), nullptr)) {
      const DWORD error = GetLastError();
      if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) {
        why = "cannot make the folder " + part + ": " + SystemErrorText(error);
        return false;
      }
    }
    if (at == std::string::npos) break;
  }
  const DWORD attributes = GetFileAttributesW(WideText(folder).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return true;
  }
  why = "cannot make the folder " + folder + ": " +
        (attributes == INVALID_FILE_ATTRIBUTES ? SystemErrorText(GetLastError())
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
