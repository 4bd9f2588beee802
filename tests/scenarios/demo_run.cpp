#include "tests/scenarios/demo_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

constexpr auto kRunLimit = std::chrono::seconds(60);
constexpr auto kPollInterval = std::chrono::milliseconds(20);
constexpr char kAsanOptions[] = "ASAN_OPTIONS=";
constexpr char kNoLeakCheck[] = "detect_leaks=0";

// This environment for the demo, without the leak check of sanitized builds: Mesa's small leaks
// are only named, and so suppressed, while its libraries stay loaded, which the test programs see
// to (tests/support/pin_gl_driver.cpp) and the demo does not. The demo's own code is leak-checked
// in process by tests/demo.
std::vector<std::string> DemoEnvironment() {
  std::vector<std::string> variables;
  bool asan = false;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    std::string text = *variable;
    if (text.rfind(kAsanOptions, 0) == 0) {
      text += std::string(":") + kNoLeakCheck;
      asan = true;
    }
    variables.push_back(std::move(text));
  }
  if (!asan) variables.push_back(std::string(kAsanOptions) + kNoLeakCheck);
  return variables;
}

}  // namespace

void DemoRun::SetUp() {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  std::string folder =
      (std::filesystem::temp_directory_path() / "corsaro-scenario-XXXXXX").string();
  ASSERT_NE(mkdtemp(folder.data()), nullptr);
  folder_ = folder;
}

void DemoRun::TearDown() {
  if (HasFailure()) {
    std::printf("The run's files are kept in %s\n", folder_.c_str());
    return;
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

int DemoRun::Run(const std::string& script, const std::vector<std::string>& options) {
  WriteFile(Path("script.txt"), script);
  std::vector<std::string> arguments = options;
  arguments.insert(arguments.end(), {"--script", Path("script.txt"), "--out", Out()});
  return RunWith(arguments);
}

int DemoRun::RunWith(const std::vector<std::string>& arguments) {
  const pid_t demo = Spawn(arguments);
  return demo == 0 ? -1 : Wait(demo, [] {});
}

int DemoRun::RunAndSignal(const std::string& script, const std::vector<std::string>& options,
                          const std::string& ready, int signal, std::string* maps) {
  WriteFile(Path("script.txt"), script);
  std::vector<std::string> arguments = options;
  arguments.insert(arguments.end(), {"--script", Path("script.txt"), "--out", Out()});
  const pid_t demo = Spawn(arguments);
  if (demo == 0) return -1;
  bool sent = false;
  const int status = Wait(demo, [&] {
    std::error_code ignored;
    if (sent || !std::filesystem::exists(Out() + "/" + ready, ignored)) return;
    if (maps != nullptr) *maps = ReadFile("/proc/" + std::to_string(demo) + "/maps");
    kill(demo, signal);
    sent = true;
  });
  if (!sent) {
    ADD_FAILURE() << "the demo ended before " << ready << " appeared";
    return -1;
  }
  return status;
}

pid_t DemoRun::Spawn(const std::vector<std::string>& arguments) {
  std::vector<std::string> words = {CORSARO_DEMO_PROGRAM};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t streams;
  posix_spawn_file_actions_init(&streams);
  posix_spawn_file_actions_addopen(&streams, STDOUT_FILENO, Path("stdout.txt").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&streams, STDERR_FILENO, Path("stderr.txt").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> variables = DemoEnvironment();
  std::vector<char*> environment;
  for (std::string& variable : variables) environment.push_back(variable.data());
  environment.push_back(nullptr);
  pid_t demo = 0;
  const int spawned =
      posix_spawn(&demo, argv[0], &streams, nullptr, argv.data(), environment.data());
  posix_spawn_file_actions_destroy(&streams);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << argv[0];
    return 0;
  }
  return demo;
}

int DemoRun::Wait(pid_t demo, const std::function<void()>& poll) {
  const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
  int status = 0;
  while (waitpid(demo, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(demo, SIGKILL);
      waitpid(demo, &status, 0);
      ADD_FAILURE() << "the demo did not end within a minute";
      return -1;
    }
    poll();
    std::this_thread::sleep_for(kPollInterval);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string DemoRun::Stderr() const {
  return ReadFile(Path("stderr.txt"));
}

std::string DemoRun::Stdout() const {
  return ReadFile(Path("stdout.txt"));
}

ImageArgb DemoRun::Screenshot(const std::string& name) const {
  const std::string bytes = ReadFile(Out() + "/" + name + ".png");
  ImageArgb image;
  if (!DecodePng(bytes.data(), bytes.size(), &image)) return {};
  return image;
}

std::vector<std::string> DemoRun::Messages() const {
  std::istringstream text(ReadFile(Out() + "/messages.txt"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

std::vector<std::pair<int, int>> DemoRun::States() const {
  std::istringstream text(ReadFile(Out() + "/states.txt"));
  std::vector<std::pair<int, int>> states;
  for (std::string line; std::getline(text, line);) {
    std::istringstream fields(line);
    int frame = -1;
    int state = -1;
    char tab = 0;
    fields >> frame >> std::noskipws >> tab >> std::skipws >> state;
    EXPECT_EQ(tab, '\t') << line;
    states.emplace_back(frame, state);
  }
  return states;
}

std::vector<std::uint8_t> DemoRun::Flash(const std::string& name) const {
  const std::string bytes = ReadFile(Out() + "/" + name + ".bin");
  return {bytes.begin(), bytes.end()};
}

std::string DemoRun::Log() const {
  return ReadFile(Out() + "/Corsaro270.log");
}

std::string DemoRun::Path(const std::string& name) const {
  return folder_ + "/" + name;
}

std::string DemoRun::Out() const {
  return folder_ + "/out";
}

std::string DemoRun::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void DemoRun::WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

std::string DemoRun::FlashFile(std::uint16_t version, const std::string& flash) {
  std::string file = "CS270VR1";
  file += {static_cast<char>(version & 0xFF), static_cast<char>(version >> 8), '\x62', '\x02'};
  file += std::string(4, '\0');
  return file + flash;
}
