#include "demo/script.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "demo/injected_input.h"
#include "device/firmware_version.h"

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 600;
constexpr int kMaxFrames = 1000000;
constexpr int kMaxNotches = 1000;
constexpr int kMaxReports = 1000000;
constexpr int kLastAppState = 11;
constexpr int kLastPercent = 100;
constexpr int kClickHoldFrames = 2;
constexpr int kDragMoves = 8;
constexpr std::size_t kMaxNameLength = 100;

// One line of the script with its comment removed.
struct Line {
  int number = 0;
  std::vector<std::string> words;  // the command first
  std::string rest;                // everything after the command, without surrounding blanks
};

struct Parser {
  const std::string& folder;
  std::vector<ScriptStep>& steps;
  std::string reason;

  ScriptStep& Add(StepKind kind, const Line& line) {
    steps.emplace_back();
    steps.back().kind = kind;
    steps.back().line = line.number;
    return steps.back();
  }
  bool Fail(std::string why) {
    reason = std::move(why);
    return false;
  }
};

using Handler = bool (*)(const Line& line, Parser& parser);

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string Trim(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// A '#' at the start or after a blank begins a comment; one inside a word is part of it.
std::string WithoutComment(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '#' && (i == 0 || IsBlank(text[i - 1]))) return text.substr(0, i);
  }
  return text;
}

Line SplitLine(int number, const std::string& text) {
  Line line;
  line.number = number;
  std::istringstream words(text);
  for (std::string word; words >> word;) line.words.push_back(word);
  if (!line.words.empty()) {
    const std::string trimmed = Trim(text);
    line.rest = Trim(trimmed.substr(line.words[0].size()));
  }
  return line;
}

// A whole decimal number from min to max; nothing else on the word.
bool ReadNumber(const std::string& word, int min, int max, int* value) {
  if (word.empty() ||
      !(std::isdigit(static_cast<unsigned char>(word[0])) || word[0] == '-' || word[0] == '+')) {
    return false;
  }
  errno = 0;
  char* end = nullptr;
  const long number = std::strtol(word.c_str(), &end, 10);
  if (errno != 0 || end == word.c_str() || *end != '\0' || number < min || number > max) {
    return false;
  }
  *value = static_cast<int>(number);
  return true;
}

bool Number(const Line& line, std::size_t index, const char* what, int min, int max, int* value,
            Parser& parser) {
  if (ReadNumber(line.words[index], min, max, value)) return true;
  return parser.Fail(line.words[0] + ": " + what + " must be a whole number from " +
                     std::to_string(min) + " to " + std::to_string(max) + ", not \"" +
                     line.words[index] + "\"");
}

bool Arguments(const Line& line, std::size_t minimum, std::size_t maximum, const char* usage,
               Parser& parser) {
  const std::size_t count = line.words.size() - 1;
  if (count >= minimum && count <= maximum) return true;
  return parser.Fail(std::string("usage: ") + usage);
}

bool Point(const Line& line, std::size_t index, int* x, int* y, Parser& parser) {
  return Number(line, index, "X", 0, kWindowWidth - 1, x, parser) &&
         Number(line, index + 1, "Y", 0, kWindowHeight - 1, y, parser);
}

void AddMove(const Line& line, Parser& parser, int x, int y) {
  ScriptStep& step = parser.Add(StepKind::kMove, line);
  step.x = x;
  step.y = y;
}

void AddWait(const Line& line, Parser& parser, int frames) {
  if (frames > 0) parser.Add(StepKind::kWait, line).count = frames;
}

