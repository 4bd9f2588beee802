// Real receivers on Windows: SetupAPI lists the devices of the HID interface class, each opened
// with CreateFileW for overlapped I/O, and hid.dll gives their IDs, report lengths and input
// queue. The transfers themselves are OverlappedReports'. Arrival notices (WM_DEVICECHANGE for
// the HID interface class) belong to the program's window; the path one names is opened here as
// any other.

#include <windows.h>
// After windows.h, which it needs.
#include <setupapi.h>

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "common/win32/wide_text.h"
#include "device/hid_port.h"
#include "device/win32/hid_api.h"
#include "device/win32/overlapped_reports.h"

namespace {

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
// USB string descriptors hold at most 126 characters; one more for the terminator.
constexpr ULONG kSerialCharacters = 127;

class WindowsHidPort : public HidPort {
 public:
  WindowsHidPort(HANDLE device, const HIDD_ATTRIBUTES& attributes, const HIDP_CAPS& caps)
      : vendorId_(attributes.VendorID),
        productId_(attributes.ProductID),
        inputLength_(caps.InputReportByteLength),
        outputLength_(caps.OutputReportByteLength),
        reports_(device, inputLength_, outputLength_) {}

  bool Ready() const { return reports_.Ready(); }

  std::uint16_t VendorId() const override { return vendorId_; }
  std::uint16_t ProductId() const override { return productId_; }
  std::size_t InputReportLength() const override { return inputLength_; }
  std::size_t OutputReportLength() const override { return outputLength_; }

  bool Write(const std::uint8_t* report, std::size_t length, int timeoutMs) override {
    return reports_.Write(report, length, timeoutMs);
  }
  HidReadResult Read(std::uint8_t* report, std::size_t length, int timeoutMs) override {
    return reports_.Read(report, length, timeoutMs);
  }
  void FlushInput() override { HidD_FlushQueue(reports_.Handle()); }
  void SetInputBufferCount(int count) override {
    HidD_SetNumInputBuffers(reports_.Handle(), static_cast<ULONG>(count));
  }
  void Cancel() override { reports_.Cancel(); }
  HidSlotTransfers* SlotTransfers() override { return &reports_; }

 private:
  std::uint16_t vendorId_;
  std::uint16_t productId_;
  std::size_t inputLength_;
  std::size_t outputLength_;
  OverlappedReports reports_;
};

// Closes a handle as its scope ends, unless it was handed on.
class HandleGuard {
 public:
  explicit HandleGuard(HANDLE handle) : handle_(handle) {}
  ~HandleGuard() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HandleGuard(const HandleGuard&) = delete;
  HandleGuard& operator=(const HandleGuard&) = delete;
  HANDLE Get() const { return handle_; }
  HANDLE Release() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }

 private:
  HANDLE handle_;
};

// Only device paths are opened: a name of the file system is no HID device, and opening one for
// writing is not this backend's business.
bool IsDevicePath(const std::wstring& path) {
  return path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0;
}

// Opens a device path; with no access it serves the attribute queries only, which even devices
// that the system keeps to itself (keyboards, mice) allow.
HANDLE OpenDevice(const std::wstring& path, DWORD access) {
  return CreateFileW(path.c_str(), access, kShareReadWrite, nullptr, OPEN_EXISTING,
                     FILE_FLAG_OVERLAPPED, nullptr);
}

HidOpenError OpenErrorFrom(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
      return HidOpenError::kPermissionDenied;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
      return HidOpenError::kNotPresent;
    default:
      return HidOpenError::kFailed;
  }
}

bool ReadCaps(HANDLE device, HIDP_CAPS& caps) {
  PHIDP_PREPARSED_DATA preparsed = nullptr;
  if (!HidD_GetPreparsedData(device, &preparsed)) return false;
  const bool read = HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS;
  HidD_FreePreparsedData(preparsed);
  return read;
}

