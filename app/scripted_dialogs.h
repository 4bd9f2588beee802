#pragma once
// Dialogs that answer from a script and record what was shown, for tests and scripted runs.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs.h"

class ScriptedDialogs final : public Dialogs {
 public:
  struct ShownMessage {
    MessageIcon icon;
    std::string caption;
    std::string text;
    bool defaultNo = false;  // a question whose default button is No
  };

  // The next question is answered with `answer`; without a scripted answer questions get No.
  void AnswerNextQuestion(MessageAnswer answer) { answers_.push_back(answer); }
  // The next file chooser picks `path`; std::nullopt cancels it. Without one, choosers cancel.
  void AnswerNextFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }

  const std::vector<ShownMessage>& shown() const { return shown_; }
  int fileChoosersShown() const { return fileChoosersShown_; }

  MessageAnswer ShowMessage(WindowHandle owner, MessageIcon icon, const char* caption,
                            const char* text) override;
  MessageAnswer ShowQuestionDefaultNo(WindowHandle owner, const char* caption,
                                      const char* text) override;
  bool ChooseOpenFile(std::string* path) override;
  bool ChooseSaveFile(std::string* path) override;

 private:
  bool NextFile(std::string* path);

  std::deque<MessageAnswer> answers_;
  std::deque<std::optional<std::string>> files_;
  std::vector<ShownMessage> shown_;
  int fileChoosersShown_ = 0;
};
