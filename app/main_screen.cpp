#include "app/main_screen.h"

#include <initializer_list>

#include "common/app_state.h"

UIPanel* WindowButtonsPanel = nullptr;
UIPanel* ProfileBarPanel = nullptr;
UIPanel* ProfileSelectionPanel = nullptr;
UIPanel* SliderPanel = nullptr;

namespace {

constexpr int kOpaque = 255;
constexpr int kFirstSliderState = 1;
constexpr int kLastSliderState = APP_PRESET_DIALOG;

void Draw(UIPanel* panel) {
  if (panel != nullptr) panel->DrawAll(kOpaque);
}

}  // namespace

void DrawMainScreen() {
  Draw(ProfileSelectionPanel);
  Draw(WindowButtonsPanel);
  Draw(ProfileBarPanel);
  if (AppState >= kFirstSliderState && AppState <= kLastSliderState) Draw(SliderPanel);
}

void SetMainPanelsEnabled(int on) {
  if (on != 0 && on != 1) return;
  for (UIPanel* panel : {ProfileSelectionPanel, ProfileBarPanel, SliderPanel}) {
    if (panel != nullptr) panel->SetState(on == 1, true);
  }
}