// The path of one member of an interface list, its detail buffer sized to that path.
bool InterfacePath(HDEVINFO list, SP_DEVICE_INTERFACE_DATA& member, std::wstring& path) {
  DWORD size = 0;
  SetupDiGetDeviceInterfaceDetailW(list, &member, nullptr, 0, &size, nullptr);
  if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return false;
  std::vector<DWORD> storage(size / sizeof(DWORD) + 1);  // aligned as the record must be
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  if (!SetupDiGetDeviceInterfaceDetailW(list, &member, detail, size, nullptr, nullptr)) {
    return false;
  }
  path = detail->DevicePath;
  return !path.empty();
}

// The paths of every present device of the HID interface class, in SetupAPI's order.
std::vector<std::wstring> HidInterfacePaths() {
  std::vector<std::wstring> paths;
  GUID hidClass{};
  HidD_GetHidGuid(&hidClass);
  const HDEVINFO list =
      SetupDiGetClassDevsW(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (list == INVALID_HANDLE_VALUE) return paths;
  SP_DEVICE_INTERFACE_DATA member{};
  member.cbSize = sizeof member;
  for (DWORD index = 0; SetupDiEnumDeviceInterfaces(list, nullptr, &hidClass, index, &member);
       ++index) {
    std::wstring path;
    if (InterfacePath(list, member, path)) paths.push_back(path);
  }
  SetupDiDestroyDeviceInfoList(list);
  return paths;
}

// A device path's instance part ("\\?\hid#vid_2e7b&pid_0262#INSTANCE#{class}"): for a device
// without a serial number Windows derives it from the port the device is plugged into.
std::string InstancePart(const std::string& path) {
  const std::size_t second = path.find('#', path.find('#') + 1);
  if (second == std::string::npos) return {};
  const std::size_t third = path.find('#', second + 1);
  if (third == std::string::npos) return {};
  std::string instance = path.substr(second + 1, third - second - 1);
  for (char& c : instance) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return instance;
}

class WindowsHidBackend : public HidBackend {
 public:
  std::vector<HidDeviceInfo> Enumerate() override {
    std::vector<HidDeviceInfo> devices;
    for (const std::wstring& path : HidInterfacePaths()) {
      HandleGuard device(OpenDevice(path, 0));
      if (device.Get() == INVALID_HANDLE_VALUE) continue;
      HIDD_ATTRIBUTES attributes{};
      attributes.Size = sizeof attributes;
      if (!HidD_GetAttributes(device.Get(), &attributes)) continue;
      devices.push_back({Utf8Text(path), attributes.VendorID, attributes.ProductID});
    }
    return devices;
  }

  std::unique_ptr<HidPort> Open(const std::string& path, HidOpenError& error) override {
    const std::wstring wide = WideText(path);
    if (!IsDevicePath(wide)) {
      error = HidOpenError::kNotPresent;
      return nullptr;
    }
    HandleGuard device(OpenDevice(wide, GENERIC_READ | GENERIC_WRITE));
    if (device.Get() == INVALID_HANDLE_VALUE) {
      error = OpenErrorFrom(GetLastError());
      return nullptr;
    }
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    HIDP_CAPS caps{};
    if (!HidD_GetAttributes(device.Get(), &attributes) || !ReadCaps(device.Get(), caps)) {
      error = HidOpenError::kFailed;  // not a HID device
      return nullptr;
    }
    auto port = std::make_unique<WindowsHidPort>(device.Release(), attributes, caps);
    if (!port->Ready()) {
      error = HidOpenError::kFailed;
      return nullptr;
    }
    error = HidOpenError::kNone;
    return port;
  }

  std::string Identity(const std::string& path) override {
    const std::wstring wide = WideText(path);
    if (!IsDevicePath(wide)) return {};
    HandleGuard device(OpenDevice(wide, 0));
    if (device.Get() == INVALID_HANDLE_VALUE) return {};
    wchar_t serial[kSerialCharacters] = {};
    if (HidD_GetSerialNumberString(device.Get(), serial, sizeof serial - sizeof serial[0]) &&
        serial[0] != L'\0') {
      return "serial:" + Utf8Text(serial);
    }
    const std::string instance = InstancePart(path);
    return instance.empty() ? std::string() : "usb:" + instance;
  }
};

}  // namespace

HidBackend& SystemHidBackend() {
  static WindowsHidBackend backend;
  return backend;
}

const char* SystemHidBackendMissing() {
  return nullptr;
}
