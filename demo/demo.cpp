#include "demo/demo.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/shell_engine.h"
#include "app/startup.h"
#include "demo/bundled_presets.h"
#include "demo/demo_options.h"
#include "demo/folder_owner.h"
#include "demo/plug_key.h"
#include "demo/receiver_notices.h"
#include "demo/recording_dialogs.h"
#include "demo/script_runner.h"
#include "device/profile_backups.h"
#include "device/receiver_lock.h"
#include "device/virtual_receiver.h"
#include "engine/platform/platform.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kLogName = "Corsaro270.log";
// Without an output folder the log sits beside the program's or in the same state folder, so it
// takes a name of its own: the demo may run beside the real program.
constexpr const char* kOwnLogName = "Corsaro270-demo.log";
// The demo runs beside the real program, once per user; scripted runs, any number at a time.
constexpr const char* kInstanceName = "corsaro270-demo";
constexpr const char* kMessagesName = "messages.txt";

// Everything a run of the demo sets up around the customiser.
struct Session {
  explicit Session(const std::string& flashFile)
      : receiver(flashFile.empty() ? kDemoReceiverPath : "virtual:" + flashFile) {}

  // Held from before the flash file is read until after it is written back, so that no
  // corsaro270-cli --virtual write in between is lost: it is refused instead.
  ReceiverLock flashLock;
  VirtualReceiver receiver;
  VirtualHidBackend backend;
  ReceiverNotices notices{receiver};
  RecordingDialogs dialogs;
  std::unique_ptr<ScriptRunner> runner;
  std::string logFile;
  std::string settingsAddress;
};

// The frame steps are plain functions; this is the run they act on.
Session* session = nullptr;

void ScriptedFrame() {
  session->runner->Step(*ShellEngine());
}

void InteractiveFrame() {
  HandlePlugKey(*ShellEngine(), session->receiver);
}

bool LockFlashFile(const DemoOptions& options, ReceiverLock& lock) {
  if (options.flashFile.empty()) return true;
  std::string why;
  if (lock.Acquire(ReceiverIdentity(options.flashFile), kReceiverLockWaitMs, why)) return true;
  std::fprintf(stderr, "corsaro270-demo: %s: %s\n", options.flashFile.c_str(), why.c_str());
  return false;
}

void HidrawFrame() {}

// Loads the flash file when it exists and applies the receiver options.
bool SetUpReceiver(const DemoOptions& options, VirtualReceiver& receiver) {
  // Its backups belong to the flash file, as those of corsaro270-cli --virtual do; a receiver
  // that is not kept belongs to nobody.
  if (!options.flashFile.empty()) {
    receiver.SetIdentity("virtual:" + ReceiverIdentity(options.flashFile));
  }
  std::error_code error;
  if (!options.flashFile.empty() && fs::exists(options.flashFile, error)) {
    std::string why;
    if (!receiver.LoadFile(options.flashFile, why)) {
      std::fprintf(stderr, "corsaro270-demo: %s\n", why.c_str());
      return false;
    }
  }
  if (options.firmwareVersionSet) receiver.SetFirmwareVersion(options.firmwareVersion);
  if (options.usbPace) receiver.SetTiming(VirtualTiming::kFullSpeed);
  if (options.noReceiver) {
    receiver.Unplug();
    // Pulled out before the program ran: nobody is told.
    receiver.DeliverDeviceChanges(nullptr);
  }
  return true;
}

std::string ProgramFolder() {
  return platform::Current().ProgramFolder();
}

std::string SettingsAddress(const DemoOptions& options) {
  if (!options.settingsAddress.empty()) return options.settingsAddress;
  std::string address = BundledSettingsAddress(ProgramFolder(), CORSARO_SOURCE_DIR);
  if (address.empty()) {
    std::fputs(
        "corsaro270-demo: the bundled presets were not found (see --help); the program runs "
        "without presets\n",
        stderr);
    address = FileAddress(ProgramFolder() + "presets/tarnwick270/settings.xml");
  }
  return address;
}

// The output folder, made when missing and refused unless it is the user's own (a link to it
// too), so that nobody else can have prepared names in it; made absolute (the engine takes
// relative names in the program's folder).
bool PrepareOutFolder(const std::string& folder, std::string* absolute) {
  std::error_code error;
  fs::create_directories(folder, error);
  const FolderOwner owner = OwnerOfFolder(folder);
  if (owner == FolderOwner::kNotFolder) {
    std::fprintf(stderr, "corsaro270-demo: cannot create the output folder %s\n", folder.c_str());
    return false;
  }
  if (owner == FolderOwner::kOthers) {
    std::fprintf(stderr,
                 "corsaro270-demo: the output folder %s belongs to another user; name a folder "
                 "of your own\n",
                 folder.c_str());
    return false;
  }
  *absolute = fs::absolute(folder, error).lexically_normal().string();
  return true;
}

