#pragma once
// One open wildcard search over the entries of a folder, returning plain files or folders by name
// (without their folder). '*' and '?' match as on the classic file systems: without regard to
// case, and "*.*" matches every name.

#include <dirent.h>

#include "engine/full_path.h"

class FileSearch {
 public:
  enum class Kind { kFiles, kFolders };

  FileSearch() = default;
  ~FileSearch() { Close(); }
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;

  // Closes any open search and starts one on the full-path pattern; the first match or null.
  const char* First(const char* fullPattern, Kind kind);
  // The next match of the open search, or null (which closes it). Null when none is open.
  const char* Next();
  void Close();

 private:
  DIR* folder_ = nullptr;
  Kind kind_ = Kind::kFiles;
  char folderPath_[kMaxPath] = {};
  char pattern_[kMaxPath] = {};
  char found_[kMaxPath] = {};
};
