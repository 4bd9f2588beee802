#include "app/scripted_dialogs.h"

MessageAnswer ScriptedDialogs::ShowMessage(WindowHandle /*owner*/, MessageIcon icon,
                                           const char* caption, const char* text) {
  shown_.push_back({icon, caption != nullptr ? caption : "", text != nullptr ? text : ""});
  if (icon != MessageIcon::kQuestion) return MessageAnswer::kOk;
  if (answers_.empty()) return MessageAnswer::kNo;
  MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

MessageAnswer ScriptedDialogs::ShowQuestionDefaultNo(WindowHandle owner, const char* caption,
                                                     const char* text) {
  const MessageAnswer answer = ShowMessage(owner, MessageIcon::kQuestion, caption, text);
  shown_.back().defaultNo = true;
  return answer;
}

bool ScriptedDialogs::ChooseOpenFile(std::string* path) {
  return NextFile(path);
}

bool ScriptedDialogs::ChooseSaveFile(std::string* path) {
  if (!NextFile(path)) return false;
  *path = WithProfileExtension(*path);
  return true;
}

bool ScriptedDialogs::NextFile(std::string* path) {
  ++fileChoosersShown_;
  if (files_.empty()) return false;
  std::optional<std::string> file = std::move(files_.front());
  files_.pop_front();
  if (!file.has_value() || path == nullptr) return false;
  *path = *file;
  return true;
}
