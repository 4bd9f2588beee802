#include "app/main_screen_callbacks.h"

#include "app/frame_functions.h"
#include "app/main_screen_ids.h"
#include "app/messages.h"
#include "app/preset_dialog.h"
#include "app/profile_files.h"
#include "app/profile_operations.h"
#include "app/profile_switch.h"
#include "app/shell_engine.h"
#include "engine/platform/platform.h"
#include "profile/profile_set.h"
#include "ui/check.h"

namespace {

void MinimiseMainWindow() {
  platform::Current().MinimizeWindow(ShellWindow());
}

}  // namespace

void WindowButtonsCallback(UIBase* widget, int /*event*/, int userValue) {
  if (widget == nullptr || userValue != 0) return;
  switch (widget->id) {
    case kCloseButtonId:
      QuitRequested = true;
      break;
    case kMinimiseButtonId:
      MinimiseMainWindow();
      break;
    case kSupportButtonId:
      OpenSupportPage();
      break;
    case kAboutButtonId:
      ShowAboutBox();
      break;
    default:
      break;
  }
}

void ProfileBarCallback(UIBase* widget, int /*event*/, int userValue) {
  if (widget == nullptr || userValue != 0) return;
  switch (widget->id) {
    case kClearMapButtonId:
      ClearProfile();
      break;
    case kAssignButtonId:
      AssignSetting();
      break;
    case kResetButtonId:
      ResetProfile();
      break;
    case kLoadButtonId:
      LoadProfileFile();
      break;
    case kSaveButtonId:
      SaveProfileFile();
      break;
    case kPresetsButtonId:
      OpenPresetList();
      break;
    default:
      break;
  }
}

void ProfileRadioCallback(UIBase* widget, int /*event*/, int /*userValue*/) {
  if (widget == nullptr || widget->kind != KIND_CHECK) return;
  if (!static_cast<const UICheck*>(widget)->checked) return;
  const int profile = widget->id - kProfileDisc1Id;
  if (profile == CurrentProfile) return;
  StartProfileSwitch(profile);
}
