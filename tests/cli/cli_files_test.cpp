// What the tool does to the files it reads and writes: the profile-file rule, files that are no
// regular files, temporary files, and the flash file of a virtual receiver.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "profile/factory_profiles.h"

namespace {

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// Whether `path` is still the very file `link` is a hard link to: a rewrite through a temporary
// file and a rename gives it another.
bool StillTheSameFile(const std::string& path, const std::string& link) {
  struct stat file {
  }, linked{};
  return stat(path.c_str(), &file) == 0 && stat(link.c_str(), &linked) == 0 &&
         file.st_ino == linked.st_ino && file.st_dev == linked.st_dev;
}

}  // namespace

using CliProfileFiles = Cli;

TEST_F(CliProfileFiles, ALongerFileWhoseFirst116BytesAreValidIsAcceptedWithAWarning) {
  std::vector<std::uint8_t> longer = Container(FactoryProfiles[1]);
  longer.resize(200, 0xAB);
  WriteBytes(Path("long.cs270"), longer);
  const Result check = Run({"check", Path("long.cs270")});
  EXPECT_EQ(check.status, kExitOk) << check.err;
  EXPECT_TRUE(Contains(check.out, "valid profile file")) << check.out;
  EXPECT_TRUE(Contains(check.err, "200 bytes")) << check.err;

  const Result write =
      RunVirtual({"write-profiles", Path("long.cs270"), Path("long.cs270"), Path("long.cs270")});
  EXPECT_EQ(write.status, kExitOk) << write.err;
  ASSERT_EQ(RunVirtual({"read-profile", "2", Path("back.cs270")}).status, kExitOk);
  EXPECT_EQ(ReadBytes(Path("back.cs270")), Container(FactoryProfiles[1]));
}

TEST_F(CliProfileFiles, AFolderAFifoOrADeviceIsRefusedWithoutWaiting) {
  std::filesystem::create_directory(Path("folder.cs270"));
  ASSERT_EQ(mkfifo(Path("pipe.cs270").c_str(), 0600), 0);
  for (const std::string& path :
       {Path("folder.cs270"), Path("pipe.cs270"), std::string("/dev/zero")}) {
    const Result result = Run({"check", path});
    EXPECT_EQ(result.status, kExitFailure) << path;
    EXPECT_TRUE(Contains(result.err, "not a regular file")) << path << ": " << result.err;
  }
}

TEST_F(CliProfileFiles, AFileWhoseSizeDoesNotHoldStillIsRefused) {
  // The kernel's status files say they are empty and then deliver text.
  const Result result = Run({"check", "/proc/self/status"});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_TRUE(Contains(result.err, "changed while it was read")) << result.err;
}

TEST_F(CliProfileFiles, TemporaryFilesCannotBeHijackedThroughAFixedName) {
  WriteBytes(Path("victim"), {'k', 'e', 'e', 'p'});
  std::filesystem::create_symlink(Path("victim"), Path("flash.bin.tmp"));
  std::filesystem::create_symlink(Path("victim"), Path("out.cs270.tmp"));
  const Result result = RunVirtual({"read-profile", "1", Path("out.cs270")});
  ASSERT_EQ(result.status, kExitOk) << result.err;
  EXPECT_EQ(ReadBytes(Path("victim")), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
  EXPECT_EQ(ReadBytes(Path("out.cs270")), Container(FactoryProfiles[0]));
  // Nothing is left behind beside the targets.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++entries;
  EXPECT_EQ(entries, 5) << "victim, two links, flash.bin and out.cs270";
}

TEST_F(CliProfileFiles, SavesRefuseAnotherUsersLinkInASharedFolderAndAFifo) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a link to another user";
  ASSERT_EQ(RunVirtual({"info"}).status, kExitOk) << "the flash file is made";
  std::filesystem::create_directory(Path("shared"));
  chmod(Path("shared").c_str(), 01777);
  WriteBytes(Path("bashrc"), {'o', 'w', 'n'});
  const std::string planted = Path("shared") + "/p.cs270";
  std::filesystem::create_symlink(Path("bashrc"), planted);
  ASSERT_EQ(lchown(planted.c_str(), 65534, 65534), 0);
  ASSERT_EQ(mkfifo(Path("pipe.set").c_str(), 0600), 0);

  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"read-profile", "1", planted}, {"backup", planted}}) {
    const Result result = RunVirtual(command);
    EXPECT_EQ(result.status, kExitFailure) << command[0];
    EXPECT_TRUE(Contains(result.err, "will not follow the link")) << result.err;
    EXPECT_EQ(ReadBytes(Path("bashrc")), (std::vector<std::uint8_t>{'o', 'w', 'n'}));
  }
  const Result fifo = RunVirtual({"backup", Path("pipe.set")});
  EXPECT_EQ(fifo.status, kExitFailure);
  EXPECT_TRUE(Contains(fifo.err, "it is a FIFO")) << fifo.err;
  struct stat status {};
  EXPECT_TRUE(lstat(Path("pipe.set").c_str(), &status) == 0 && S_ISFIFO(status.st_mode));
}

