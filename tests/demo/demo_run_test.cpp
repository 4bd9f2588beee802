// The whole demo in this process, so that what the program read stays to be looked at.
#include "demo/demo.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "engine/platform/platform.h"
#include "engine/window_icon.h"
#include "profile/profile_file.h"
#include "profile/profile_set.h"

extern char** environ;

namespace {

constexpr std::size_t kFlashSize = 131072;

class DemoInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    std::string folder = (std::filesystem::temp_directory_path() / "corsaro-demo-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    folder_ = folder;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ + "/" + name, std::ios::binary) << bytes;
  }

  int Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "corsaro270-demo");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    return RunDemo(static_cast<int>(argv.size()), argv.data());
  }

  std::string Read(const std::string& name) const {
    std::ifstream in(folder_ + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // Profile files NAME1..3.cs270 whose records are all `fill` bytes but for the profile's number.
  void WriteProfiles(const std::string& name, char fill) {
    for (int p = 0; p < 3; ++p) {
      WheelProfile record{};
      for (auto& byte : record.bytes) byte = static_cast<std::uint8_t>(fill);
      record.bytes[0] = static_cast<std::uint8_t>(p + 1);
      ProfileFile file{};
      EncodeProfileFile(record, file);
      Write(name + std::to_string(p + 1) + ".cs270",
            std::string(reinterpret_cast<const char*>(file.bytes), kProfileFileSize));
    }
  }

  // corsaro270-cli --virtual receiver.bin write-profiles NAME1..3.cs270, as a user runs it; its
  // exit status, and its standard error in cli-err.txt.
  int WriteWithCli(const std::string& name) {
    std::vector<std::string> words = {CORSARO_CLI_PROGRAM, "--virtual", folder_ + "/receiver.bin",
                                      "write-profiles"};
    for (int p = 1; p <= 3; ++p)
      words.push_back(folder_ + "/" + name + std::to_string(p) + ".cs270");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t streams;
    posix_spawn_file_actions_init(&streams);
    posix_spawn_file_actions_addopen(&streams, STDOUT_FILENO, (folder_ + "/cli-out.txt").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&streams, STDERR_FILENO, (folder_ + "/cli-err.txt").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t cli = 0;
    const int spawned = posix_spawn(&cli, argv[0], &streams, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&streams);
    int status = 0;
    if (spawned != 0 || waitpid(cli, &status, 0) != cli || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  }

  std::string folder_;
};

bool AllBytesAre(const WheelProfile& record, int profile, char fill) {
  for (std::size_t i = 1; i < sizeof record.bytes; ++i) {
    if (record.bytes[i] != static_cast<std::uint8_t>(fill)) return false;
  }
  return record.bytes[0] == profile + 1;
}

// Record p of the stored sector: bytes 50 p + i.
char StoredByte(int profile, int i) {
  return static_cast<char>(50 * profile + i);
}

TEST_F(DemoInProcess, TheStoredProfilesAreReadAtConnect) {
  // "CS270VR1", firmware 0x0196, then a flash whose profile sector holds the marker and three
  // records at 0xC010, 0xC090 and 0xC110.
  std::string flash(kFlashSize, '\xFF');
  flash.replace(0xC000, 4, "\x32\x54\x76\x98");
  for (int p = 0; p < 3; ++p) {
    for (int i = 0; i < 100; ++i) flash[0xC010 + 0x80 * p + i] = StoredByte(p, i);
  }
  Write("receiver.bin", std::string("CS270VR1\x96\x01", 10) + std::string(6, '\0') + flash);
  Write("script.txt", "wait-state 6\n");

  ASSERT_EQ(Run({"--flash", folder_ + "/receiver.bin", "--script", folder_ + "/script.txt", "--out",
                 folder_ + "/out"}),
            kDemoExitOk);
  for (int p = 0; p < 3; ++p) {
    for (int i = 0; i < 100; ++i) {
      ASSERT_EQ(static_cast<char>(ProfileSet[p].bytes[i]), StoredByte(p, i)) << p << ", " << i;
    }
  }
}

TEST_F(DemoInProcess, ARunWithoutItsWindowFails) {
  // A video driver that does not exist: the window cannot open, as on a machine without a display.
  const std::string driver = std::getenv("SDL_VIDEODRIVER");
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  Write("script.txt", "wait-state 6\n");
  testing::internal::CaptureStderr();
  const int unscripted = Run({"--flash", folder_ + "/receiver.bin"});
  const int scripted = Run({"--script", folder_ + "/script.txt", "--out", folder_ + "/out"});
  const std::string stderrText = testing::internal::GetCapturedStderr();
  setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
  EXPECT_EQ(unscripted, 1);
  EXPECT_EQ(scripted, 1);
  // Each run says why on standard error.
  EXPECT_NE(stderrText.find("no-such-driver not available"), std::string::npos) << stderrText;
  EXPECT_NE(stderrText.find("the program did not start its frame loop"), std::string::npos)
      << stderrText;
}

TEST_F(DemoInProcess, TheWindowShowsTheCarriedIcon) {
  Write("script.txt", "wait-state 6\n");
  ASSERT_EQ(Run({"--script", folder_ + "/script.txt", "--out", folder_ + "/out"}), kDemoExitOk);
  // assets/icon/icon.png: 128 by 128, transparent corners, the wheel's red hub in the middle.
  const ImageArgb& icon = LastWindowIcon();
  EXPECT_EQ(icon.width, 128);
  EXPECT_EQ(icon.height, 128);
  ASSERT_EQ(icon.pixels.size(), 128u * 128u);
  EXPECT_EQ(icon.pixels[0], 0x00000000u);
  EXPECT_EQ(icon.pixels[64 * 128 + 64], 0xFFD91C23u);
  EXPECT_EQ(icon.pixels[96 * 128 + 32], 0xFFE6E8EEu);
}

// The demo holds its flash file for the whole run: a write of the command-line tool in between is
// refused, not reported as done and then undone by the demo's save at exit.
TEST_F(DemoInProcess, ACliWriteToItsFlashFileWhileItRunsIsRefusedNotLost) {
  WriteProfiles("before", 'b');
  WriteProfiles("during", 'd');
  ASSERT_EQ(WriteWithCli("before"), 0) << Read("cli-err.txt");
  EXPECT_NE(Read("cli-out.txt").find("written correctly"), std::string::npos)
      << Read("cli-out.txt");
  Write("script.txt", "wait-state 6\ndump-flash started\nframes 100000\n");

  int during = -2;
  std::thread user([&] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(folder_ + "/out/started.bin") &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    during = WriteWithCli("during");
    platform::Current().PostEvent(nullptr, platform::Event{platform::EventKind::kQuit});
  });
  const int demo = Run({"--flash", folder_ + "/receiver.bin", "--script", folder_ + "/script.txt",
                        "--out", folder_ + "/out"});
  user.join();
  ASSERT_EQ(demo, kDemoExitOk);
  EXPECT_EQ(during, 1);
  EXPECT_NE(Read("cli-err.txt").find("another program is writing to this receiver"),
            std::string::npos)
      << Read("cli-err.txt");
  EXPECT_EQ(Read("cli-out.txt").find("written correctly"), std::string::npos)
      << Read("cli-out.txt");
  for (int p = 0; p < 3; ++p) EXPECT_TRUE(AllBytesAre(ProfileSet[p], p, 'b')) << p;

  // Once the demo has ended the write goes through, and the next demo reads it.
  ASSERT_EQ(WriteWithCli("during"), 0) << Read("cli-err.txt");
  Write("script.txt", "wait-state 6\n");
  ASSERT_EQ(Run({"--flash", folder_ + "/receiver.bin", "--script", folder_ + "/script.txt", "--out",
                 folder_ + "/out"}),
            kDemoExitOk);
  for (int p = 0; p < 3; ++p) EXPECT_TRUE(AllBytesAre(ProfileSet[p], p, 'd')) << p;
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(DemoInProcess, TheOutputFolderMustBeTheUsersOwn) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give the folder away";
  const std::string out = folder_ + "/shots";
  std::filesystem::create_directory(out);
  ASSERT_EQ(chown(out.c_str(), 65534, 65534), 0);
  Write("script.txt", "wait-state 6\n");
  EXPECT_EQ(Run({"--script", folder_ + "/script.txt", "--out", out}), kDemoExitUsage);
  EXPECT_TRUE(std::filesystem::is_empty(out)) << "nothing is written in another user's folder";
  // Nor through a link of another user's to a folder of the user's own.
  const std::string own = folder_ + "/own";
  std::filesystem::create_directory(own);
  const std::string link = folder_ + "/link";
  std::filesystem::create_directory_symlink(own, link);
  ASSERT_EQ(lchown(link.c_str(), 65534, 65534), 0);
  EXPECT_EQ(Run({"--script", folder_ + "/script.txt", "--out", link}), kDemoExitUsage);
  EXPECT_TRUE(std::filesystem::is_empty(own));
}

TEST_F(DemoInProcess, NothingIsWrittenThroughALinkPlantedInTheOutputFolder) {
  const std::string out = folder_ + "/out";
  std::filesystem::create_directory(out);
  Write("victim.txt", "precious");
  const std::string victim = folder_ + "/victim.txt";
  for (const char* name : {"Corsaro270.log", "main.png", "flash.bin"}) {
    std::filesystem::create_symlink(victim, out + "/" + name);
  }
  Write("script.txt", "wait-state 6\ndump-flash flash\n");
  EXPECT_EQ(Run({"--script", folder_ + "/script.txt", "--out", out}), kDemoExitScript);
  Write("shot.txt", "wait-state 6\nscreenshot main\n");
  EXPECT_EQ(Run({"--script", folder_ + "/shot.txt", "--out", out}), kDemoExitScript);
  std::filesystem::remove(out + "/messages.txt");
  std::filesystem::create_symlink(victim, out + "/messages.txt");
  EXPECT_EQ(Run({"--script", folder_ + "/script.txt", "--out", out}), kDemoExitUsage);
  EXPECT_EQ(Contents(victim), "precious");
}

}  // namespace
