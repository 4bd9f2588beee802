#include "app/main_screen_input.h"

#include <initializer_list>

#include "app/action_drag.h"
#include "app/frame_functions.h"
#include "app/main_screen.h"
#include "app/main_screen_drawing.h"
#include "app/profile_switch.h"
#include "common/app_state.h"
#include "profile/profile_mapping.h"
#include "ui/base.h"

namespace {

// Set while a press that began during the profile switch is still held.
bool pressFromSwitch = false;

// The states over which a dragged tile is drawn: all but the no-receiver, preset and update ones.
constexpr int kFirstDragOverlayState = 1;
constexpr int kLastDragOverlayState = APP_MAIN_SCREEN;

// True while a handle of the slider is dragged: the press and the release that ends it are
// the drag's, so no other control sees them.
bool SliderHoldsPress() {
  return SliderPanel != nullptr && SliderPanel->capture != nullptr;
}

// Sends the event to the four panels in order; true when any took it. The slider panel is left
// out when `offerSlider` is false; `sliderTook` tells whether it took the event.
bool DispatchToPanels(int event, int x, int y, bool offerSlider, bool* sliderTook) {
  bool taken = false;
  for (UIPanel* panel : {WindowButtonsPanel, ProfileBarPanel, ProfileSelectionPanel}) {
    if (panel != nullptr && panel->Dispatch(event, x, y)) taken = true;
  }
  *sliderTook = offerSlider && SliderPanel != nullptr && SliderPanel->Dispatch(event, x, y);
  return taken || *sliderTook;
}

void FollowDrag(FrameInput& input) {
  if (input.buttonDown) {
    MoveDrag(input.mouseX, input.mouseY);
    return;
  }
  DropDrag(input.mouseX, input.mouseY);
  input.captured = false;
}

void Press(FrameInput& input) {
  if (SliderHoldsPress()) {
    SliderPanel->Dispatch(EVENT_HELD, input.mouseX, input.mouseY);
    input.captured = true;
    return;
  }
  // A drag starts only where a press begins: a press swept over a handle, a tile or a label
  // carries nothing. The slider sees a held button only to start a drag, so it is offered the
  // first frame alone.
  const bool pressBegins = !input.previousButton;
  bool sliderTook = false;
  if (DispatchToPanels(EVENT_HELD, input.mouseX, input.mouseY, pressBegins, &sliderTook)) {
    input.captured = true;
  }
  if (sliderTook || input.captured || !pressBegins) return;
  if (StartDrag(input.mouseX, input.mouseY)) input.captured = true;
}

void ReleaseOrHover(FrameInput& input) {
  const int event = input.previousButton ? EVENT_RELEASED : EVENT_HOVER;
  bool sliderTook = false;
  if (SliderHoldsPress()) {
    sliderTook = SliderPanel->Dispatch(event, input.mouseX, input.mouseY);
    // With the button up no drag goes on: one the release did not end ends here, so the angles
    // taken below are in order.
    if (SliderHoldsPress() && AngleSlider != nullptr) AngleSlider->EndDrag();
  } else {
    DispatchToPanels(event, input.mouseX, input.mouseY, true, &sliderTook);
  }
  if (sliderTook) SliderToSettings(true, false);
  input.captured = false;
}

}  // namespace

int MainScreenInput() {
  FrameInput& input = CurrentFrameInput;
  // Back on the main screen from another one in the middle of a switch: finish it now.
  if (ProfileSwitchUnfinished()) CompleteProfileSwitch();
  if (pressFromSwitch && input.buttonDown) {
    input.previousButton = true;
    return 0;
  }
  if (pressFromSwitch) {
    // The release of an ignored press is not a click.
    pressFromSwitch = false;
    input.previousButton = false;
  }
  if (Drag.active) {
    FollowDrag(input);
  } else if (input.buttonDown) {
    Press(input);
  } else {
    ReleaseOrHover(input);
  }
  input.previousButton = input.buttonDown;
  if (QuitRequested) return -1;
  return input.captured ? 1 : 0;
}

void IgnorePressDuringSwitch() {
  FrameInput& input = CurrentFrameInput;
  if (input.buttonDown) pressFromSwitch = true;
  input.previousButton = input.buttonDown;
}

void InstallMainScreenHandlers() {
  StateHandlers[APP_MAIN_SCREEN] = MainScreenInput;
  StateHandlers[APP_SWITCH_FIRST_HALF] = AnimationStep;
  StateHandlers[APP_SWITCH_SECOND_HALF] = AnimationStep;
  for (int state = kFirstDragOverlayState; state <= kLastDragOverlayState; ++state) {
    StateOverlays[state] = DrawDraggedTile;
  }
}

void RemoveMainScreenHandlers() {
  for (int state : {APP_SWITCH_SECOND_HALF, APP_SWITCH_FIRST_HALF, APP_MAIN_SCREEN}) {
    StateHandlers[state] = nullptr;
  }
  for (int state = kFirstDragOverlayState; state <= kLastDragOverlayState; ++state) {
    StateOverlays[state] = nullptr;
  }
  pressFromSwitch = false;
}
