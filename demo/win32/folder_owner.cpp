// Windows: a folder the user may create files in is taken as the user's; a link (a reparse
// point) could lead anywhere, so it is refused as another's.
#include <windows.h>

#include "common/win32/wide_text.h"
#include "demo/folder_owner.h"

FolderOwner OwnerOfFolder(const std::string& folder) {
  if (folder.empty()) return FolderOwner::kNotFolder;
  const DWORD attributes = GetFileAttributesW(WideText(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return FolderOwner::kNotFolder;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return FolderOwner::kOthers;
  return FolderOwner::kOwn;
}
