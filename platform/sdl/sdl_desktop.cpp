// What the desktop offers besides windows: message boxes, addresses, power, the program's folder.
#include "platform/sdl/sdl_platform.h"

namespace platform::sdl {
namespace {

// The ids SDL hands back for the buttons.
constexpr int kButtonOk = 0;
constexpr int kButtonYes = 1;
constexpr int kButtonNo = 2;

Uint32 SdlIcon(BoxIcon icon) {
  // SDL has no question icon; a question is information with Yes and No.
  return icon == BoxIcon::kError ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
}

}  // namespace

bool SdlPlatform::ShowMessageBox(NativeWindow owner, const MessageBox& box, BoxAnswer* answer) {
  const SDL_MessageBoxButtonData okButton[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
       kButtonOk, "OK"}};
  const Uint32 yesFlags = box.defaultNo ? 0 : SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
  const Uint32 noFlags = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT |
                         (box.defaultNo ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0);
  const SDL_MessageBoxButtonData yesNoButtons[] = {{yesFlags, kButtonYes, "Yes"},
                                                   {noFlags, kButtonNo, "No"}};
  SDL_MessageBoxData data{};
  data.flags = SdlIcon(box.icon);
  data.window = static_cast<SDL_Window*>(owner);
  data.title = box.caption;
  data.message = box.text;
  data.numbuttons = box.question ? 2 : 1;
  data.buttons = box.question ? yesNoButtons : okButton;

  int pressed = kButtonNo;
  const bool shown = SDL_ShowMessageBox(&data, &pressed) == 0;
  // Nobody saw the question, so nobody said Yes.
  if (!box.question) {
    *answer = BoxAnswer::kOk;
  } else {
    *answer = shown && pressed == kButtonYes ? BoxAnswer::kYes : BoxAnswer::kNo;
  }
  return shown;
}

bool SdlPlatform::OpenUrl(const char* url) {
  return url != nullptr && SDL_OpenURL(url) == 0;
}

PowerReading PowerFromSdl(SDL_PowerState state, int percent) {
  switch (state) {
    case SDL_POWERSTATE_ON_BATTERY:
      return {PowerSource::kBattery, percent >= 0 && percent <= 100 ? percent : -1};
    case SDL_POWERSTATE_NO_BATTERY:
    case SDL_POWERSTATE_CHARGING:
    case SDL_POWERSTATE_CHARGED:
      return {PowerSource::kMains, percent};
    default:
      return {};
  }
}

PowerReading SdlPlatform::Power() {
  int percent = -1;
  const SDL_PowerState state = SDL_GetPowerInfo(nullptr, &percent);
  return PowerFromSdl(state, percent);
}

const char* SdlPlatform::ProgramFolder() {
  if (!folderKnown_) {
    char* base = SDL_GetBasePath();
    programFolder_ = base != nullptr ? base : "";
    SDL_free(base);
    folderKnown_ = true;
  }
  return programFolder_.c_str();
}

}  // namespace platform::sdl

namespace platform {
// The desktop program's backend.
Platform& Linked() {
  static sdl::SdlPlatform platform;
  return platform;
}
}  // namespace platform
