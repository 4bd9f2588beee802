#include "device/atomic_file.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

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

constexpr uid_t kNobody = 65534;

struct stat StatusOf(const std::filesystem::path& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status;
}

// Dates the file a minute back, as a leftover of an earlier run is.
void MakeOld(const std::filesystem::path& path) {
  const timespec times[2] = {{std::time(nullptr) - 60, 0}, {std::time(nullptr) - 60, 0}};
  utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

// Runs `work` in a child process as the unprivileged user nobody, as root may write what a user
// may not; the child's answer, or -1 when it did not end on its own.
int AsNobody(const std::function<bool()>& work) {
  const pid_t child = fork();
  if (child == 0) {
    const bool dropped = setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0;
    _exit(!dropped ? 2 : work() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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

TEST_F(AtomicFile, ANewFileTakesTheModeAskedForWhateverTheUmask) {
  const mode_t oldMask = umask(077);
  const bool written = WriteFileAtomically((folder / "backup").string(), "b", 1, why, 0640);
  umask(oldMask);
  ASSERT_TRUE(written) << why;
  EXPECT_EQ(ModeOf(folder / "backup"), 0640u);
  chmod((folder / "backup").c_str(), 0600);
  ASSERT_TRUE(WriteFileAtomically((folder / "backup").string(), "c", 1, why, 0644)) << why;
  EXPECT_EQ(ModeOf(folder / "backup"), 0600u) << "an existing file keeps its own";
}

TEST_F(AtomicFile, ALinkAtTheTargetIsFollowedAndKept) {
  const auto real = folder / "real.cs270";
  const auto link = folder / "link.cs270";
  ASSERT_TRUE(Write(real, "old"));
  std::filesystem::create_symlink(real, link);
  ASSERT_TRUE(Write(link, "new")) << why;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadText(real), "new");

  // A chain of links, the last one relative and dangling: the file is made where it points.
  std::filesystem::create_symlink("made.cs270", folder / "dangling.cs270");
  std::filesystem::create_symlink(folder / "dangling.cs270", folder / "chain.cs270");
  ASSERT_TRUE(Write(folder / "chain.cs270", "made")) << why;
  EXPECT_EQ(ReadText(folder / "made.cs270"), "made");
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "chain.cs270"));
}

TEST_F(AtomicFile, AnotherUsersLinkInASharedStickyFolderIsNotFollowed) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a link to another user";
  const auto shared = folder / "tmp";
  std::filesystem::create_directory(shared);
  chmod(shared.c_str(), 01777);
  const auto victim = folder / "bashrc";
  std::ofstream(victim) << "the user's own";
  const auto planted = shared / "p.cs270";
  std::filesystem::create_symlink(victim, planted);
  ASSERT_EQ(lchown(planted.c_str(), kNobody, kNobody), 0);

  EXPECT_FALSE(Write(planted, "a profile"));
  EXPECT_NE(why.find("will not follow the link " + planted.string()), std::string::npos) << why;
  EXPECT_EQ(ReadText(victim), "the user's own");
  EXPECT_TRUE(std::filesystem::is_symlink(planted));
  EXPECT_EQ(EntriesIn(shared), 1);

  // The same link is followed where the kernel would: the user's own in the shared folder, or
  // another user's in a folder that is not shared.
  ASSERT_EQ(lchown(planted.c_str(), 0, 0), 0);
  EXPECT_TRUE(Write(planted, "own link")) << why;
  EXPECT_EQ(ReadText(victim), "own link");
  ASSERT_EQ(lchown(planted.c_str(), kNobody, kNobody), 0);
  chmod(shared.c_str(), 0755);
  EXPECT_TRUE(Write(planted, "private folder")) << why;
  EXPECT_EQ(ReadText(victim), "private folder");

  // A file another user put in the way in the shared folder, open for all to write, is not
  // written either: it would hand them what is saved.
  chmod(shared.c_str(), 01777);
  const auto trap = shared / "q.cs270";
  std::ofstream(trap) << "theirs";
  ASSERT_EQ(chown(trap.c_str(), kNobody, kNobody), 0);
  chmod(trap.c_str(), 0666);
  EXPECT_FALSE(Write(trap, "a profile"));
  EXPECT_NE(why.find("belongs to another user"), std::string::npos) << why;
  EXPECT_EQ(ReadText(trap), "theirs");
}

TEST_F(AtomicFile, AFifoIsRefusedAndACharacterDeviceWrittenInPlaceNeverReplaced) {
  const auto fifo = folder / "pipe.cs270";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(Write(fifo, "x"));
  EXPECT_NE(why.find("FIFO"), std::string::npos) << why;
  EXPECT_TRUE(S_ISFIFO(StatusOf(fifo).st_mode));

  // Nodes of their own for the machine's /dev/null (1, 3) and /dev/full (1, 7).
  const auto null = folder / "null";
  const auto full = folder / "full";
  if (mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
      mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
    GTEST_SKIP() << "cannot make device nodes here";
  }
  EXPECT_TRUE(Write(null, std::string(131088, 'f'))) << why;
  EXPECT_FALSE(Write(full, "backup"));
  EXPECT_NE(why.find("No space left on device"), std::string::npos) << why;
  for (const auto& [node, minor] : {std::pair{null, 3u}, std::pair{full, 7u}}) {
    const struct stat status = StatusOf(node);
    EXPECT_TRUE(S_ISCHR(status.st_mode)) << node;
    EXPECT_EQ(status.st_rdev, makedev(1, minor)) << node;
  }
  EXPECT_EQ(EntriesIn(folder), 3) << "no temporary beside them";
}

