#pragma once
// The program's spine: creates and configures the engine, builds everything the screens need,
// runs the frame loop and tears everything down again in a fixed order.

#include "engine/engine.h"

class Dialogs;
class HidBackend;

// The engine's window: owner of message boxes, target of window moves.
extern WindowHandle MainWindow;

// Writes the window title (" Corsaro 270 Setup", the year-and-maker notice, " v1.3") into out,
// cut at size - 1 characters and always terminated.
void FormatWindowTitle(char* out, int size);

// Puts the preset dialog's per-frame handler and overlay into the slots of its AppState (start-up
// does this once the main screen, which installs its own, is built).
void InstallScreenHandlers();

// Empties the settings document and gives it the built-in support page, as before the download.
void ResetSettings();

// How a run of the customiser is set up. The defaults are the real program's; the demo puts a
// virtual receiver and scripted dialogs in their place and runs the same start-up.
struct CustomiserOptions {
  // The log file; a relative name is taken in the program's folder, or in the user's state
  // folder when the program runs installed. Null: no log.
  const char* logFile = "Corsaro270.log";
  // The name that keeps this program to one run per user; null: any number of runs.
  const char* instanceName = "corsaro270";
  // The settings document's address; null: the preset server's.
  const char* settingsAddress = nullptr;
  // Where receivers are found and opened; null: hidapi.
  HidBackend* hidBackend = nullptr;
  // What reports receivers coming and going; null: the udev monitor.
  DeviceNotificationSource* deviceNotifications = nullptr;
  // Message boxes and file choosers; null: the desktop ones.
  Dialogs* dialogs = nullptr;
  // Called at the start of every frame of the frame loop, before FrameFunc; null: nothing.
  void (*frameStep)() = nullptr;
  // Draws and presents every frame, also one that repeats the picture on the screen.
  bool drawEveryFrame = false;
  // Physical pixels per pixel, 1 to 3; 0: CORSARO_SCALE, else the desktop's scale.
  int windowScale = 0;
};

// Exit codes of the customiser.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNoWindow = 1;  // the window could not be opened
// Ended by signal N (SIGTERM, SIGINT or SIGHUP) through the exit path: this plus N, as a shell
// reports a program the signal ended.
inline constexpr int kExitSignalBase = 128;

// Runs the whole program: start-up, the frame loop, tear-down. Returns the exit code: kExitOk, also
// when a second start found the first running, kExitNoWindow, or kExitSignalBase plus the signal
// that ended the run.
int RunCustomiser(const CustomiserOptions& options = {});
