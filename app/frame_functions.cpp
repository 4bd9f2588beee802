#include "app/frame_functions.h"

#include "app/drag_band.h"
#include "app/main_screen.h"
#include "app/main_screen_drawing.h"
#include "app/messages.h"
#include "app/shell_engine.h"
#include "app/window_drag.h"
#include "common/app_state.h"
#include "device/connection.h"
#include "device/progress.h"
#include "engine/platform/platform.h"
#include "online/settings_document.h"
#include "ui/base.h"

FrameInput CurrentFrameInput;
StateHandler StateHandlers[kAppStateCount] = {NoReceiverInput};
bool QuitRequested = false;
DragBand WindowDragBand = {{{0, 0, kDragBandWidth, kDragBandHeight, true}}, 1, false};

namespace {

WindowDrag windowDrag;

// The window system did not take the press on the band: the window follows it here.
void MoveWindow(int left, int top) {
  platform::Current().SetWindowPosition(ShellWindow(), left, top);
}

// The widgets see a frame with the press on the band as one with the pointer away.
void HidePressFromWidgets() {
  FrameInput& input = CurrentFrameInput;
  input.mouseX = 0;
  input.mouseY = 0;
  input.buttonDown = false;
  input.wheel = 0;
}

}  // namespace

bool FrameFunc() {
  Engine* engine = ShellEngine();
  return engine == nullptr || RunFrame(*engine);
}

bool RenderFunc() {
  Engine* engine = ShellEngine();
  if (engine == nullptr || !engine->Gfx_BeginScene(nullptr)) return false;
  // A scene that starts from a clear does not build on the last one, so the engine may skip
  // drawing it again while it repeats the picture on the screen.
  engine->Gfx_Clear(0xFF000000);
  DrawMainScreen();
  engine->Gfx_EndScene();
  return false;
}

bool RunFrame(Engine& engine) {
  if (AskStartupQuestions()) return true;
  if (EscapeEndsProgram(engine)) return true;
  SampleFrameInput(engine);
  const FrameInput& input = CurrentFrameInput;
  const DragStep drag = UpdateWindowDrag(&windowDrag, WindowDragBand, input.buttonDown,
                                         input.mouseX, input.mouseY, input.cursorX, input.cursorY);
  if (drag.bandPress) HidePressFromWidgets();
  if (DispatchState() == -1) return true;
  if (drag.move) MoveWindow(drag.left, drag.top);
  return false;
}

bool AskStartupQuestions() {
  if (NewerAppAvailable()) {
    if (AskYesNo(kNewerVersionQuestion)) {
      OpenDownloadPage();
    } else {
      ShowError(kNewerVersionDeclined);
    }
    return true;
  }
  // A receiver back from an update with its old firmware is state 10's to report first.
  if (FirmwareOutOfDate && AppState != APP_UPDATE_WAIT_RETURN) {
    if (!AskYesNo(kFirmwareQuestion)) {
      ShowError(kFirmwareDeclined);
      return true;
    }
    AppState = APP_UPDATE_REQUESTED;
    FirmwareOutOfDate = 0;
  }
  return false;
}

bool EscapeEndsProgram(Engine& engine) {
  return engine.Input_LastKey() == VK_ESCAPE && UpgradeRunning == 0;
}

void SampleFrameInput(Engine& engine) {
  FrameInput& input = CurrentFrameInput;
  engine.Input_CursorOnScreen(&input.cursorX, &input.cursorY);
  input.mouseX = 0;
  input.mouseY = 0;
  input.buttonDown = false;
  input.wheel = 0;
  if (!engine.Input_MouseInside()) return;
  float x = 0;
  float y = 0;
  engine.Input_MousePosition(&x, &y);
  input.mouseX = static_cast<int>(x);
  input.mouseY = static_cast<int>(y);
  input.buttonDown = engine.Input_KeyHeld(VK_LBUTTON);
  input.wheel = engine.Input_WheelDelta();
}

int DispatchState() {
  if (AppState < 0 || AppState >= kAppStateCount) return 0;
  StateHandler handler = StateHandlers[AppState];
  return handler != nullptr ? handler() : 0;
}

int NoReceiverInput() {
  return PanelsInput({WindowButtonsPanel});
}

int PanelsInput(std::initializer_list<UIPanel*> panels) {
  FrameInput& input = CurrentFrameInput;
  if (input.buttonDown) {
    for (UIPanel* panel : panels) {
      if (panel != nullptr && panel->Dispatch(EVENT_HELD, input.mouseX, input.mouseY)) {
        input.captured = true;
      }
    }
  } else {
    int event = input.previousButton ? EVENT_RELEASED : EVENT_HOVER;
    for (UIPanel* panel : panels) {
      if (panel != nullptr) panel->Dispatch(event, input.mouseX, input.mouseY);
    }
    input.captured = false;
  }
  input.previousButton = input.buttonDown;
  if (QuitRequested) return -1;
  return input.captured ? 1 : 0;
}