TEST_F(AtomicFile, AFileTheUserMayNotWriteIsKeptAndOneInAClosedFolderWrittenInPlace) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  ASSERT_EQ(chown(folder.c_str(), kNobody, kNobody), 0);
  const auto locked = folder / "locked.cs270";
  std::ofstream(locked) << "kept";
  ASSERT_EQ(chown(locked.c_str(), kNobody, kNobody), 0);
  chmod(locked.c_str(), 0444);
  EXPECT_EQ(AsNobody([&] { return Write(locked, "replaced"); }), 1);
  EXPECT_EQ(ReadText(locked), "kept");
  EXPECT_EQ(ModeOf(locked), 0444u);

  // Root may write it, as any program of root's may.
  EXPECT_TRUE(Write(locked, "by root")) << why;
  EXPECT_EQ(ReadText(locked), "by root");
  EXPECT_EQ(StatusOf(locked).st_uid, kNobody) << "the owner is kept";
  EXPECT_EQ(ModeOf(locked), 0444u);

  const auto open = folder / "open.cs270";
  std::ofstream(open) << "the old content, longer than the new";
  ASSERT_EQ(chown(open.c_str(), kNobody, kNobody), 0);
  const ino_t before = StatusOf(open).st_ino;
  chmod(folder.c_str(), 0555);
  EXPECT_EQ(AsNobody([&] { return Write(open, "new"); }), 0);
  chmod(folder.c_str(), 0755);
  EXPECT_EQ(ReadText(open), "new");
  EXPECT_EQ(StatusOf(open).st_ino, before);
  EXPECT_EQ(EntriesIn(folder), 2);
}

TEST_F(AtomicFile, AFileSizeLimitFailsTheSaveCleanly) {
  const auto file = folder / "flash.bin";
  std::ofstream(file) << "old";
  const pid_t child = fork();
  if (child == 0) {
    // With the signal ignored a write past the limit fails with EFBIG instead of killing the
    // child, so only the save's own check can give the reason looked for (and a sanitizer's
    // runtime writing its files cannot end the child).
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string reason;
    const std::string flash(131088, 'f');
    const bool written = WriteFileAtomically(file.string(), flash.data(), flash.size(), reason);
    _exit(!written && reason.find("ulimit -f") != std::string::npos ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadText(file), "old");
  EXPECT_EQ(EntriesIn(folder), 1);
}

TEST_F(AtomicFile, TemporariesOfAKilledSaveGoAtTheNextOne) {
  const auto file = folder / "flash.bin";
  const std::string flash(8 << 20, 'f');
  std::filesystem::path left;
  for (int attempt = 0; attempt < 20 && left.empty(); ++attempt) {
    const pid_t child = fork();
    if (child == 0) {
      for (std::string reason;;)
        WriteFileAtomically(file.string(), flash.data(), flash.size(), reason);
    }
    // Killed as soon as a temporary is there, or a little later.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (EntriesIn(folder) < (attempt % 2 == 0 ? 2 : 1) &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::yield();
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path() != file) left = entry.path();
    }
  }
  ASSERT_FALSE(left.empty()) << "no kill landed during a save";
  EXPECT_EQ(left.filename().string().rfind(".flash.bin.", 0), 0u) << left;

  // Beside it: a save still writing (its temporary locked), a temporary just made, another
  // user's, and files whose names only look alike.
  const auto writing = folder / ".flash.bin.Wr1tng";
  const auto fresh = folder / ".flash.bin.Fresh0";
  const auto others = folder / ".flash.bin.0thers";
  const std::vector<std::filesystem::path> alike = {
      folder / ".flash.bin.toolong", folder / ".flash.bin.ab-cd1", folder / ".flash.bim.Abcdef",
      folder / "flash.bin.Abcdef"};
  for (const auto& path : alike) std::ofstream(path) << "not a temporary";
  std::ofstream(writing) << "half";
  std::ofstream(fresh) << "half";
  std::ofstream(others) << "half";
  if (geteuid() == 0) {
    ASSERT_EQ(chown(others.c_str(), kNobody, kNobody), 0);
  }
  const int running = open(writing.c_str(), O_RDONLY);
  ASSERT_EQ(flock(running, LOCK_EX), 0);
  for (const auto& path : alike) MakeOld(path);
  MakeOld(left);
  MakeOld(writing);
  MakeOld(others);

  ASSERT_TRUE(Write(file, "the next save")) << why;
  EXPECT_EQ(ReadText(file), "the next save");
  EXPECT_FALSE(std::filesystem::exists(left));
  EXPECT_TRUE(std::filesystem::exists(writing));
  EXPECT_TRUE(std::filesystem::exists(fresh));
  EXPECT_EQ(std::filesystem::exists(others), geteuid() == 0);
  for (const auto& path : alike) EXPECT_TRUE(std::filesystem::exists(path)) << path;
  close(running);
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
