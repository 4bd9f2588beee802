#include "tools/cli/progress_display.h"

#include <cstring>

#include "tools/cli/terminal.h"

namespace {

constexpr int kBarWidth = 40;
// Moves back to the line's start; after the text, clears what a longer text left behind.
constexpr const char* kLineStart = "\r";
constexpr const char* kClearToEnd = "\033[K";

}  // namespace

ProgressDisplay::ProgressDisplay(std::FILE* out) : out_(out), terminal_(IsRedrawingTerminal(out)) {}

void ProgressDisplay::Show(int percent, const char* message) {
  if (message == nullptr) message = "";
  if (shown_ && percent == percent_ && std::strcmp(message, message_) == 0) return;
  shown_ = true;
  percent_ = percent;
  message_ = message;
  if (!terminal_) {
    std::fprintf(out_, "%3d%% %s\n", percent, message);
    std::fflush(out_);
    return;
  }
  const int filled = percent * kBarWidth / 100;
  char bar[kBarWidth + 1];
  for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '-';
  bar[kBarWidth] = '\0';
  std::fprintf(out_, "%s[%s] %3d%%  %s%s", kLineStart, bar, percent, message, kClearToEnd);
  std::fflush(out_);
}

void ProgressDisplay::Finish() {
  if (terminal_ && shown_) std::fputc('\n', out_);
}
