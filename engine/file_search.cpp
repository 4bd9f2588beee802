#include "engine/file_search.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "engine/wildcard.h"

namespace {

bool IsDotEntry(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

}  // namespace

const char* FileSearch::First(const char* fullPattern, Kind kind) {
  Close();
  if (fullPattern == nullptr || std::strlen(fullPattern) >= kMaxPath) return nullptr;
  const char* slash = std::strrchr(fullPattern, '/');
  if (slash == nullptr) {
    std::strcpy(folderPath_, "./");
    std::strcpy(pattern_, fullPattern);
  } else {
    const std::size_t folderLength = static_cast<std::size_t>(slash - fullPattern) + 1;
    std::memcpy(folderPath_, fullPattern, folderLength);
    folderPath_[folderLength] = '\0';
    std::strcpy(pattern_, slash + 1);
  }
  if (std::strcmp(pattern_, "*.*") == 0) std::strcpy(pattern_, "*");
  folder_ = opendir(folderPath_);
  if (folder_ == nullptr) return nullptr;
  kind_ = kind;
  return Next();
}

const char* FileSearch::Next() {
  if (folder_ == nullptr) return nullptr;
  while (const dirent* entry = readdir(folder_)) {
    if (!WildcardMatches(pattern_, entry->d_name)) continue;
    char path[kMaxPath];
    if (std::snprintf(path, sizeof path, "%s%s", folderPath_, entry->d_name) >=
        static_cast<int>(sizeof path)) {
      continue;
    }
    struct stat status;
    if (stat(path, &status) != 0) continue;
    const bool isFolder = S_ISDIR(status.st_mode);
    if (kind_ == Kind::kFiles ? isFolder : (!isFolder || IsDotEntry(entry->d_name))) continue;
    std::snprintf(found_, sizeof found_, "%s", entry->d_name);
    return found_;
  }
  Close();
  return nullptr;
}

void FileSearch::Close() {
  if (folder_ != nullptr) closedir(folder_);
  folder_ = nullptr;
}
