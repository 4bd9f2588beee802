// The desktop's dialogs on Windows: the common dialogs for profile files (GetOpenFileNameW,
// GetSaveFileNameW, filtered to "Wheel Profiles") and the platform's message boxes (MessageBoxW).
// The program's headers first: engine.h names constants that <windows.h> defines as macros.
#include "app/dialogs.h"
#include "common/log.h"
#include "common/win32/wide_text.h"

#include <windows.h>

#include <commdlg.h>

namespace {

constexpr DWORD kPathCapacity = 32768;  // the longest path Windows takes

// "Wheel Profiles (*.cs270)\0*.cs270\0\0", as the dialogs take their filters.
std::wstring ProfileFilter() {
  std::wstring filter = WideText(std::string(kProfileFilterName) + " (" + kProfilePattern + ")");
  filter.push_back(L'\0');
  filter += WideText(kProfilePattern);
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  return filter;
}

class WindowsDialogs final : public Dialogs {
 public:
  MessageAnswer ShowMessage(WindowHandle owner, MessageIcon icon, const char* caption,
                            const char* text) override {
    return boxes_->ShowMessage(owner, icon, caption, text);
  }

  MessageAnswer ShowQuestionDefaultNo(WindowHandle owner, const char* caption,
                                      const char* text) override {
    return boxes_->ShowQuestionDefaultNo(owner, caption, text);
  }

  bool ChooseOpenFile(std::string* path) override {
    return Choose(false, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, path);
  }

  bool ChooseSaveFile(std::string* path) override {
    if (!Choose(true, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, path)) return false;
    *path = WithProfileExtension(*path);
    return true;
  }

 private:
  static bool Choose(bool save, DWORD flags, std::string* path) {
    const std::wstring filter = ProfileFilter();
    const std::wstring extension = WideText(kProfileExtension + 1);
    std::wstring chosen(kPathCapacity, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = flags | OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    const BOOL picked = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!picked) {
      // Zero is a cancel; anything else is a failure the user never saw.
      const DWORD failure = CommDlgExtendedError();
      if (failure != 0)
        Log("File dialog failed (error 0x%04lX)", static_cast<unsigned long>(failure));
      return false;
    }
    *path = Utf8Text(chosen.c_str());
    return !path->empty();
  }

  std::unique_ptr<Dialogs> boxes_ = CreatePlatformDialogs();
};

}  // namespace

std::unique_ptr<Dialogs> CreateDesktopDialogs() {
  return std::make_unique<WindowsDialogs>();
}
