#include "demo/script_runner.h"

#include <filesystem>

#include "app/shell_engine.h"
#include "common/app_state.h"
#include "common/log.h"
#include "device/progress.h"
#include "engine/display_scale.h"
#include "engine/frame_capture.h"
#include "engine/own_file.h"

namespace {

// Frames a screenshot may wait for its frame to be presented.
constexpr int kScreenshotFrames = 60;
// Frames the program has to heed Escape before its window is closed instead (it ignores Escape
// while a firmware upgrade writes the receiver).
constexpr int kEscapeGraceFrames = 120;

}  // namespace

ScriptRunner::ScriptRunner(std::vector<ScriptStep> steps, Targets targets)
    : steps_(std::move(steps)), targets_(std::move(targets)) {}

ScriptRunner::~ScriptRunner() {
  if (states_ != nullptr) std::fclose(states_);
}

bool ScriptRunner::Open() {
  if (states_ != nullptr) std::fclose(states_);
  states_ = OpenOwnFileForWriting(OutPath("states", ".txt").c_str(), false);
  return states_ != nullptr;
}

int ScriptRunner::unfinishedLine() const {
  if (next_ > 0 && resumeFrame_ > frame_ + 1) return steps_[next_ - 1].line;
  return next_ < steps_.size() ? steps_[next_].line : 0;
}

void ScriptRunner::Step(Engine& engine) {
  ++frame_;
  RecordState();
  if (!ending_) RunSteps(engine);
  if (ending_) EndProgram(engine);
}

void ScriptRunner::RecordState() {
  if (frame_ > 0 && AppState == lastState_) return;
  lastState_ = AppState;
  if (states_ == nullptr) return;
  std::fprintf(states_, "%d\t%d\n", frame_, static_cast<int>(AppState));
  std::fflush(states_);
}

void ScriptRunner::RunSteps(Engine& engine) {
  // An open chooser that was handed a missing file stops the script at the file's line.
  if (targets_.dialogs != nullptr && targets_.dialogs->failedLine() != 0) {
    Fail(targets_.dialogs->failedLine(), targets_.dialogs->failure());
    return;
  }
  while (!ending_ && frame_ >= resumeFrame_) {
    if (next_ >= steps_.size()) {
      Log("script: ran to its end at frame %d", frame_);
      finished_ = true;
      ending_ = true;
      return;
    }
    const ScriptStep& step = steps_[next_];
    if (step.line != loggedLine_) {
      Log("script: frame %d: line %d", frame_, step.line);
      loggedLine_ = step.line;
    }
    int frames = 0;
    const Outcome outcome = Carry(step, engine, &frames);
    if (outcome == Outcome::kFailed) return;
    if (outcome == Outcome::kAgain) {
      ++stepFrames_;
      resumeFrame_ = frame_ + 1;
      return;
    }
    ++next_;
    stepFrames_ = 0;
    resumeFrame_ = frame_ + frames;
  }
}

ScriptRunner::Outcome ScriptRunner::Carry(const ScriptStep& step, Engine& engine, int* frames) {
  if (targets_.receiver == nullptr && NeedsVirtualReceiver(step.kind)) {
    return Fail(step.line,
                "this command needs the virtual receiver; with --hidraw the system's "
                "receiver is used (corsaro270-emu plugs and unplugs it)");
  }
  const WindowHandle window = engine.System_GetState(STATE_WINDOW);
  input_.SetWindowUnits(WindowUnits(window, engine.System_GetState(STATE_WINDOW_SCALE)));
  *frames = 1;
  switch (step.kind) {
    case StepKind::kWait:
      *frames = step.count;
      return Outcome::kDone;
    case StepKind::kMove:
      input_.MovePointer(window, step.x, step.y);
      return Outcome::kDone;
    case StepKind::kButtonDown:
    case StepKind::kButtonUp:
      input_.PressButton(window, step.kind == StepKind::kButtonDown);
      return Outcome::kDone;
    case StepKind::kWheel:
      input_.TurnWheel(window, step.count);
      return Outcome::kDone;
    case StepKind::kKeyDown:
    case StepKind::kKeyUp:
      if (!input_.PressKey(window, step.key, step.kind == StepKind::kKeyDown)) {
        return Fail(step.line, "key: no key gives virtual key " + std::to_string(step.key));
      }
      return Outcome::kDone;
    case StepKind::kAnswer:
      if (targets_.dialogs != nullptr) targets_.dialogs->QueueAnswer(step.yes);
      *frames = 0;
      return Outcome::kDone;
    case StepKind::kFile:
      if (targets_.dialogs != nullptr) targets_.dialogs->QueueFile({step.text, step.line});
      *frames = 0;
      return Outcome::kDone;
    case StepKind::kPlug:
      Plug();
      return Outcome::kDone;
    case StepKind::kUnplug:
      if (!targets_.receiver->Plugged()) Log("script: unplug: the receiver is not plugged in");
      targets_.receiver->Unplug();
      return Outcome::kDone;
    case StepKind::kFirmwareVersion:
      nextPlugVersion_ = step.version;
      *frames = 0;
      return Outcome::kDone;
    case StepKind::kFault:
      SetFault(step);
      *frames = 0;
      return Outcome::kDone;
    case StepKind::kWaitState:
      *frames = 0;
      return WaitForState(step);
    case StepKind::kWaitProgress:
      *frames = 0;
      return WaitForProgress(step);
    case StepKind::kScreenshot:
      *frames = 0;
      return TakeScreenshot(step, engine);
    case StepKind::kDumpFlash:
      *frames = 0;
      return DumpFlash(step);
    case StepKind::kQuit:
      Log("script: quit at frame %d", frame_);
      finished_ = true;
      ending_ = true;  // nothing after it runs
      *frames = 0;
      return Outcome::kDone;
  }
  return Outcome::kDone;
}

