// One customiser per user, through start-up: a second start says so on standard error, without a
// message box to wait on, and leaves the first run's files alone; the first run raises its window
// when poked.
#include "app/single_run.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/instance_lock.h"
#include "tests/app/shell_fixture.h"

namespace {

class SingleRun : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr) savedRuntime = runtime;
    // The fixture's log folder is the test's own and only this user's: it serves as runtime
    // folder too.
    setenv("XDG_RUNTIME_DIR", logFolder.c_str(), 1);
  }
  void TearDown() override {
    EndSingleRun();
    if (savedRuntime) {
      setenv("XDG_RUNTIME_DIR", savedRuntime->c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
    ShellTest::TearDown();
  }

  std::optional<std::string> savedRuntime;
  std::string why;
};

TEST_F(SingleRun, ASecondStartRaisesTheFirstQuietlyAndLeavesItAlone) {
  InstanceLock first;
  ASSERT_EQ(first.Take(logFolder, "corsaro270-test", &why), InstanceLock::Claim::kFirst) << why;
  const std::string firstLog = logFolder + "/first.log";
  std::ofstream(firstLog) << "the first run's log\n";

  CustomiserOptions options;
  options.instanceName = "corsaro270-test";
  options.logFile = firstLog.c_str();
  options.dialogs = &dialogs;
  testing::internal::CaptureStderr();
  const int status = RunCustomiser(options);
  const std::string stderrText = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 0);

  EXPECT_TRUE(dialogs.shown().empty()) << dialogs.shown()[0].text;
  EXPECT_EQ(stderrText, std::string(program_invocation_short_name) +
                            ": The Corsaro 270 Customiser is already running.\n");
  EXPECT_EQ(first.TakePokes(), 1) << "the first run was asked to raise its window";
  std::ifstream in(firstLog);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "the first run's log") << "the log was not emptied";
}

TEST_F(SingleRun, TheFirstRunAnswersALaterStartOnItsNextFrame) {
  ASSERT_TRUE(ClaimSingleRun("corsaro270-test"));
  AnswerLaterStarts();
  EXPECT_EQ(LogText().find("started again"), std::string::npos);

  InstanceLock later;
  EXPECT_EQ(later.Take(logFolder, "corsaro270-test", &why), InstanceLock::Claim::kAlreadyRunning);
  AnswerLaterStarts();
  EXPECT_NE(LogText().find("The program was started again: its window is raised"),
            std::string::npos)
      << LogText();

  EndSingleRun();
  InstanceLock next;
  EXPECT_EQ(next.Take(logFolder, "corsaro270-test", &why), InstanceLock::Claim::kFirst);
}

}  // namespace
