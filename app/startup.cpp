#include "app/startup.h"

#include <cassert>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app_version.h"
#include "app/c_library_extras.h"
#include "app/carried_art.h"
#include "app/device_change.h"
#include "app/dialogs.h"
#include "app/drag_band.h"
#include "app/frame_functions.h"
#include "app/main_screen.h"
#include "app/main_screen_drawing.h"
#include "app/messages.h"
#include "app/preset_dialog.h"
#include "app/preset_dialog_drawing.h"
#include "app/quit_signals.h"
#include "app/screen_connection_listener.h"
#include "app/screen_profile_controls.h"
#include "app/shell_engine.h"
#include "app/single_run.h"
#include "app/update_flow.h"
#include "app/user_folders.h"
#include "common/app_state.h"
#include "common/log.h"
#include "device/connection.h"
#include "device/firmware_upgrade.h"
#include "device/hid_port.h"
#include "engine/display_scale.h"
#include "engine/platform/platform.h"
#include "engine/program_name.h"
#include "engine/skin_sheet.h"
#include "online/settings_document.h"
#include "online/settings_download.h"
#include "profile/profile_controls.h"
#include "ui/skin_link.h"

WindowHandle MainWindow = nullptr;

namespace {

Engine* engine = nullptr;
ScreenConnectionListener screenListener;
ScreenProfileControls screenControls;
// The options of this run, from start-up to tear-down.
const CustomiserOptions* runOptions = nullptr;
constexpr const char* kMakerNotice = " (C) 2012 Ormic";
constexpr int kTitleSize = 128;
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 600;
constexpr int kScreenBpp = 32;
constexpr int kFramesPerSecond = 60;

// Frames the shell has run since start-up, counted up to the second only.
int shellFrames = 0;

// Start-up's passing buffers (the decoded art, the driver's first shader builds) leave free pages
// inside the heap; once the first frame is on the screen they go back to the system.
void ReturnStartUpMemory() {
  if (shellFrames < 2 && ++shellFrames == 2) ReturnFreeHeap();
}

// The frame function the engine runs: a quit signal ends the loop, a later start is answered, the
// run's own step taken, then the program's frame.
bool ShellFrame() {
  ReturnStartUpMemory();
  if (const int number = QuitSignal(); number != 0) {
    Log("Ending on signal %d (%s)", number, SignalName(number));
    return true;
  }
  AnswerLaterStarts();
  if (runOptions->frameStep != nullptr) runOptions->frameStep();
  return FrameFunc();
}

// The log's full path: beside the program, or in the user's state folder when it runs installed.
// Empty, with a line on standard error, when there is nowhere to write it.
std::string LogFilePath(const char* name) {
  if (name == nullptr) return {};
  std::string why;
  std::string path =
      UserFilePath(UserFileKind::kState, name, engine->Resource_FullPath(nullptr), &why);
  if (path.empty()) {
    std::fprintf(stderr, "%s: the log is not written: %s\n", ProgramShortName(),
                 why.c_str());
  }
  return path;
}

void ConfigureEngine(const char* title) {
  engine->System_SetState(STATE_FRAME_FUNC, ShellFrame);
  engine->System_SetState(STATE_RENDER_FUNC, RenderFunc);
  engine->System_SetState(STATE_DEVICE_CHANGE_FUNC, DeviceChangeFunc);
  engine->System_SetState(STATE_TITLE, title);
  engine->System_SetState(STATE_SCREEN_WIDTH, kScreenWidth);
  engine->System_SetState(STATE_SCREEN_HEIGHT, kScreenHeight);
  engine->System_SetState(STATE_RUN_INACTIVE, true);
  engine->System_SetState(STATE_HIDE_CURSOR, false);
  engine->System_SetState(STATE_SOUND, false);
  engine->System_SetState(STATE_WINDOWED, true);
  engine->System_SetState(STATE_SCREEN_BPP, kScreenBpp);
  engine->System_SetState(STATE_FPS, kFramesPerSecond);
  RegisterCarriedResources();
  engine->System_SetState(STATE_ICON, MakeResourceId(kIconResource));
}

// Keeps the window where the engine put it, with an outer size of exactly the screen size.
void FitMainWindow() {
  WindowHandle window = MainWindow;
  if (window == nullptr) return;
  platform::Platform& os = platform::Current();
  int left = 0, top = 0;
  os.GetWindowPosition(window, &left, &top);
  const int units = WindowUnits(window, engine->System_GetState(STATE_WINDOW_SCALE));
  os.SetWindowSize(window, kScreenWidth * units, kScreenHeight * units);
  os.SetWindowPosition(window, left, top);
}

// The first connection already tells the screen what it found, so something must listen.
void CheckConnectionListener() {
  if (CurrentConnectionListener() != nullptr) return;
  Log("Start-up: no connection listener is installed; the screen will not follow the receiver");
  assert(false && "install the connection listener before the first ConnectReceiver");
}

// The profile mapping sets the screen's widgets from the first build on, so they must be there.
void CheckProfileControls() {
  if (CurrentProfileControls() != nullptr) return;
  Log("Start-up: no profile controls are installed; the widgets will not show the profile");
  assert(false && "install the profile controls before the main screen is built");
}

// Everything between a successful engine start and its shutdown.
void RunInitiatedEngine(SettingsDownload& settings) {
  // The download ran while the splash played. A failed one leaves the settings empty: no update
  // prompt, no presets, the built-in support page.
  if (settings.Finish()) ParseSettings();

  MainWindow = engine->System_GetState(STATE_WINDOW);
  FitMainWindow();

  // Fonts: the small and the large bitmap font from the carried descriptions and images.
  // Skin: the skin sheet from the carried atlas, then its three frames.
  CreateCarriedArt();
  // Controls take their image sizes from the sheet's regions, so link it before any is built.
  if (Skin != nullptr) UiLinkSkin(Skin->regions, Skin->regionCount);
  // Main screen: build the panels and controls; without a receiver yet it ends in AppState 0.
  SetProfileControls(&screenControls);
  CheckProfileControls();
  BuildMainScreen();
  InstallDragBand(*engine);
  InstallScreenHandlers();
  InstallUpdateScreens();
  ReceiverConnected = 0;
  WheelFirmwareVersion = 0;
  RegisterDeviceNotifications(runOptions->deviceNotifications);
  SetConnectionListener(&screenListener);
  CheckConnectionListener();
  ConnectReceiver(nullptr);

  engine->System_Start();

  // Tear-down, in this order: stop a running firmware upgrade (it ends between two batches and
  // never signs a half-written image); disconnect the receiver; end a preset download and close
  // its dialog; destroy the four top-level panels; release and delete the skin sheet; delete the
  // small font, then the large one; free the preset array.
  StopFirmwareUpgrade();
  DisconnectReceiver();
  ClosePresetDialog();
  ReleaseMainScreen();
  SetProfileControls(nullptr);
  SetConnectionListener(nullptr);
  ReleaseCarriedArt();
  Settings.presets.clear();
}

}  // namespace

