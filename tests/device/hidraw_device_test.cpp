#include "device/linux/hidraw_device.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
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

// The kernel keeps each HID device's serial number and port in its uevent record; /dev/null
// (character device 1:3) stands in for the receiver's node, with a record of the test's own.
TEST(HidrawDevice, AReceiverIsNamedByItsSerialNumberElseItsPort) {
  const std::string root = ::testing::TempDir() + "hidraw_sys";
  const std::string device = root + "/dev/char/1:3/device";
  std::filesystem::remove_all(root);
  ASSERT_TRUE(std::filesystem::create_directories(device));
  std::ofstream(device + "/uevent") << "DRIVER=hid-generic\nHID_ID=0003:00002E7B:00000262\n"
                                       "HID_NAME=Corsaro 270 Receiver\n"
                                       "HID_PHYS=usb-0000:00:14.0-2/input0\nHID_UNIQ=8C21F04A\n";
  EXPECT_EQ(HidrawIdentity("/dev/null", root), "serial:8C21F04A");
  std::ofstream(device + "/uevent") << "HID_PHYS=usb-0000:00:14.0-2/input0\nHID_UNIQ=\n";
  EXPECT_EQ(HidrawIdentity("/dev/null", root), "usb:usb-0000:00:14.0-2/input0");
  std::ofstream(device + "/uevent") << "DRIVER=hid-generic\n";
  EXPECT_EQ(HidrawIdentity("/dev/null", root), "");
  EXPECT_EQ(HidrawIdentity(device + "/uevent", root), "") << "a regular file is no device node";
  EXPECT_EQ(HidrawIdentity("/no/such/node", root), "");
  std::filesystem::remove_all(root);
}