using CliFlashFile = Cli;

TEST_F(CliFlashFile, ReadOnlyCommandsNeverRewriteIt) {
  WriteBytes(Path("a.cs270"), Container(FactoryProfiles[2]));
  ASSERT_EQ(
      RunVirtual({"write-profiles", Path("a.cs270"), Path("a.cs270"), Path("a.cs270")}).status,
      kExitOk);
  std::filesystem::create_hard_link(Path("flash.bin"), Path("flash.link"));
  EXPECT_EQ(RunVirtual({"list"}).status, kExitOk);
  EXPECT_EQ(RunVirtual({"info"}).status, kExitOk);
  EXPECT_EQ(RunVirtual({"read-profile", "3", Path("p.cs270")}).status, kExitOk);
  EXPECT_EQ(RunVirtual({"check", Path("p.cs270")}).status, kExitOk);
  EXPECT_TRUE(StillTheSameFile(Path("flash.bin"), Path("flash.link")))
      << "the flash file was written again";
}

TEST_F(CliFlashFile, SuccessIsOnlyToldOnceTheFlashFileIsSaved) {
  WriteBytes(Path("a.cs270"), Container(FactoryProfiles[0]));
  const std::string unsaved = Path("missing-folder/flash.bin");
  const Result result = Run(
      {"--virtual", unsaved, "write-profiles", Path("a.cs270"), Path("a.cs270"), Path("a.cs270")});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_FALSE(Contains(result.out, "written correctly")) << result.out;
  EXPECT_TRUE(Contains(result.err, "missing-folder")) << result.err;

  const Result read = Run({"--virtual", unsaved, "read-profile", "1", Path("p.cs270")});
  EXPECT_EQ(read.status, kExitFailure);
  EXPECT_FALSE(Contains(read.out, "Wrote")) << read.out;
}

TEST_F(CliFlashFile, AnEmptyVirtualFileNameIsAUsageError) {
  const Result result = Run({"--virtual", "", "list"});
  EXPECT_EQ(result.status, kExitUsage);
  EXPECT_TRUE(Contains(result.err, "--virtual")) << result.err;
  EXPECT_EQ(Run({"--device", "", "info"}).status, kExitUsage);
}

TEST_F(CliFlashFile, FirmwareVersionsWithSignsSpacesOrJunkAreRefused) {
  for (const char* bad : {"+1.96", "-0", " 1.96", "1.96 ", "1. 96", "1.+96", "0x0196junk", "0x-196",
                          "0x+196", "+406", "1.96.1", "0x", "", "1.", ".96", "100.0", "0x10000"}) {
    const Result result = RunVirtual({"--firmware-version", bad, "info"});
    EXPECT_EQ(result.status, kExitUsage) << '"' << bad << '"';
  }
  for (const char* good : {"1.96", "1.9", "0x0196", "406", "0XFFFF", "ff.ff"}) {
    EXPECT_EQ(RunVirtual({"--firmware-version", good, "info"}).status, kExitOk) << good;
  }
}
