// The log, paths, whole-file loading from disk and packs, file search, ini values, random numbers.
#include <strings.h>
#include <sys/stat.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "engine/engine_impl.h"
#include "engine/ini_file.h"
#include "engine/random.h"
#include "engine/zip_pack.h"

namespace {

// The whole file, or null. Folders, unreadable files and files of 4 GiB or more fail.
void* ReadWholeFile(const char* path, std::uint32_t* size) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  void* data = nullptr;
  struct stat status;
  if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode) &&
      static_cast<std::uint64_t>(status.st_size) <= std::numeric_limits<std::uint32_t>::max()) {
    const auto count = static_cast<std::size_t>(status.st_size);
    data = std::malloc(count + 1);  // a spare byte keeps an empty file's buffer real
    if (data != nullptr && std::fread(data, 1, count, file) != count) {
      std::free(data);
      data = nullptr;
    }
    if (data != nullptr) *size = static_cast<std::uint32_t>(count);
  }
  std::fclose(file);
  return data;
}

}  // namespace

void EngineImpl::System_Log(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  logFile.Write(format, args);
  va_end(args);
}

const char* EngineImpl::Resource_FullPath(const char* name) {
  MakeFullPath(programFolder, name, pathBuffer);
  return pathBuffer;
}

void* EngineImpl::Resource_Load(const char* name, std::uint32_t* size) {
  std::uint32_t loadedSize = 0;
  void* data = nullptr;
  bool failedInPack = false;
  if (name != nullptr && !IsAbsoluteName(name)) {
    for (const Pack* pack = packs; pack != nullptr && data == nullptr && !failedInPack;
         pack = pack->next) {
      const auto found = zip_pack::Load(pack->path, pack->password, name, &data, &loadedSize);
      failedInPack = found == zip_pack::Lookup::kFailed;
    }
  }
  // A damaged pack entry is not looked for on disk: the pack is meant to win.
  if (data == nullptr && !failedInPack && name != nullptr && name[0] != '\0' &&
      MakeFullPath(programFolder, name, pathBuffer)) {
    data = ReadWholeFile(pathBuffer, &loadedSize);
  }
  if (data == nullptr) {
    PostError("Can't load resource: %s", name != nullptr ? name : "(null)");
    return nullptr;
  }
  if (size != nullptr) *size = loadedSize;
  return data;
}

void EngineImpl::Resource_Free(void* data) {
  std::free(data);
}

bool EngineImpl::Resource_AddPack(const char* fileName, const char* password) {
  if (fileName == nullptr) return false;
  if (password != nullptr && std::strlen(password) >= sizeof Pack::password) return false;
  char path[kMaxPath];
  if (!MakeFullPath(programFolder, fileName, path)) return false;
  for (const Pack* pack = packs; pack != nullptr; pack = pack->next) {
    if (strcasecmp(pack->path, path) == 0) return false;
  }
  if (!zip_pack::CanOpen(path)) return false;
  Pack* pack = new Pack;
  std::strcpy(pack->path, path);
  std::strcpy(pack->password, password != nullptr ? password : "");
  pack->next = packs;
  packs = pack;
  return true;
}

void EngineImpl::Resource_RemovePack(const char* fileName) {
  char path[kMaxPath];
  if (fileName == nullptr || !MakeFullPath(programFolder, fileName, path)) return;
  for (Pack** link = &packs; *link != nullptr; link = &(*link)->next) {
    if (strcasecmp((*link)->path, path) == 0) {
      Pack* gone = *link;
      *link = gone->next;
      delete gone;
      return;
    }
  }
}

void EngineImpl::Resource_RemoveAllPacks() {
  while (packs != nullptr) {
    Pack* gone = packs;
    packs = gone->next;
    delete gone;
  }
}

const char* EngineImpl::Resource_FindFile(const char* pattern) {
  if (pattern == nullptr) return search.Next();
  return search.First(Resource_FullPath(pattern), FileSearch::Kind::kFiles);
}

const char* EngineImpl::Resource_FindFolder(const char* pattern) {
  if (pattern == nullptr) return search.Next();
  return search.First(Resource_FullPath(pattern), FileSearch::Kind::kFolders);
}

void EngineImpl::Ini_WriteInt(const char* section, const char* key, int value) {
  if (iniFile[0] == '\0') return;
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  ini_file::Write(iniFile, section, key, text);
}

int EngineImpl::Ini_ReadInt(const char* section, const char* key, int defaultValue) {
  std::string text;
  if (iniFile[0] == '\0' || !ini_file::Read(iniFile, section, key, text) || text.empty()) {
    return defaultValue;
  }
  // Like atoi, but a number too large for an int stops at its limit instead of being undefined.
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

void EngineImpl::Ini_WriteFloat(const char* section, const char* key, float value) {
  if (iniFile[0] == '\0') return;
  char text[64];
  std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
  ini_file::Write(iniFile, section, key, text);
}

float EngineImpl::Ini_ReadFloat(const char* section, const char* key, float defaultValue) {
  std::string text;
  if (iniFile[0] == '\0' || !ini_file::Read(iniFile, section, key, text) || text.empty()) {
    return defaultValue;
  }
  return std::strtof(text.c_str(), nullptr);
}

void EngineImpl::Ini_WriteString(const char* section, const char* key, const char* value) {
  if (iniFile[0] == '\0') return;
  ini_file::Write(iniFile, section, key, value);
}

const char* EngineImpl::Ini_ReadString(const char* section, const char* key,
                                       const char* defaultValue) {
  std::string text;
  if (iniFile[0] != '\0' && ini_file::Read(iniFile, section, key, text)) {
    std::snprintf(iniReadBuffer, sizeof iniReadBuffer, "%s", text.c_str());
  } else {
    std::snprintf(iniReadBuffer, sizeof iniReadBuffer, "%s",
                  defaultValue != nullptr ? defaultValue : "");
  }
  return iniReadBuffer;
}

void EngineImpl::Random_Seed(std::uint32_t seed) {
  RandomSeed(seed != 0 ? seed : clock->Now());
}

int EngineImpl::Random_Integer(int min, int max) {
  return RandomInteger(min, max);
}

float EngineImpl::Random_Real(float min, float max) {
  return RandomReal(min, max);
}
