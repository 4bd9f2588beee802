#include "app/main_screen_callbacks.h"

#include <SDL2/SDL_video.h>

#include "app/frame_functions.h"
#include "app/main_screen_ids.h"
#include "app/messages.h"
#include "app/shell_engine.h"

namespace {

void MinimiseMainWindow() {
  auto* window = static_cast<SDL_Window*>(ShellWindow());
  if (window != nullptr) SDL_MinimizeWindow(window);
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
