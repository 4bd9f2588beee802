// Device arrivals and removals on Windows: a message-only window registered for the HID
// interface class receives WM_DEVICECHANGE; its window procedure keeps each notice until the
// engine's message pump polls for them.
#include "engine/device_notifier.h"

#include <windows.h>

// After the engine's headers: <dbt.h> defines as macros the names engine.h declares as constants.
#include <dbt.h>

#include "engine/engine.h"

namespace {

constexpr wchar_t kWindowClass[] = L"Corsaro270DeviceNotices";
// The HID device interface class (what HidD_GetHidGuid answers).
constexpr GUID kHidInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

std::string Utf8(const wchar_t* wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(length - 1));
  return text;
}

// The notice a WM_DEVICECHANGE carries for a device interface; false for every other change.
bool NoticeFromMessage(WPARAM change, LPARAM data, DeviceNotice* notice) {
  if (change != 0x8000 && change != 0x8004) return false;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return false;
  const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
  notice->event = change;
  notice->path = Utf8(device->dbcc_name);
  // Interface paths are case-insensitive: SetupAPI, which the receiver's path comes from, writes
  // them in lower case, the notices often in upper case, and the program compares them as text.
  for (char& c : notice->path) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return true;
}

LRESULT CALLBACK NoticeWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEVICECHANGE) {
    auto* heard =
        reinterpret_cast<std::deque<DeviceNotice>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    DeviceNotice notice;
    if (heard != nullptr && NoticeFromMessage(wParam, lParam, &notice)) heard->push_back(notice);
    return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterNoticeClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = NoticeWindowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool DeviceNotifier::IsOpen() const {
  return registration_ != nullptr;
}

bool DeviceNotifier::WatchesDevFolder() const {
  return false;
}

bool DeviceNotifier::Open(const char*, const char*) {
  Close();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterNoticeClass(instance)) return false;
  HWND window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance, nullptr);
  if (window == nullptr) return false;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&heard_));
  window_ = window;
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = kHidInterfaceClass;
  registration_ = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (registration_ == nullptr) {
    Close();
    return false;
  }
  return true;
}

int DeviceNotifier::Poll(Deliver deliver, void* context) {
  if (window_ == nullptr) return 0;
  // The program's own pump may have dispatched them already; this catches the rest.
  MSG message;
  while (PeekMessageW(&message, static_cast<HWND>(window_), 0, 0, PM_REMOVE)) {
    DispatchMessageW(&message);
  }
  int delivered = 0;
  while (!heard_.empty()) {
    const DeviceNotice notice = heard_.front();
    heard_.pop_front();
    deliver(notice, context);
    ++delivered;
  }
  return delivered;
}

void DeviceNotifier::Close() {
  if (registration_ != nullptr) UnregisterDeviceNotification(registration_);
  if (window_ != nullptr) DestroyWindow(static_cast<HWND>(window_));
  registration_ = nullptr;
  window_ = nullptr;
  heard_.clear();
}
