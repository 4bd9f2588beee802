// The desktop dialogs when GTK cannot start: the platform's message boxes, and no file choosers.
#include "app/dialogs.h"
#include "common/log.h"
#include "engine/platform/platform.h"

namespace {

platform::BoxIcon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError:
      return platform::BoxIcon::kError;
    case MessageIcon::kQuestion:
      return platform::BoxIcon::kQuestion;
    default:
      return platform::BoxIcon::kInformation;
  }
}

class PlatformDialogs final : public Dialogs {
 public:
  MessageAnswer ShowMessage(WindowHandle owner, MessageIcon icon, const char* caption,
                            const char* text) override {
    return Show(owner, icon, caption, text, false);
  }

  MessageAnswer ShowQuestionDefaultNo(WindowHandle owner, const char* caption,
                                      const char* text) override {
    return Show(owner, MessageIcon::kQuestion, caption, text, true);
  }

  bool ChooseOpenFile(std::string* /*path*/) override { return NoChooser(); }
  bool ChooseSaveFile(std::string* /*path*/) override { return NoChooser(); }

 private:
  static MessageAnswer Show(WindowHandle owner, MessageIcon icon, const char* caption,
                            const char* text, bool defaultNo) {
    const std::string shown = DisplayText(text);
    platform::MessageBox box;
    box.icon = BoxIcon(icon);
    box.caption = caption;
    box.text = shown.c_str();
    box.question = icon == MessageIcon::kQuestion;
    box.defaultNo = defaultNo;
    platform::Platform& os = platform::Current();
    platform::BoxAnswer answer = platform::BoxAnswer::kNo;
    // Nobody saw the question, so nobody said Yes.
    if (!os.ShowMessageBox(owner, box, &answer)) Log("Message box failed: %s", os.LastError());
    switch (answer) {
      case platform::BoxAnswer::kYes:
        return MessageAnswer::kYes;
      case platform::BoxAnswer::kNo:
        return MessageAnswer::kNo;
      default:
        return MessageAnswer::kOk;
    }
  }

  static bool NoChooser() {
    Log("File chooser unavailable: GTK could not start");
    return false;
  }
};

}  // namespace

std::unique_ptr<Dialogs> CreatePlatformDialogs() {
  return std::make_unique<PlatformDialogs>();
}
