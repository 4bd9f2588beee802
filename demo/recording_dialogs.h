#pragma once
// The dialogs of a scripted run: question boxes and file choosers answer from the script, and
// every message or question box is written to messages.txt as it is shown.

#include <cstdio>
#include <deque>
#include <string>

#include "app/dialogs.h"

// One line of messages.txt, without its line end: "info", "error" or "question", a tab, the
// caption, a tab, the text with line feeds, carriage returns, tabs and backslashes written as
// \n, \r, \t and \\.
std::string MessageLine(MessageIcon icon, const char* caption, const char* text);

class RecordingDialogs final : public Dialogs {
 public:
  // A file the script named for the next chooser; an empty path cancels it.
  struct QueuedFile {
    std::string path;
    int line = 0;  // the script line that named it
  };

  RecordingDialogs() = default;
  ~RecordingDialogs() override;
  RecordingDialogs(const RecordingDialogs&) = delete;
  RecordingDialogs& operator=(const RecordingDialogs&) = delete;

  // Starts messages.txt at `path`, empty; false when it cannot be written.
  bool Open(const std::string& path);

  // The next question box answers Yes (true) or No.
  void QueueAnswer(bool yes) { answers_.push_back(yes); }
  // The next file chooser picks this file, or is cancelled.
  void QueueFile(QueuedFile file) { files_.push_back(std::move(file)); }

  // Set when an open chooser was handed a file that does not exist: a script error of `line`.
  int failedLine() const { return failedLine_; }
  const std::string& failure() const { return failure_; }

  // Questions without a queued answer are answered No, and the log says so.
  MessageAnswer ShowMessage(WindowHandle owner, MessageIcon icon, const char* caption,
                            const char* text) override;
  // Recorded and answered as any question.
  MessageAnswer ShowQuestionDefaultNo(WindowHandle owner, const char* caption,
                                      const char* text) override;
  bool ChooseOpenFile(std::string* path) override;
  // Ends the chosen name in ".cs270" as the desktop chooser does.
  bool ChooseSaveFile(std::string* path) override;

 private:
  bool NextFile(std::string* path, int* line);

  std::FILE* messages_ = nullptr;
  std::deque<bool> answers_;
  std::deque<QueuedFile> files_;
  int failedLine_ = 0;
  std::string failure_;
};
