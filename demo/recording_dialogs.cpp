#include "demo/recording_dialogs.h"

#include <filesystem>

#include "app/shell_engine.h"
#include "common/log.h"
#include "engine/own_file.h"

namespace {

const char* IconWord(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return "info";
    case MessageIcon::kQuestion:
      return "question";
    case MessageIcon::kError:
      return "error";
  }
  return "info";
}

void AppendEscaped(std::string& line, const char* text) {
  for (const char* c = text; c != nullptr && *c != '\0'; ++c) {
    switch (*c) {
      case '\n':
        line += "\\n";
        break;
      case '\r':
        line += "\\r";
        break;
      case '\t':
        line += "\\t";
        break;
      case '\\':
        line += "\\\\";
        break;
      default:
        line += *c;
    }
  }
}

}  // namespace

std::string MessageLine(MessageIcon icon, const char* caption, const char* text) {
  std::string line = IconWord(icon);
  line += '\t';
  AppendEscaped(line, caption);
  line += '\t';
  AppendEscaped(line, text);
  return line;
}

RecordingDialogs::~RecordingDialogs() {
  if (messages_ != nullptr) std::fclose(messages_);
}

bool RecordingDialogs::Open(const std::string& path) {
  if (messages_ != nullptr) std::fclose(messages_);
  messages_ = OpenOwnFileForWriting(path.c_str(), false);
  return messages_ != nullptr;
}

MessageAnswer RecordingDialogs::ShowMessage(WindowHandle /*owner*/, MessageIcon icon,
                                            const char* caption, const char* text) {
  if (messages_ != nullptr) {
    const std::string line = MessageLine(icon, caption, text) + '\n';
    std::fputs(line.c_str(), messages_);
    // Each box is on disk before the program goes on, whatever happens next.
    std::fflush(messages_);
  }
  if (icon != MessageIcon::kQuestion) return MessageAnswer::kOk;
  if (answers_.empty()) {
    Log("script: no answer queued for a question box; it is answered No");
    return MessageAnswer::kNo;
  }
  const bool yes = answers_.front();
  answers_.pop_front();
  return yes ? MessageAnswer::kYes : MessageAnswer::kNo;
}

MessageAnswer RecordingDialogs::ShowQuestionDefaultNo(WindowHandle owner, const char* caption,
                                                      const char* text) {
  return ShowMessage(owner, MessageIcon::kQuestion, caption, text);
}

bool RecordingDialogs::ChooseOpenFile(std::string* path) {
  int line = 0;
  if (!NextFile(path, &line)) return false;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(*path, error);
  if (std::filesystem::is_regular_file(status)) return true;
  // A real open chooser offers only files that exist.
  if (failedLine_ == 0) {
    failedLine_ = line;
    const char* what = std::filesystem::exists(status) ? "is not a regular file" : "does not exist";
    failure_ = "file: \"" + *path + "\" " + what + ", and an open chooser needs a file";
  }
  return false;
}

bool RecordingDialogs::ChooseSaveFile(std::string* path) {
  int line = 0;
  if (!NextFile(path, &line)) return false;
  *path = WithProfileExtension(*path);
  return true;
}

bool RecordingDialogs::NextFile(std::string* path, int* line) {
  if (files_.empty()) {
    Log("script: no file queued for a file chooser; it is cancelled");
    return false;
  }
  QueuedFile file = std::move(files_.front());
  files_.pop_front();
  *line = file.line;
  if (file.path.empty() || path == nullptr) return false;
  *path = std::move(file.path);
  return true;
}
