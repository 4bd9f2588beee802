#include "device/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int EntriesIn(const std::filesystem::path& folder) {
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++entries;
  return entries;
}

mode_t ModeOf(const std::filesystem::path& path) {
  struct stat status {};
  stat(path.c_str(), &status);
  return status.st_mode & 07777;
}

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder =
        std::filesystem::path(::testing::TempDir()) /
        ("atomic_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  bool Write(const std::filesystem::path& path, const std::string& text) {
    return WriteFileAtomically(path.string(), text.data(), text.size(), why);
  }

  std::filesystem::path folder;
  std::string why;
};

}  // namespace

TEST_F(AtomicFile, ReplacesTheContentKeepsThePermissionsAndLeavesNothingBehind) {
  const auto file = folder / "flash.bin";
  const mode_t oldMask = umask(027);
  const bool written = Write(file, "first");
  umask(oldMask);
  ASSERT_TRUE(written) << why;
  EXPECT_EQ(ReadText(file), "first");
  EXPECT_EQ(ModeOf(file), 0640u) << "a new file gets 0666 less the umask";
  chmod(file.c_str(), 0604);
  ASSERT_TRUE(Write(file, "second, longer")) << why;
  EXPECT_EQ(ReadText(file), "second, longer");
  EXPECT_EQ(ModeOf(file), 0604u);
  EXPECT_EQ(EntriesIn(folder), 1);
}

TEST_F(AtomicFile, ALinkAtTheTargetIsFollowedAndKept) {
  const auto real = folder / "real.cs270";
  const auto link = folder / "link.cs270";
  ASSERT_TRUE(Write(real, "old"));
  std::filesystem::create_symlink(real, link);
  ASSERT_TRUE(Write(link, "new")) << why;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadText(real), "new");
}

TEST_F(AtomicFile, AFailedWriteLeavesTheTargetAndNoTemporary) {
  EXPECT_FALSE(Write(folder / "missing" / "flash.bin", "x"));
  EXPECT_NE(why.find("missing"), std::string::npos) << why;

  const auto taken = folder / "taken";
  std::filesystem::create_directory(taken);
  std::ofstream(taken / "inside") << "kept";
  EXPECT_FALSE(Write(taken, "x"));
  EXPECT_EQ(ReadText(taken / "inside"), "kept");
  EXPECT_EQ(EntriesIn(folder), 1) << "only the folder that was in the way";
}
