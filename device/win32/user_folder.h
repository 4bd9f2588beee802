#pragma once
// The program's own folder in the user's profile, %LOCALAPPDATA%\Corsaro270, where its backups,
// locks and logs live on Windows. The user's profile folders are closed to other users by their
// access lists, so what is made inside inherits that.

#include <string>

// %LOCALAPPDATA%\Corsaro270, or empty when the system names no local application data folder.
std::string UserDataFolder();

// The folder `subfolder` inside it, made (with the folders above it) when missing; empty, with
// `why`, when it cannot be.
std::string UserFolder(const std::string& subfolder, std::string& why);

// Makes `folder` and the missing folders above it; false, with `why`, when one cannot be made.
bool MakeFolders(const std::string& folder, std::string& why);
