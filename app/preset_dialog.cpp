#include "app/preset_dialog.h"

#include <algorithm>
#include <cstring>

#include "app/frame_functions.h"
#include "app/messages.h"
#include "app/preset_dialog_drawing.h"
#include "app/skin_regions.h"
#include "common/app_state.h"
#include "common/log.h"
#include "online/background_download.h"
#include "online/settings_document.h"
#include "profile/profile_file.h"
#include "profile/profile_mapping.h"
#include "profile/profile_set.h"
#include "ui/button.h"

PresetDialogGeometry PresetGeometry = {};
int PresetDialogResult = PRESET_UNDECIDED;
UIPanel* PresetDialog = nullptr;
UIList* PresetList = nullptr;

namespace {

constexpr PresetDialogGeometry kGeometry = {172, 100, 680, 400, 222, 160, 580, 170, 30};
constexpr int kListRows = 5;
constexpr int kButtonMargin = 20;  // from the dialog's right and bottom edges
constexpr int kButtonGap = 10;     // between OK and Cancel

int returnState = APP_MAIN_SCREEN;
bool closeRequested = false;
// The preset whose download runs, and the download itself.
int downloadingPreset = -1;
BackgroundDownload presetDownload;

UIButton* AddDialogButton(int id, int normal, int pressed, int hover, int x, int y) {
  auto* button = new UIButton(id, normal, pressed, hover, x, y, false);
  button->callback = PresetDialogCallback;
  button->userValue = 0;
  PresetDialog->AddChild(button);
  return button;
}

void BuildDialog() {
  const PresetDialogGeometry& g = PresetGeometry;
  PresetDialog = new UIPanel(0, 0);
  const SkinRegion& cancel = kSkinRegions[kRegionCancelNormal];
  const int cancelX = g.dialogX + g.dialogW - cancel.w - kButtonMargin;
  const int cancelY = g.dialogY + g.dialogH - cancel.h - kButtonMargin;
  AddDialogButton(kPresetCancelButtonId, kRegionCancelNormal, kRegionCancelPressed,
                  kRegionCancelHover, cancelX, cancelY);
  const int okX = cancelX - kButtonGap - kSkinRegions[kRegionOkNormal].w;
  AddDialogButton(kPresetOkButtonId, kRegionOkNormal, kRegionOkPressed, kRegionOkHover, okX,
                  cancelY);

  PresetList = new UIList(kPresetListId, g.listX, g.listY, g.listW, g.rowH, kListRows,
                          kPresetListCapacity, PresetDialog);
  PresetList->SetDrawCallback(DrawPresetRow);
  for (PresetEntry& preset : Settings.presets) {
    if (PresetList->AddItem(&preset) < 0) break;
  }
  PresetDialog->AddChild(PresetList);
}

void DestroyDialog() {
  delete PresetDialog;
  PresetDialog = nullptr;
  PresetList = nullptr;
}

void CloseDialog() {
  AppState = returnState;
  closeRequested = true;
}

// Copies a valid preset over the current profile and shows it; the receiver learns it only from
// Assign Setting.
void UsePreset(const WheelProfile& record) {
  ProfileSet[CurrentProfile] = record;
  ProfileToControls(CurrentProfile);
  Log("Preset \"%s\" copied into profile %d", Settings.presets[downloadingPreset].name,
      CurrentProfile + 1);
  ShowInformation(kPresetAppliedMessage);
}

void StartPresetDownload(int preset) {
  PresetDialogResult = PRESET_FAILED;
  downloadingPreset = preset;
  if (presetDownload.Start(Settings.presets[preset].file)) return;
  ShowError(kPresetErrorMessage);
  CloseDialog();
}

void FinishPresetDownload() {
  const int count = presetDownload.Take();
  WheelProfile record{};
  if (ApplyPreset(count, presetDownload.Bytes(), record)) {
    PresetDialogResult = PRESET_APPLIED;
  }
  CloseDialog();
  if (PresetDialogResult == PRESET_APPLIED) UsePreset(record);
}

int WheelEvent(int wheel, int pointerEvent) {
  if (wheel < 0) return EVENT_WHEEL_DOWN + pointerEvent;
  if (wheel > 0) return EVENT_WHEEL_UP + pointerEvent;
  return pointerEvent;
}

void DispatchPointer(int wheel, int x, int y, bool down) {
  FrameInput& input = CurrentFrameInput;
  if (down) {
    if (PresetDialog != nullptr && PresetDialog->Dispatch(EVENT_HELD, x, y)) input.captured = true;
    return;
  }
  const int pointerEvent = input.previousButton ? EVENT_RELEASED : EVENT_HOVER;
  if (PresetDialog != nullptr) PresetDialog->Dispatch(WheelEvent(wheel, pointerEvent), x, y);
  input.captured = false;
}

}  // namespace

void OpenPresetList() {
  if (AppState != APP_MAIN_SCREEN || PresetDialog != nullptr) return;
  if (Settings.presets.empty()) {
    ShowInformation(kNoPresetsMessage);
    return;
  }
  returnState = APP_MAIN_SCREEN;
  PresetDialogResult = PRESET_UNDECIDED;
  closeRequested = false;
  AppState = APP_PRESET_DIALOG;
  PresetGeometry = kGeometry;
  BuildDialog();
}

int PresetDialogInput(int wheel, int x, int y, bool down) {
  FrameInput& input = CurrentFrameInput;
  if (presetDownload.Busy()) {
    // The dialog waits for its download; clicks meanwhile go nowhere.
    input.captured = false;
    if (presetDownload.Finished()) FinishPresetDownload();
  } else {
    DispatchPointer(wheel, x, y, down);
  }
  if (closeRequested) {
    DestroyDialog();
    closeRequested = false;
  }
  input.previousButton = down;
  if (QuitRequested) return -1;
  return input.captured ? 1 : 0;
}

int PresetDialogFrame() {
  const FrameInput& input = CurrentFrameInput;
  return PresetDialogInput(input.wheel, input.mouseX, input.mouseY, input.buttonDown);
}

void PresetDialogCallback(UIBase* widget, int /*event*/, int /*userValue*/) {
  if (widget == nullptr || presetDownload.Busy()) return;
  if (widget->id != kPresetOkButtonId && widget->id != kPresetCancelButtonId) return;
  if (widget->id == kPresetOkButtonId && PresetList != nullptr) {
    const int selected = PresetList->Selected();
    if (selected >= 0 && static_cast<std::size_t>(selected) < Settings.presets.size()) {
      StartPresetDownload(selected);
      return;
    }
  }
  CloseDialog();
}

bool ApplyPreset(int count, std::span<const unsigned char> bytes, WheelProfile& record) {
  const char* problem = nullptr;
  if (count < 0) {
    problem = "the download failed";
  } else if (static_cast<std::size_t>(count) > kPresetFileLimit) {
    problem = "the file is larger than 1024 bytes";
  } else {
    const std::size_t size = std::min(static_cast<std::size_t>(count), bytes.size());
    const ProfileFileStatus status = CheckProfileBytes(bytes.data(), size, record);
    if (status != ProfileFileStatus::kOk) problem = ProfileFileStatusText(status);
  }
  if (problem == nullptr) return true;
  Log("Preset refused: %s", problem);
  ShowError(kPresetErrorMessage);
  return false;
}

bool PresetDownloadRunning() {
  return presetDownload.Busy();
}

void ClosePresetDialog() {
  presetDownload.Cancel();
  DestroyDialog();
  closeRequested = false;
}
