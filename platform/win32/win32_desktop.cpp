// What the desktop offers besides windows: message boxes, addresses, power, the program's folder.
#include "platform/win32/win32_platform.h"

#include <shellapi.h>

namespace platform::win32 {
namespace {

constexpr BYTE kOnMains = 1;
constexpr BYTE kOnBattery = 0;
constexpr BYTE kNoSystemBattery = 128;
constexpr BYTE kUnknownPercent = 255;
// ShellExecuteW answers a value above 32 on success.
constexpr INT_PTR kShellSuccessAbove = 32;

UINT BoxStyle(const MessageBox& box) {
  UINT style = box.question ? MB_YESNO : MB_OK;
  switch (box.icon) {
    case BoxIcon::kError:
      style |= MB_ICONERROR;
      break;
    case BoxIcon::kQuestion:
      style |= MB_ICONQUESTION;
      break;
    default:
      style |= MB_ICONINFORMATION;
      break;
  }
  if (box.question && box.defaultNo) style |= MB_DEFBUTTON2;
  return style | MB_SETFOREGROUND;
}

}  // namespace

std::wstring Wide(const char* utf8) {
  if (utf8 == nullptr || *utf8 == '\0') return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  return wide;
}

std::string Utf8(const wchar_t* wide) {
  if (wide == nullptr || *wide == L'\0') return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(length - 1));
  return text;
}

bool Win32Platform::ShowMessageBox(NativeWindow owner, const MessageBox& box, BoxAnswer* answer) {
  const int pressed = MessageBoxW(static_cast<HWND>(owner), Wide(box.text).c_str(),
                                  Wide(box.caption).c_str(), BoxStyle(box));
  if (pressed == 0) Fail("MessageBoxW");
  // Nobody saw the question, so nobody said Yes.
  if (!box.question) {
    *answer = BoxAnswer::kOk;
  } else {
    *answer = pressed == IDYES ? BoxAnswer::kYes : BoxAnswer::kNo;
  }
  return pressed != 0;
}

bool Win32Platform::OpenUrl(const char* url) {
  if (url == nullptr) return false;
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", Wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > kShellSuccessAbove;
}

PowerReading Win32Platform::Power() {
  SYSTEM_POWER_STATUS status{};
  if (!GetSystemPowerStatus(&status)) return {};
  if (status.ACLineStatus == kOnMains || (status.BatteryFlag & kNoSystemBattery) != 0) {
    return {PowerSource::kMains, status.BatteryLifePercent <= 100 ? status.BatteryLifePercent : -1};
  }
  if (status.ACLineStatus == kOnBattery) {
    const int percent =
        status.BatteryLifePercent != kUnknownPercent && status.BatteryLifePercent <= 100
            ? status.BatteryLifePercent
            : -1;
    return {PowerSource::kBattery, percent};
  }
  return {};
}

const char* Win32Platform::ProgramFolder() {
  if (programFolder_.empty()) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    std::string folder = Utf8(path);
    const std::size_t slash = folder.find_last_of("\\/");
    if (slash == std::string::npos) return "";
    // The program's paths are written with '/', which Windows reads as well.
    folder.erase(slash + 1);
    for (char& c : folder) {
      if (c == '\\') c = '/';
    }
    programFolder_ = folder;
  }
  return programFolder_.c_str();
}

Win32Platform& LinkedWin32() {
  static Win32Platform platform;
  return platform;
}

}  // namespace platform::win32

namespace platform {
// The Windows program's backend.
Platform& Linked() {
  return win32::LinkedWin32();
}
}  // namespace platform
