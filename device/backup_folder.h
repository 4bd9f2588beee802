#pragma once
// Where the automatic backups live, and keeping their folder the user's alone: the platform's
// part of profile_backups.h (linux/, win32/).

#include <string>

// Why there is no default backup folder, when DefaultProfileBackupFolder() is empty.
extern const char kNoBackupFolderReason[];

// Makes `folder` and the missing folders above it for this user alone, and makes sure nobody
// else may change what is in it; false, with `why`, when it cannot be so.
bool PreparePrivateFolder(const std::string& folder, std::string& why);