// Output names become files in OUT: plain names only, never a path.
bool OutputName(const Line& line, Parser& parser) {
  const std::string& name = line.words[1];
  bool plain = !name.empty() && name.size() <= kMaxNameLength && name[0] != '.';
  for (char c : name) {
    plain =
        plain && (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.');
  }
  if (plain) return true;
  return parser.Fail(line.words[0] + ": \"" + name +
                     "\" is not a plain file name (letters, digits, '-', '_' and '.')");
}

bool Frames(const Line& line, Parser& parser) {
  int frames = 0;
  if (!Arguments(line, 1, 1, "frames N", parser) ||
      !Number(line, 1, "N", 0, kMaxFrames, &frames, parser)) {
    return false;
  }
  AddWait(line, parser, frames);
  return true;
}

bool Move(const Line& line, Parser& parser) {
  int x = 0;
  int y = 0;
  if (!Arguments(line, 2, 2, "move X Y", parser) || !Point(line, 1, &x, &y, parser)) return false;
  AddMove(line, parser, x, y);
  return true;
}

bool Down(const Line& line, Parser& parser) {
  if (!Arguments(line, 0, 0, "down", parser)) return false;
  parser.Add(StepKind::kButtonDown, line);
  return true;
}

bool Up(const Line& line, Parser& parser) {
  if (!Arguments(line, 0, 0, "up", parser)) return false;
  parser.Add(StepKind::kButtonUp, line);
  return true;
}

bool Click(const Line& line, Parser& parser) {
  int x = 0;
  int y = 0;
  if (!Arguments(line, 2, 2, "click X Y", parser) || !Point(line, 1, &x, &y, parser)) {
    return false;
  }
  AddMove(line, parser, x, y);
  parser.Add(StepKind::kButtonDown, line);
  AddWait(line, parser, kClickHoldFrames);
  parser.Add(StepKind::kButtonUp, line);
  AddWait(line, parser, kClickHoldFrames);
  return true;
}

bool Drag(const Line& line, Parser& parser) {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  if (!Arguments(line, 4, 4, "drag X1 Y1 X2 Y2", parser) || !Point(line, 1, &x1, &y1, parser) ||
      !Point(line, 3, &x2, &y2, parser)) {
    return false;
  }
  AddMove(line, parser, x1, y1);
  parser.Add(StepKind::kButtonDown, line);
  AddWait(line, parser, kClickHoldFrames);
  for (int i = 1; i <= kDragMoves; ++i) {
    AddMove(line, parser, x1 + (x2 - x1) * i / kDragMoves, y1 + (y2 - y1) * i / kDragMoves);
  }
  parser.Add(StepKind::kButtonUp, line);
  AddWait(line, parser, kClickHoldFrames);
  return true;
}

bool Wheel(const Line& line, Parser& parser) {
  int notches = 0;
  if (!Arguments(line, 1, 1, "wheel N", parser) ||
      !Number(line, 1, "N", -kMaxNotches, kMaxNotches, &notches, parser)) {
    return false;
  }
  if (notches == 0) return parser.Fail("wheel: N must not be 0");
  parser.Add(StepKind::kWheel, line).count = notches;
  return true;
}

bool Key(const Line& line, Parser& parser) {
  if (line.rest.empty()) return parser.Fail("usage: key NAME");
  const int key = VirtualKeyNamed(line.rest);
  if (key == 0) return parser.Fail("key: no key is named \"" + line.rest + "\"");
  parser.Add(StepKind::kKeyDown, line).key = key;
  parser.Add(StepKind::kKeyUp, line).key = key;
  return true;
}

bool Answer(const Line& line, Parser& parser) {
  if (!Arguments(line, 1, 1, "answer yes|no", parser)) return false;
  const std::string& word = line.words[1];
  if (word != "yes" && word != "no") return parser.Fail("usage: answer yes|no");
  parser.Add(StepKind::kAnswer, line).yes = word == "yes";
  return true;
}

// A save chooser may name a new file, so only the folder must exist here; an open chooser
// checks the file itself when it is shown.
bool File(const Line& line, Parser& parser) {
  if (line.rest.empty()) return parser.Fail("usage: file PATH|cancel");
  if (line.rest == "cancel") {
    parser.Add(StepKind::kFile, line);
    return true;
  }
  namespace fs = std::filesystem;
  fs::path path(line.rest);
  if (path.is_relative()) path = fs::path(parser.folder) / path;
  path = path.lexically_normal();
  std::error_code error;
  if (!path.has_filename() || !fs::is_directory(path.parent_path(), error)) {
    return parser.Fail("file: the folder of \"" + path.string() + "\" does not exist");
  }
  parser.Add(StepKind::kFile, line).text = path.string();
  return true;
}

bool Plug(const Line& line, Parser& parser) {
  if (!Arguments(line, 0, 0, "plug", parser)) return false;
  parser.Add(StepKind::kPlug, line);
  return true;
}

bool Unplug(const Line& line, Parser& parser) {
  if (!Arguments(line, 0, 0, "unplug", parser)) return false;
  parser.Add(StepKind::kUnplug, line);
  return true;
}

bool FirmwareVersion(const Line& line, Parser& parser) {
  std::uint16_t version = 0;
  if (!Arguments(line, 1, 1, "firmware-version V", parser)) return false;
  if (!ParseFirmwareVersion(line.words[1].c_str(), version)) {
    return parser.Fail("firmware-version: \"" + line.words[1] +
                       "\" is not a version such as 1.96 or 0x0196");
  }
  parser.Add(StepKind::kFirmwareVersion, line).version = version;
  return true;
}

bool Fault(const Line& line, Parser& parser) {
  struct Kind {
    const char* name;
    FaultKind kind;
  };
  constexpr Kind kKinds[] = {
      {"none", FaultKind::kNone},
      {"no-reply", FaultKind::kNoReply},
      {"wrong-code", FaultKind::kWrongCode},
      {"wrong-magic", FaultKind::kWrongMagic},
      {"wrong-crc", FaultKind::kWrongCrc},
      {"remove-after", FaultKind::kRemoveAfter},
  };
  constexpr const char* kUsage =
      "fault none|no-reply|wrong-code|wrong-magic|wrong-crc|remove-after N";
  if (!Arguments(line, 1, 2, kUsage, parser)) return false;
  for (const Kind& kind : kKinds) {
    if (line.words[1] != kind.name) continue;
    const bool counted = kind.kind == FaultKind::kRemoveAfter;
    if (line.words.size() != (counted ? 3u : 2u))
      return parser.Fail(std::string("usage: ") + kUsage);
    ScriptStep& step = parser.Add(StepKind::kFault, line);
    step.fault = kind.kind;
    return !counted || Number(line, 2, "N", 0, kMaxReports, &step.count, parser);
  }
  return parser.Fail("fault: unknown kind \"" + line.words[1] + "\"");
}

bool WaitState(const Line& line, Parser& parser) {
  int state = 0;
  int frames = kDefaultWaitStateFrames;
  if (!Arguments(line, 1, 2, "wait-state N [MAXFRAMES]", parser) ||
      !Number(line, 1, "N", 0, kLastAppState, &state, parser) ||
      (line.words.size() == 3 && !Number(line, 2, "MAXFRAMES", 1, kMaxFrames, &frames, parser))) {
    return false;
  }
  ScriptStep& step = parser.Add(StepKind::kWaitState, line);
  step.state = state;
  step.count = frames;
  return true;
}

bool WaitProgress(const Line& line, Parser& parser) {
  int percent = 0;
  int frames = kDefaultWaitStateFrames;
  if (!Arguments(line, 1, 2, "wait-progress P [MAXFRAMES]", parser) ||
      !Number(line, 1, "P", 0, kLastPercent, &percent, parser) ||
      (line.words.size() == 3 && !Number(line, 2, "MAXFRAMES", 1, kMaxFrames, &frames, parser))) {
    return false;
  }
  ScriptStep& step = parser.Add(StepKind::kWaitProgress, line);
  step.state = percent;
  step.count = frames;
  return true;
}

bool Screenshot(const Line& line, Parser& parser) {
  if (!Arguments(line, 1, 1, "screenshot NAME", parser) || !OutputName(line, parser)) return false;
  parser.Add(StepKind::kScreenshot, line).text = line.words[1];
  return true;
}

bool DumpFlash(const Line& line, Parser& parser) {
  if (!Arguments(line, 1, 1, "dump-flash NAME", parser) || !OutputName(line, parser)) return false;
  parser.Add(StepKind::kDumpFlash, line).text = line.words[1];
  return true;
}

bool Quit(const Line& line, Parser& parser) {
  if (!Arguments(line, 0, 0, "quit", parser)) return false;
  parser.Add(StepKind::kQuit, line);
  return true;
}

struct Command {
  const char* name;
  Handler handler;
};

constexpr Command kCommands[] = {
    {"frames", Frames},
    {"move", Move},
    {"down", Down},
    {"up", Up},
    {"click", Click},
    {"drag", Drag},
    {"wheel", Wheel},
    {"key", Key},
    {"answer", Answer},
    {"file", File},
    {"plug", Plug},
    {"unplug", Unplug},
    {"firmware-version", FirmwareVersion},
    {"fault", Fault},
    {"wait-state", WaitState},
    {"wait-progress", WaitProgress},
    {"screenshot", Screenshot},
    {"dump-flash", DumpFlash},
    {"quit", Quit},
};

Handler FindHandler(const std::string& name) {
  for (const Command& command : kCommands) {
    if (name == command.name) return command.handler;
  }
  return nullptr;
}

}  // namespace

bool ParseScript(const std::string& text, const std::string& folder, std::vector<ScriptStep>* steps,
                 ScriptError* error) {
  std::vector<ScriptStep> parsed;
  Parser parser{folder, parsed, {}};
  std::istringstream lines(text);
  int number = 0;
  for (std::string raw; std::getline(lines, raw);) {
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    const Line line = SplitLine(number, WithoutComment(raw));
    if (line.words.empty()) continue;
    const Handler handler = FindHandler(line.words[0]);
    if (handler == nullptr) {
      *error = {number, "unknown command \"" + line.words[0] + "\""};
      return false;
    }
    if (!handler(line, parser)) {
      *error = {number, parser.reason};
      return false;
    }
  }
  *steps = std::move(parsed);
  return true;
}

bool LoadScript(const std::string& path, std::vector<ScriptStep>* steps, ScriptError* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *error = {0, "cannot read the script " + path};
    return false;
  }
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::string folder = std::filesystem::absolute(path).parent_path().string();
  return ParseScript(text, folder, steps, error);
}
