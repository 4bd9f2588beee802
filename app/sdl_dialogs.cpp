// The desktop dialogs when GTK cannot start: SDL message boxes, and no file choosers.
#include <SDL2/SDL.h>

#include "app/dialogs.h"
#include "common/log.h"

namespace {

// The ids SDL hands back for the buttons.
constexpr int kButtonOk = 0;
constexpr int kButtonYes = 1;
constexpr int kButtonNo = 2;

Uint32 SdlIcon(MessageIcon icon) {
  // SDL has no question icon; a question is information with Yes and No.
  return icon == MessageIcon::kError ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
}

class SdlDialogs final : public Dialogs {
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
    bool question = icon == MessageIcon::kQuestion;
    const SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
         kButtonOk, "OK"}};
    const Uint32 yesFlags = defaultNo ? 0 : SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    const Uint32 noFlags = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT |
                           (defaultNo ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0);
    const SDL_MessageBoxButtonData yesNoButtons[] = {{yesFlags, kButtonYes, "Yes"},
                                                     {noFlags, kButtonNo, "No"}};
    std::string shown = DisplayText(text);
    SDL_MessageBoxData box{};
    box.flags = SdlIcon(icon);
    box.window = static_cast<SDL_Window*>(owner);
    box.title = caption;
    box.message = shown.c_str();
    box.numbuttons = question ? 2 : 1;
    box.buttons = question ? yesNoButtons : okButton;

    int pressed = kButtonNo;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
      // Nobody saw the question, so nobody said Yes.
      Log("Message box failed: %s", SDL_GetError());
      pressed = kButtonNo;
    }
    if (!question) return MessageAnswer::kOk;
    return pressed == kButtonYes ? MessageAnswer::kYes : MessageAnswer::kNo;
  }

  static bool NoChooser() {
    Log("File chooser unavailable: GTK could not start");
    return false;
  }
};

}  // namespace

std::unique_ptr<Dialogs> CreateSdlDialogs() {
  return std::make_unique<SdlDialogs>();
}
