#pragma once
// Whose a folder is: the demo writes only into a folder of the user's own.

#include <string>

enum class FolderOwner {
  kNotFolder,  // missing, or not a folder
  kOthers,     // another user's (or a link of another user's to it)
  kOwn,
};

FolderOwner OwnerOfFolder(const std::string& folder);