bool ScriptRunner::NeedsVirtualReceiver(StepKind kind) {
  return kind == StepKind::kPlug || kind == StepKind::kUnplug ||
         kind == StepKind::kFirmwareVersion || kind == StepKind::kFault ||
         kind == StepKind::kDumpFlash;
}

ScriptRunner::Outcome ScriptRunner::WaitForState(const ScriptStep& step) {
  if (AppState == step.state) return Outcome::kDone;
  if (stepFrames_ < step.count) return Outcome::kAgain;
  return Fail(step.line, "wait-state: AppState was still " + std::to_string(AppState) + ", not " +
                             std::to_string(step.state) + ", after " + std::to_string(step.count) +
                             " frames");
}

ScriptRunner::Outcome ScriptRunner::WaitForProgress(const ScriptStep& step) {
  if (ProgressPercent >= step.state) return Outcome::kDone;
  if (stepFrames_ < step.count) return Outcome::kAgain;
  return Fail(step.line, "wait-progress: the upgrade was still at " +
                             std::to_string(ProgressPercent.load()) + "%, not " +
                             std::to_string(step.state) + "%, after " + std::to_string(step.count) +
                             " frames");
}

// The picture is taken when the frame that this one begins is presented; the step ends on the
// frame after, once it is written.
ScriptRunner::Outcome ScriptRunner::TakeScreenshot(const ScriptStep& step, Engine& engine) {
  const std::string path = OutPath(step.text, ".png");
  if (!captureAsked_) {
    captureAsked_ = CaptureNextFrame(&engine, path.c_str());
    if (!captureAsked_) return Fail(step.line, "screenshot: there is no engine to take it");
    return Outcome::kAgain;
  }
  const FrameCaptureStatus status = CaptureStatus(&engine);
  if (status == FrameCaptureStatus::kPending && stepFrames_ < kScreenshotFrames) {
    return Outcome::kAgain;
  }
  captureAsked_ = false;
  if (status == FrameCaptureStatus::kSaved) return Outcome::kDone;
  if (status == FrameCaptureStatus::kPending) {
    CaptureNextFrame(&engine, nullptr);
    return Fail(step.line, "screenshot: no frame was presented to take it from");
  }
  return Fail(step.line, "screenshot: cannot write " + path);
}

ScriptRunner::Outcome ScriptRunner::DumpFlash(const ScriptStep& step) {
  std::vector<std::uint8_t> flash(VirtualReceiver::kFlashSize);
  targets_.receiver->ReadFlash(0, flash.data(), VirtualReceiver::kFlashSize);
  const std::string path = OutPath(step.text, ".bin");
  std::FILE* file = OpenOwnFileForWriting(path.c_str(), false);
  bool written =
      file != nullptr && std::fwrite(flash.data(), 1, flash.size(), file) == flash.size();
  if (file != nullptr) written = std::fclose(file) == 0 && written;
  if (!written) return Fail(step.line, "dump-flash: cannot write " + path);
  return Outcome::kDone;
}

void ScriptRunner::Plug() {
  VirtualReceiver& receiver = *targets_.receiver;
  if (receiver.Plugged()) {
    Log("script: plug: the receiver is already plugged in");
    return;
  }
  if (nextPlugVersion_.has_value()) receiver.SetFirmwareVersion(*nextPlugVersion_);
  nextPlugVersion_.reset();
  receiver.Plug();
}

void ScriptRunner::SetFault(const ScriptStep& step) {
  switch (step.fault) {
    case FaultKind::kNone:
      faults_ = {};
      break;
    case FaultKind::kNoReply:
      faults_.noReply = true;
      break;
    case FaultKind::kWrongCode:
      faults_.wrongCode = true;
      break;
    case FaultKind::kWrongMagic:
      faults_.wrongMagic = true;
      break;
    case FaultKind::kWrongCrc:
      faults_.wrongCrc = true;
      break;
    case FaultKind::kRemoveAfter:
      // Counted from now, not from the receiver's first report.
      faults_.removeAfterReports = targets_.receiver->RequestCount() + step.count;
      break;
  }
  targets_.receiver->SetFaults(faults_);
}

ScriptRunner::Outcome ScriptRunner::Fail(int line, std::string reason) {
  Log("script: line %d: %s", line, reason.c_str());
  error_ = {line, std::move(reason)};
  ending_ = true;
  return Outcome::kFailed;
}

// Escape goes down on one frame and up on the next; the frame function sees it on the frame
// after it went down.
void ScriptRunner::EndProgram(Engine& engine) {
  if (endFrame_ < 0) endFrame_ = frame_;
  const int since = frame_ - endFrame_;
  const WindowHandle window = engine.System_GetState(STATE_WINDOW);
  if (since == 0 || since == 1) input_.PressKey(window, VK_ESCAPE, since == 0);
  if (since == kEscapeGraceFrames) {
    Log("script: the program did not end on Escape; its window is closed");
    input_.AskToQuit(window);
  }
}

std::string ScriptRunner::OutPath(const std::string& name, const char* extension) const {
  return (std::filesystem::path(targets_.outFolder) / (name + extension)).string();
}