void FormatWindowTitle(char* out, int size) {
  std::snprintf(out, static_cast<std::size_t>(size), " Corsaro 270 Setup%s v%s", kMakerNotice,
                kAppVersionText);
}

void InstallScreenHandlers() {
  StateHandlers[APP_PRESET_DIALOG] = PresetDialogFrame;
  StateOverlays[APP_PRESET_DIALOG] = DrawPresetDialog;
}

void ResetSettings() {
  Settings = SettingsDocument();
  Settings.supportPage = kBuiltInSupportPage;
}

int RunCustomiser(const CustomiserOptions& options) {
  SetDialogs(options.dialogs);
  // A second start leaves the first run's receiver, log and window alone.
  if (!ClaimSingleRun(options.instanceName)) {
    SetDialogs(nullptr);
    return kExitOk;
  }
  // Before the window opens, so that SDL leaves these signals to us.
  QuitSignals signals;
  engine = Engine_Create(ENGINE_VERSION);
  if (engine == nullptr) {
    EndSingleRun();
    SetDialogs(nullptr);
    return kExitOk;
  }
  // From here on every part of the program logs into the engine's log file.
  runOptions = &options;
  SetShellEngine(engine);
  const std::string logFile = LogFilePath(options.logFile);
  engine->System_SetState(STATE_LOG_FILE, logFile.empty() ? nullptr : logFile.c_str());
  SetCurrentHidBackend(options.hidBackend);

  char title[kTitleSize];
  FormatWindowTitle(title, kTitleSize);
  ResetSettings();
  ConfigureEngine(title);
  engine->System_SetState(STATE_SKIP_UNCHANGED_FRAMES, !options.drawEveryFrame);
  engine->System_SetState(STATE_WINDOW_SCALE, options.windowScale);

  // The settings document downloads and the carried art decodes while the window opens and the
  // splash plays. Without a frameless window there is nothing to tear down but the engine itself.
  shellFrames = 0;
  SettingsDownload settings;
  settings.Start(options.settingsAddress);
  DecodeCarriedArtAhead();
  const bool initiated = engine->System_Initiate(false);
  if (initiated) RunInitiatedEngine(settings);
  ForgetCarriedArtAhead();

  engine->System_Shutdown();
  SetShellEngine(nullptr);
  engine->Release();
  engine = nullptr;
  SetDialogs(nullptr);
  SetCurrentHidBackend(nullptr);
  runOptions = nullptr;
  EndSingleRun();
  // A program that could not show its window did not do what it was started for.
  if (!initiated) return kExitNoWindow;
  return QuitSignal() != 0 ? kExitSignalBase + QuitSignal() : kExitOk;
}
