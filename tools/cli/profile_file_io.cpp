#include "tools/cli/profile_file_io.h"

#include <cstdio>

#include "profile/profile_file.h"

bool ReadProfileFile(const std::string& path, WheelProfile& profile, std::string& why) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    why = "cannot open the file";
    return false;
  }
  ProfileFile container{};
  const std::size_t got = std::fread(container.bytes, 1, kProfileFileSize, file);
  const bool longer = std::fgetc(file) != EOF;
  std::fclose(file);
  if (got != kProfileFileSize || longer) {
    why = "wrong size: a profile file is exactly 116 bytes long";
    return false;
  }
  const ProfileFileStatus status = CheckProfileFile(container, profile);
  if (status != ProfileFileStatus::kOk) {
    why = ProfileFileStatusText(status);
    return false;
  }
  return true;
}

bool WriteProfileFile(const std::string& path, const WheelProfile& profile, std::string& why) {
  ProfileFile container{};
  EncodeProfileFile(profile, container);
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) {
    why = "cannot create the file";
    return false;
  }
  const bool written = std::fwrite(container.bytes, 1, kProfileFileSize, file) == kProfileFileSize;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    why = "cannot write the file";
    return false;
  }
  return true;
}
