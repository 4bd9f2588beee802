#pragma once
// Where the program keeps what it writes. Run from its build tree it writes beside itself, as it
// always has; installed, its folder is not the user's to write, so its files go to the user's XDG
// folders instead: the log to $XDG_STATE_HOME/corsaro270/, settings to
// $XDG_CONFIG_HOME/corsaro270/ (~/.local/state and ~/.config when those are not set).

#include <string>

// The folder of the program's installed data, relative to its bin folder.
inline constexpr const char* kInstalledDataFolder = "../share/corsaro270";

// Whether the program runs installed: its folder (with a trailing '/') is a bin folder beside
// share/corsaro270/, as an install lays it out, or this user may not write in it.
bool RunsInstalled(const std::string& programFolder);

enum class UserFileKind {
  kState,     // the log
  kSettings,  // ini files
};

// The user's folder for files of this kind: $XDG_STATE_HOME/corsaro270 or
// $XDG_CONFIG_HOME/corsaro270, or below $HOME when the variable is unset or not an absolute path.
// Empty when HOME is not absolute either.
std::string UserFolder(UserFileKind kind);

// Where the file `name` of this kind goes: `name` itself when it is an absolute path or the
// program is not installed (the engine then takes it beside the program); else in UserFolder(kind),
// created with the folders above it when missing. Empty, with `why` in a sentence, when that
// folder cannot be had.
std::string UserFilePath(UserFileKind kind, const std::string& name,
                         const std::string& programFolder, std::string* why);

// The user's runtime folder for sockets and locks: $XDG_RUNTIME_DIR when it is an absolute path
// to a folder of this user's own that nobody else may write, else /tmp/corsaro270-UID made so.
// Empty, with `why`, when neither can be had.
std::string UserRuntimeFolder(std::string* why);
