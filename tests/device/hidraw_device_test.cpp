#include "device/hidraw_device.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// Opens `path` as a user without privileges: in a child process that gives up root first, since
// root may open any file.
HidOpenError OpenAsUnprivilegedUser(const std::string& path) {
  if (geteuid() != 0) {
    HidOpenError error = HidOpenError::kNone;
    OpenHidrawDevice(path, error);
    return error;
  }
  std::fflush(nullptr);  // nothing buffered may be written twice
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
    HidOpenError error = HidOpenError::kNone;
    OpenHidrawDevice(path, error);
    _exit(static_cast<int>(error));
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 100) return HidOpenError::kNone;
  return static_cast<HidOpenError>(WEXITSTATUS(status));
}

}  // namespace

TEST(HidrawDevice, EachReasonAnOpenFailsIsTold) {
  HidOpenError error = HidOpenError::kNone;
  EXPECT_EQ(OpenHidrawDevice("/dev/hidraw-that-is-not-there", error), nullptr);
  EXPECT_EQ(error, HidOpenError::kNotPresent);

  // A file that opens but is no HID device.
  const std::string plain = ::testing::TempDir() + "hidraw_plain_file";
  std::ofstream(plain) << "not a device";
  EXPECT_EQ(OpenHidrawDevice(plain, error), nullptr);
  EXPECT_EQ(error, HidOpenError::kFailed);

  // A node its owner keeps to itself, as hidraw nodes are without the udev rule.
  chmod(plain.c_str(), 0600);
  EXPECT_EQ(OpenAsUnprivilegedUser(plain), HidOpenError::kPermissionDenied);
  std::remove(plain.c_str());
}
