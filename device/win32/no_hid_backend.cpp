// Windows has no receiver backend yet (SetupAPI and hid.dll come next): the system's backend
// lists nothing and opens nothing, and says why, so that a program can tell its user.
#include "device/hid_port.h"

namespace {

class NoHidBackend : public HidBackend {
 public:
  std::vector<HidDeviceInfo> Enumerate() override { return {}; }
  std::unique_ptr<HidPort> Open(const std::string& /*path*/, HidOpenError& error) override {
    error = HidOpenError::kFailed;
    return nullptr;
  }
};

}  // namespace

HidBackend& SystemHidBackend() {
  static NoHidBackend backend;
  return backend;
}

const char* SystemHidBackendMissing() {
  return "this Windows build cannot reach a real receiver yet: it has no receiver backend. "
         "Use --virtual FLASHFILE to work on a virtual receiver.";
}
