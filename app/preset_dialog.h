#pragma once
// The preset dialog (AppState 7): a panel over the dimmed main screen listing the presets of the
// settings document. OK downloads the selected preset on a worker while the window keeps
// drawing, checks it as a profile file and copies it into the current profile; Cancel, or OK
// without a selection, closes the dialog with nothing changed.

#include <cstddef>
#include <span>

#include "profile/wheel_profile.h"
#include "ui/base.h"
#include "ui/list.h"
#include "ui/panel.h"

// Where the dialog and its list lie, in window pixels; set each time the dialog opens.
struct PresetDialogGeometry {
  int dialogX;
  int dialogY;
  int dialogW;
  int dialogH;
  int listX;
  int listY;
  int listW;
  int listAreaH;  // the list's area above the note box
  int rowH;
};
extern PresetDialogGeometry PresetGeometry;

// What the dialog's OK came to.
enum PresetDialogOutcome : int {
  PRESET_UNDECIDED = 0,  // cancelled, or not decided yet
  PRESET_FAILED = 1,     // OK with a selection whose preset could not be used
  PRESET_APPLIED = 2,    // OK with a valid preset, now in the current profile
};
extern int PresetDialogResult;

// The open dialog's panel and list; null while it is closed.
extern UIPanel* PresetDialog;
extern UIList* PresetList;

// Widget ids of the dialog.
inline constexpr int kPresetOkButtonId = 1;
inline constexpr int kPresetCancelButtonId = 2;
inline constexpr int kPresetListId = 100;
// Most presets the list shows; later ones are not listed.
inline constexpr int kPresetListCapacity = 100;

// Opens the dialog from the main screen (AppState 6 only). Without presets it shows the
// no-presets message instead and stays on the main screen.
void OpenPresetList();

// One frame of the dialog's input: the press, or the hover or release with the wheel, goes to
// the panel; while a preset downloads input is ignored and the finished download is applied.
// Destroys the panel after a closing event. Returns -1 when the program must end, 1 while a
// widget holds the press, else 0.
int PresetDialogInput(int wheel, int x, int y, bool down);

// The handler of AppState 7: PresetDialogInput with this frame's input.
int PresetDialogFrame();

// The OK and Cancel buttons' callback.
void PresetDialogCallback(UIBase* widget, int event, int userValue);

// Checks the result of a preset's download, `count` bytes as DownloadFile reported them (-1 for
// a failed download) at the start of `bytes`: at most 1024 bytes, and a valid profile container
// in the first 116. On success the record is copied into `record` and true returned; otherwise
// the preset error is shown and `record` stays as it was.
bool ApplyPreset(int count, std::span<const unsigned char> bytes, WheelProfile& record);

// Whether the selected preset is being downloaded.
bool PresetDownloadRunning();

// Ends a running download and destroys the dialog without applying anything (tear-down).
void ClosePresetDialog();

// Texts of the dialog.
inline constexpr const char* kNoPresetsMessage =
    "To access the latest Corsaro 270 Customiser presets\nyou must be able to access the "
    "internet.\n \nPlease check your internet connection and restart the application.";
inline constexpr const char* kPresetErrorMessage =
    "An error occurred when accessing the preset data\nplease contact customer services to "
    "inform them of the problem\n \n";
inline constexpr const char* kPresetAppliedMessage =
    "Press the \"Assign Setting\" button\r\nto save the profile data to your Corsaro270 Wheel.";
