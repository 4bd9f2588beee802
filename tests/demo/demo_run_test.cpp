// The whole demo in this process, so that what the program read stays to be looked at.
#include "demo/demo.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/window_icon.h"
#include "profile/profile_set.h"

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

  std::string folder_;
};

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
