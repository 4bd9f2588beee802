#pragma once
// How the tool shows the upgrade's progress: on a terminal a bar redrawn in place, elsewhere (a
// pipe, a file) one plain line each time the percentage or the text changes.

#include <cstdio>

class ProgressDisplay {
 public:
  // Draws a bar when `out` is a terminal.
  explicit ProgressDisplay(std::FILE* out);

  // Shows `percent` (0..100) and `message` (null: none) if either changed since the last call.
  void Show(int percent, const char* message);
  // Ends the bar's line, so that what follows starts on a line of its own.
  void Finish();

 private:
  std::FILE* out_;
  bool terminal_;
  bool shown_ = false;
  int percent_ = -1;
  const char* message_ = nullptr;
};
