// The only file that calls hidapi. hidraw delivers unnumbered input reports without their
// report ID, so reads put the 0 back in front; writes pass the report ID as hidapi expects.

#include <hidapi/hidapi.h>

#include <cstring>
#include <mutex>

#include "device/hid_port.h"

namespace {

// The receiver's reports: report ID 0 and a 32-byte payload.
constexpr std::size_t kReceiverReportLength = 33;

class HidapiPort : public HidPort {
 public:
  explicit HidapiPort(hid_device* device) : device_(device) {
    if (const hid_device_info* info = hid_get_device_info(device_)) {
      vendorId_ = info->vendor_id;
      productId_ = info->product_id;
    }
  }
  ~HidapiPort() override { hid_close(device_); }

  std::uint16_t VendorId() const override { return vendorId_; }
  std::uint16_t ProductId() const override { return productId_; }
  std::size_t InputReportLength() const override { return kReceiverReportLength; }
  std::size_t OutputReportLength() const override { return kReceiverReportLength; }

  bool Write(const std::uint8_t* report, std::size_t length) override {
    return hid_write(device_, report, length) == static_cast<int>(length);
  }

  HidReadResult Read(std::uint8_t* report, std::size_t length, int timeoutMs) override {
    if (length < 2) return HidReadResult::kError;
    std::memset(report, 0, length);
    const int got = hid_read_timeout(device_, report + 1, length - 1, timeoutMs);
    if (got < 0) return HidReadResult::kError;
    return got == 0 ? HidReadResult::kTimeout : HidReadResult::kOk;
  }

  void FlushInput() override {
    std::uint8_t scratch[kReceiverReportLength];
    while (hid_read_timeout(device_, scratch, sizeof scratch, 0) > 0) {
    }
  }

  // hidraw keeps a fixed queue of 64 reports; there is nothing to set.
  void SetInputBufferCount(int) override {}
  // hidapi transfers are synchronous: when a call returns nothing is left pending.
  void Cancel() override {}

 private:
  hid_device* device_;
  std::uint16_t vendorId_ = 0;
  std::uint16_t productId_ = 0;
};

class HidapiBackendImpl : public HidBackend {
 public:
  std::vector<HidDeviceInfo> Enumerate() override {
    std::vector<HidDeviceInfo> devices;
    if (!Initialise()) return devices;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
      devices.push_back({info->path ? info->path : "", info->vendor_id, info->product_id});
    }
    hid_free_enumeration(list);
    return devices;
  }

  std::unique_ptr<HidPort> Open(const std::string& path) override {
    if (!Initialise()) return nullptr;
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) return nullptr;
    return std::make_unique<HidapiPort>(device);
  }

 private:
  bool Initialise() {
    std::call_once(once_, [this] { ready_ = hid_init() == 0; });
    return ready_;
  }

  std::once_flag once_;
  bool ready_ = false;
};

HidBackend* currentBackend = nullptr;

}  // namespace

HidBackend& HidapiBackend() {
  static HidapiBackendImpl backend;
  return backend;
}

HidBackend& CurrentHidBackend() {
  return currentBackend ? *currentBackend : HidapiBackend();
}

void SetCurrentHidBackend(HidBackend* backend) {
  currentBackend = backend;
}
