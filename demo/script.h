#pragma once
// Scripts of scripted runs: one command a line, read and checked wholly before the window opens
// and broken down into the steps that the runner carries out frame by frame.
//
// Commands: frames N; move X Y; down; up; click X Y; drag X1 Y1 X2 Y2; wheel N; key NAME;
// answer yes|no; file PATH|cancel; plug; unplug; firmware-version V; fault KIND [N];
// wait-state N [MAXFRAMES]; wait-progress P [MAXFRAMES]; screenshot NAME; dump-flash NAME; quit. A
// '#' at the start of a line or after a blank starts a comment; blank lines are skipped.

#include <cstdint>
#include <string>
#include <vector>

// What a step does. Steps that reach the program through the window or the receiver take one
// frame each, so that the program meets them one frame at a time as it would a user's; the others
// take none.
enum class StepKind {
  kWait,             // nothing happens for `count` frames
  kMove,             // the pointer goes to (x, y)
  kButtonDown,       // the left button, at the pointer
  kButtonUp,         //
  kWheel,            // `count` notches, positive away from the user
  kKeyDown,          // virtual key `key`
  kKeyUp,            //
  kAnswer,           // `yes` answers the next question box
  kFile,             // the next file chooser picks `text`, or is cancelled when it is empty
  kPlug,             // the virtual receiver is plugged in, with its device notice
  kUnplug,           // it is pulled out, with its device notice
  kFirmwareVersion,  // `version` is reported from the next plug on
  kFault,            // the receiver shows `fault` (`count` reports for remove-after)
  kWaitState,        // frames run until AppState is `state`, at most `count` of them
  kWaitProgress,     // frames run until the upgrade's percentage is at least `state`, as above
  kScreenshot,       // OUT/`text`.png: the next frame as presented
  kDumpFlash,        // OUT/`text`.bin: the receiver's flash
  kQuit,             // the program is ended through its exit path
};

enum class FaultKind { kNone, kNoReply, kWrongCode, kWrongMagic, kWrongCrc, kRemoveAfter };

struct ScriptStep {
  StepKind kind = StepKind::kWait;
  int line = 0;  // the script line it comes from
  int x = 0;
  int y = 0;
  int count = 0;
  int key = 0;
  int state = 0;
  bool yes = false;
  std::uint16_t version = 0;
  FaultKind fault = FaultKind::kNone;
  std::string text;
};

struct ScriptError {
  int line = 0;  // 0 when the script itself cannot be read
  std::string reason;
};

// Frames a wait-state or wait-progress runs at most when the script gives no limit.
inline constexpr int kDefaultWaitStateFrames = 900;

// Reads a whole script into steps. Relative file paths are taken in `folder`, the script's own.
// False, with the first faulty line and why, when a line is not a command as described above.
bool ParseScript(const std::string& text, const std::string& folder, std::vector<ScriptStep>* steps,
                 ScriptError* error);
// Reads the script file at `path`; a file that cannot be read is an error of line 0.
bool LoadScript(const std::string& path, std::vector<ScriptStep>* steps, ScriptError* error);
