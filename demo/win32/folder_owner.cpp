// Windows: a folder the user may create files in is taken as the user's; a link (a reparse
// point) could lead anywhere, so it is refused as another's.
#include <windows.h>

#include "demo/folder_owner.h"

FolderOwner OwnerOfFolder(const std::string& folder) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, folder.c_str(), -1, nullptr, 0);
  if (length <= 1) return FolderOwner::kNotFolder;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, folder.c_str(), -1, wide.data(), length);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return FolderOwner::kNotFolder;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return FolderOwner::kOthers;
  return FolderOwner::kOwn;
}
