#include "device/linux/hidraw_device.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>

namespace {

class HidrawDevice : public RawHidDevice {
 public:
  HidrawDevice(int fd, std::uint16_t vendorId, std::uint16_t productId)
      : fd_(fd), vendorId_(vendorId), productId_(productId) {}
  ~HidrawDevice() override { close(fd_); }

  std::uint16_t VendorId() const override { return vendorId_; }
  std::uint16_t ProductId() const override { return productId_; }

  int Read(std::uint8_t* data, std::size_t size, int timeoutMs) override {
    if (!WaitReadable(timeoutMs)) return lastWaitFailed_ ? -1 : 0;
    const ssize_t got = read(fd_, data, size);
    if (got >= 0) return static_cast<int>(got);
    return errno == EAGAIN || errno == EINTR ? 0 : -1;
  }

  int Write(const std::uint8_t* data, std::size_t size) override {
    ssize_t written = 0;
    do {
      written = write(fd_, data, size);
    } while (written < 0 && errno == EINTR);
    return written < 0 ? -1 : static_cast<int>(written);
  }

 private:
  // Waits until a report is queued; false after the time-out or when the device has gone
  // (lastWaitFailed_ tells which).
  bool WaitReadable(int timeoutMs) {
    lastWaitFailed_ = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      pollfd entry{fd_, POLLIN, 0};
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      const int ready = poll(&entry, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
      if (ready < 0 && errno == EINTR) continue;
      if (ready == 0) return false;
      if (ready < 0 || (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
        lastWaitFailed_ = true;
        return false;
      }
      return true;
    }
  }

  int fd_;
  std::uint16_t vendorId_;
  std::uint16_t productId_;
  bool lastWaitFailed_ = false;
};

HidOpenError ErrorFromErrno(int number) {
  switch (number) {
    case EACCES:
    case EPERM:
      return HidOpenError::kPermissionDenied;
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return HidOpenError::kNotPresent;
    default:
      return HidOpenError::kFailed;
  }
}

}  // namespace

std::shared_ptr<RawHidDevice> OpenHidrawDevice(const std::string& path, HidOpenError& error) {
  // Non-blocking, so that a read after poll() never waits; hidraw writes ignore the flag.
  const int fd = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = ErrorFromErrno(errno);
    return nullptr;
  }
  hidraw_devinfo info{};
  if (ioctl(fd, HIDIOCGRAWINFO, &info) < 0) {
    close(fd);
    error = HidOpenError::kFailed;  // not a hidraw node
    return nullptr;
  }
  error = HidOpenError::kNone;
  return std::make_shared<HidrawDevice>(fd, static_cast<std::uint16_t>(info.vendor),
                                        static_cast<std::uint16_t>(info.product));
}

std::string HidrawIdentity(const std::string& path, const std::string& sysRoot) {
  struct stat node {};
  if (stat(path.c_str(), &node) != 0 || !S_ISCHR(node.st_mode)) return {};
  const std::string uevent = sysRoot + "/dev/char/" + std::to_string(major(node.st_rdev)) + ":" +
                             std::to_string(minor(node.st_rdev)) + "/device/uevent";
  std::ifstream in(uevent);
  std::string serial;
  std::string port;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("HID_UNIQ=", 0) == 0) serial = line.substr(9);
    if (line.rfind("HID_PHYS=", 0) == 0) port = line.substr(9);
  }
  if (!serial.empty()) return "serial:" + serial;
  if (!port.empty()) return "usb:" + port;
  return {};
}
