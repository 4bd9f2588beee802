#pragma once
// Carries out a script frame by frame inside the program's own frame loop: input through the
// window's event queue, plug and unplug through the virtual receiver and its device notices,
// answers through the dialogs, pictures of the frames as presented, and a record of AppState.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "demo/injected_input.h"
#include "demo/recording_dialogs.h"
#include "demo/script.h"
#include "device/virtual_receiver.h"
#include "engine/engine.h"

class ScriptRunner {
 public:
  // What the script acts on and where its results go; nothing of it is owned.
  struct Targets {
    VirtualReceiver* receiver = nullptr;  // null: the system's receiver (--hidraw)
    RecordingDialogs* dialogs = nullptr;
    std::string outFolder;  // screenshots, flash dumps and states.txt
  };

  ScriptRunner(std::vector<ScriptStep> steps, Targets targets);
  ~ScriptRunner();
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

  // Starts OUT/states.txt, empty; false when it cannot be written.
  bool Open();

  // Runs at the start of every frame, before the frame function. Writes "FRAME<TAB>STATE" to
  // states.txt on the first frame and whenever AppState has changed since the last one, then
  // carries out steps until one needs frames to pass. Once the script has ended, quit or failed,
  // it ends the program through its exit path: Escape, and should the program not heed it,
  // closing the window.
  void Step(Engine& engine);

  // Frames begun so far.
  int frames() const { return frame_ + 1; }
  // The script ran to its end or to quit.
  bool finished() const { return finished_; }
  // The step that failed: its line and why; line 0 while none has.
  const ScriptError& error() const { return error_; }
  // The line the script had reached and not finished: the step still waiting for its frames,
  // else the first step not begun; 0 when every step was carried out.
  int unfinishedLine() const;

 private:
  enum class Outcome {
    kDone,   // go on with the next step once `frames` have passed
    kAgain,  // try the same step again next frame
    kFailed,
  };

  void RecordState();
  void RunSteps(Engine& engine);
  Outcome Carry(const ScriptStep& step, Engine& engine, int* frames);
  static bool NeedsVirtualReceiver(StepKind kind);
  Outcome WaitForState(const ScriptStep& step);
  Outcome WaitForProgress(const ScriptStep& step);
  Outcome TakeScreenshot(const ScriptStep& step, Engine& engine);
  Outcome DumpFlash(const ScriptStep& step);
  void Plug();
  void SetFault(const ScriptStep& step);
  Outcome Fail(int line, std::string reason);
  void EndProgram(Engine& engine);
  std::string OutPath(const std::string& name, const char* extension) const;

  std::vector<ScriptStep> steps_;
  Targets targets_;
  InputInjector input_;
  std::FILE* states_ = nullptr;
  int frame_ = -1;
  int lastState_ = 0;
  std::size_t next_ = 0;
  int resumeFrame_ = 0;
  int stepFrames_ = 0;  // frames the current step has been tried
  bool captureAsked_ = false;
  int loggedLine_ = 0;
  std::optional<std::uint16_t> nextPlugVersion_;
  VirtualReceiverFaults faults_;
  bool finished_ = false;
  bool ending_ = false;
  int endFrame_ = -1;  // the frame the ending began
  ScriptError error_;
};
