// The only file that calls hidapi, and only to list devices: the receiver's node itself is opened
// as a hidraw device, so that its port can bound every transfer.

#include <hidapi/hidapi.h>

#include <mutex>

#include "device/hid_port.h"
#include "device/linux/hidraw_device.h"
#include "device/raw_hid_port.h"

namespace {

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

  std::unique_ptr<HidPort> Open(const std::string& path, HidOpenError& error) override {
    std::shared_ptr<RawHidDevice> device = OpenHidrawDevice(path, error);
    if (device == nullptr) return nullptr;
    return std::make_unique<RawHidPort>(std::move(device));
  }

  std::string Identity(const std::string& path) override { return HidrawIdentity(path); }

 private:
  bool Initialise() {
    std::call_once(once_, [this] { ready_ = hid_init() == 0; });
    return ready_;
  }

  std::once_flag once_;
  bool ready_ = false;
};

}  // namespace

HidBackend& SystemHidBackend() {
  static HidapiBackendImpl backend;
  return backend;
}

const char* SystemHidBackendMissing() {
  return nullptr;
}
