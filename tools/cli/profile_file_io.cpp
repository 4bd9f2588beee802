#include "tools/cli/profile_file_io.h"

#include "device/atomic_file.h"
#include "profile/profile_file.h"

bool ReadProfileFile(const std::string& path, WheelProfile& profile, std::string& why,
                     std::string& warning) {
  std::size_t size = 0;
  const ProfileFileStatus status = LoadProfileContainer(path.c_str(), profile, &size);
  warning.clear();
  if (status != ProfileFileStatus::kOk) {
    why = ProfileFileStatusText(status);
    return false;
  }
  if (size > kProfileFileSize) {
    warning = std::to_string(size) + " bytes long; only the first 116 were read";
  } else if (size < kProfileFileSize) {
    warning = "only " + std::to_string(size) + " bytes long; the missing bytes were read as zeros";
  }
  return true;
}

bool WriteProfileFile(const std::string& path, const WheelProfile& profile, std::string& why) {
  ProfileFile container{};
  EncodeProfileFile(profile, container);
  return WriteFileAtomically(path, container.bytes, kProfileFileSize, why);
}