// Puts the virtual receiver, the bundled presets and, for a scripted run, the runner and its
// dialogs in the customiser's options; the output folder takes the log.
bool PrepareRun(const DemoOptions& options, std::vector<ScriptStep> steps, Session& run,
                CustomiserOptions& customiser) {
  run.settingsAddress = SettingsAddress(options);
  customiser.settingsAddress = run.settingsAddress.c_str();
  // On the system's receivers the customiser keeps its own backend and device watch.
  if (!options.hidraw) {
    run.backend.Add(&run.receiver);
    customiser.hidBackend = &run.backend;
    customiser.deviceNotifications = &run.notices;
  }
  customiser.frameStep = options.hidraw ? HidrawFrame : InteractiveFrame;
  customiser.drawEveryFrame = options.drawEveryFrame;
  customiser.windowScale = options.windowScale;
  customiser.logFile = kOwnLogName;
  customiser.instanceName = options.scriptFile.empty() ? kInstanceName : nullptr;

  std::string out;
  if (!options.outFolder.empty()) {
    if (!PrepareOutFolder(options.outFolder, &out)) return false;
    run.logFile = (fs::path(out) / kLogName).string();
    customiser.logFile = run.logFile.c_str();
  }
  if (options.scriptFile.empty()) return true;
  run.runner = std::make_unique<ScriptRunner>(
      std::move(steps),
      ScriptRunner::Targets{options.hidraw ? nullptr : &run.receiver, &run.dialogs, out});
  if (!run.runner->Open() || !run.dialogs.Open((fs::path(out) / kMessagesName).string())) {
    std::fprintf(stderr, "corsaro270-demo: cannot write in the output folder %s\n", out.c_str());
    return false;
  }
  customiser.dialogs = &run.dialogs;
  customiser.frameStep = ScriptedFrame;
  return true;
}

// What a scripted run reports once the program has ended.
int ScriptOutcome(const ScriptRunner& runner) {
  if (runner.frames() == 0) {
    std::fputs("corsaro270-demo: the program did not start its frame loop (see its log)\n", stderr);
    return kDemoExitFailure;
  }
  const ScriptError& error = runner.error();
  if (error.line != 0) {
    std::fprintf(stderr, "%d: %s\n", error.line, error.reason.c_str());
    return kDemoExitScript;
  }
  if (!runner.finished()) {
    std::fprintf(stderr, "corsaro270-demo: the program ended after %d frames, at line %d\n",
                 runner.frames(), runner.unfinishedLine());
  }
  return kDemoExitOk;
}

int SaveFlash(const DemoOptions& options, const VirtualReceiver& receiver) {
  if (options.flashFile.empty()) return kDemoExitOk;
  std::string why;
  if (receiver.SaveFile(options.flashFile, why)) return kDemoExitOk;
  std::fprintf(stderr, "corsaro270-demo: %s\n", why.c_str());
  return kDemoExitFailure;
}

}  // namespace

int RunDemo(int argc, char** argv) {
  DemoOptions options;
  std::string why;
  if (!ParseDemoOptions(argc, argv, &options, &why)) {
    std::fprintf(stderr, "corsaro270-demo: %s\n\n", why.c_str());
    PrintDemoUsage(stderr);
    return kDemoExitUsage;
  }
  if (options.help) {
    PrintDemoUsage(stdout);
    return kDemoExitOk;
  }

  std::vector<ScriptStep> steps;
  ScriptError scriptError;
  if (!options.scriptFile.empty() && !LoadScript(options.scriptFile, &steps, &scriptError)) {
    std::fprintf(stderr, "%d: %s\n", scriptError.line, scriptError.reason.c_str());
    return kDemoExitScript;
  }

  Session run(options.flashFile);
  if (!LockFlashFile(options, run.flashLock)) return kDemoExitFailure;
  CustomiserOptions customiser;
  if (!SetUpReceiver(options, run.receiver) ||
      !PrepareRun(options, std::move(steps), run, customiser)) {
    return kDemoExitUsage;
  }
  // A virtual receiver's backups are kept apart, so that they never reach a real receiver.
  if (!options.hidraw) SetProfileBackupFolder(VirtualReceiverBackupFolder());
  session = &run;
  const int ended = RunCustomiser(customiser);
  session = nullptr;

  int status = run.runner != nullptr ? ScriptOutcome(*run.runner) : kDemoExitOk;
  if (ended == kExitNoWindow) status = kDemoExitFailure;
  // A quit signal ends the run as the window's close would, and the caller learns of it.
  if (ended >= kExitSignalBase) status = ended;
  const int saved = options.hidraw ? kDemoExitOk : SaveFlash(options, run.receiver);
  return status != kDemoExitOk ? status : saved;
}
