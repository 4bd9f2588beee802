#include "app/main_screen_drawing.h"

#include <cstdint>

#include "app/carried_art.h"
#include "app/main_screen.h"
#include "app/no_receiver_overlay.h"
#include "app/profile_switch.h"
#include "app/skin_regions.h"
#include "common/app_state.h"
#include "engine/skin_sheet.h"
#include "profile/action_tiles.h"
#include "profile/profile_state.h"
#include "profile/wheel_controls.h"

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kOpaque = 255;
constexpr int kDimmed = 128;
constexpr std::uint32_t kOutlineColour = 0xFF000000u;
constexpr int kLabelSlideDistance = 600;

// The first and last states of the main screen proper, drawn at full alpha.
constexpr int kFirstUndimmedState = 1;
constexpr int kLastUndimmedState = APP_MAIN_SCREEN;

struct StaticPicture {
  int region;
  int x, y;
  bool dims;  // drawn at the screen's alpha, else always opaque
};

constexpr StaticPicture kStaticPictures[] = {
    {kRegionProductLogo, 57, 20, false},      {kRegionProfilesWord, 965, 0, true},
    {kRegionDragAndDropWord, 986, 479, true}, {kRegionBottomBar, 9, 481, true},
    {kRegionButtonCloseUp, 8, 152, true},     {kRegionGearCloseUp, 810, 152, true},
};

// Which way each control's label leaves during the profile switch: -1 to the left for the
// left-hand controls (the pad, the fan, the left face buttons and the left paddle), +1 to the
// right for the others.
constexpr int kSlideDirection[kWheelControlCount] = {
    -1, -1, -1, -1,          // 0-3 the round pad
    +1, +1,                  // 4, 5 the right face buttons
    -1, -1,                  // 6, 7 the left face buttons
    -1, -1, -1, -1, -1, -1,  // 8-13 the fan
    -1,                      // 14 the left paddle
    +1,                      // 15 the right paddle
    +1, +1, +1,              // 16-18 the gear lever
};

void DrawNoReceiverScreen() {
  if (Skin != nullptr) DrawNoReceiverOverlay(*Skin);
}

// The light indicators and the slider show on the main screen and under the preset dialog.
bool ShowsLightsAndSlider(int state) {
  return state >= kFirstUndimmedState && state <= APP_PRESET_DIALOG;
}

// The labels show except without a receiver and under the update screens.
bool ShowsLabels(int state) {
  return state != APP_NO_RECEIVER && state < APP_UPDATE_REQUESTED;
}

void DrawPanel(UIPanel* panel) {
  if (panel != nullptr) panel->DrawAll(kOpaque);
}

void DrawBackground() {
  const int stripWidth = kSkinRegions[kRegionBackgroundStrip].w;
  for (int x = 0; stripWidth > 0 && x < kWindowWidth; x += stripWidth) {
    DrawRegion(kRegionBackgroundStrip, x, 0, kOpaque);
  }
  DrawRectOutline(1, 1, 1023, 599, kOutlineColour);
  DrawRectOutline(2, 2, 1021, 597, kOutlineColour);
}

void DrawStaticPictures(int alpha) {
  for (const StaticPicture& picture : kStaticPictures) {
    DrawRegion(picture.region, picture.x, picture.y, picture.dims ? alpha : kOpaque);
  }
}

int LightIndicator(const UICheck* light) {
  return light != nullptr && light->checked ? kRegionLightOn : kRegionLightOff;
}

void DrawLightIndicators() {
  DrawRegion(LightIndicator(RearLightCheck), 408, 503, kOpaque);
  DrawRegion(LightIndicator(FrontLightCheck), 503, 503, kOpaque);
}

void DrawPalette(int alpha) {
  for (const ActionTile& tile : kActionTiles) {
    DrawRegion(tile.sprite, tile.paletteX, tile.paletteY, alpha);
  }
}

// Each labelled control's pointer and label, moved right by `shift` times its slide direction.
void DrawLabels(int shift, int alpha) {
  for (int control = 0; control < kWheelControlCount; ++control) {
    const ActionTile* tile = FindActionTile(ControlActions[control]);
    if (tile == nullptr) continue;
    const LabelPlacement place = PlaceLabelBeside(control, tile->w, tile->h);
    const int dx = kSlideDirection[control] * shift;
    DrawRegion(place.pointerSprite, place.pointer.x + dx, place.pointer.y, alpha);
    DrawRegion(tile->sprite, place.label.x + dx, place.label.y, alpha);
  }
}

void DrawStateOverlay() {
  if (AppState < 0 || AppState >= kAppStateCount) return;
  if (StateOverlay overlay = StateOverlays[AppState]) overlay();
}

}  // namespace

StateOverlay StateOverlays[kAppStateCount] = {DrawNoReceiverScreen};

int MainScreenAlpha(int appState) {
  const bool undimmed = appState >= kFirstUndimmedState && appState <= kLastUndimmedState;
  return undimmed ? kOpaque : kDimmed;
}

void DrawMainScreen() {
  if (Skin == nullptr) return;
  const int alpha = MainScreenAlpha(AppState);
  Skin->Bind();
  DrawBackground();
  DrawStaticPictures(alpha);
  DrawPanel(ProfileSelectionPanel);
  DrawPanel(WindowButtonsPanel);
  DrawPanel(ProfileBarPanel);
  DrawRegion(kRegionWheel, 225, 94, alpha);
  if (ShowsLightsAndSlider(AppState)) {
    DrawLightIndicators();
    DrawPanel(SliderPanel);
  }
  DrawRegion(kRegionWheelCover, 322, 90, alpha);
  if (LabelSlideProgress != 0) {
    DrawSlidingLabels(alpha, LabelSlideProgress);
  } else {
    DrawControlLabels(alpha);
  }
  DrawStateOverlay();
}

void DrawControlLabels(int alpha) {
  DrawPalette(alpha);
  if (ShowsLabels(AppState)) DrawLabels(0, alpha);
}

void DrawSlidingLabels(int alpha, double progress) {
  DrawPalette(alpha);
  if (ShowsLabels(AppState)) {
    DrawLabels(static_cast<int>(progress * kLabelSlideDistance), kOpaque);
  }
}
