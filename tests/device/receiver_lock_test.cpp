#include "device/receiver_lock.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Sets XDG_RUNTIME_DIR for one test and puts the old value back.
class RuntimeFolderSetting {
 public:
  explicit RuntimeFolderSetting(const char* value) {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) old_ = old, hadOld_ = true;
    if (value != nullptr) {
      setenv("XDG_RUNTIME_DIR", value, 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }
  ~RuntimeFolderSetting() {
    if (hadOld_) {
      setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }

 private:
  std::string old_;
  bool hadOld_ = false;
};

std::string Folder(const char* name) {
  const std::string folder = ::testing::TempDir() + name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace

TEST(ReceiverLock, ASecondWriterWaitsItsTimeThenGivesUpUntilTheFirstLetsGo) {
  RuntimeFolderSetting runtime(Folder("lock_runtime").c_str());
  chmod(std::getenv("XDG_RUNTIME_DIR"), 0700);
  ReceiverLock first;
  ReceiverLock second;
  std::string why;
  ASSERT_TRUE(first.Acquire("/dev/hidraw3", 0, why)) << why;
  EXPECT_TRUE(first.Acquire("/dev/hidraw3", 0, why)) << "taking a held lock again is a no-op";

  const auto start = Clock::now();
  EXPECT_FALSE(second.Acquire("/dev/hidraw3", 150, why));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(150));
  EXPECT_NE(why.find("another program is writing to this receiver"), std::string::npos) << why;
  EXPECT_FALSE(second.Held());

  ReceiverLock other;
  EXPECT_TRUE(other.Acquire("/dev/hidraw4", 0, why)) << "another receiver has a lock of its own";

  first.Release();
  EXPECT_TRUE(second.Acquire("/dev/hidraw3", 0, why)) << why;
}

TEST(ReceiverLock, ItsFileGoesWhenItIsFreeAndAWaiterTakesTheNextOne) {
  const std::string folder = Folder("lock_removed");
  chmod(folder.c_str(), 0700);
  RuntimeFolderSetting runtime(folder.c_str());
  std::string why;
  const std::string path = ReceiverLockPath("/home/someone/flash.bin", why);
  ReceiverLock first;
  ASSERT_TRUE(first.Acquire("/home/someone/flash.bin", 0, why)) << why;
  EXPECT_TRUE(std::filesystem::exists(path));

  ReceiverLock waiter;
  bool waited = false;
  std::string waiterWhy;
  std::thread second([&] { waited = waiter.Acquire("/home/someone/flash.bin", 2000, waiterWhy); });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  first.Release();
  second.join();
  ASSERT_TRUE(waited) << waiterWhy;
  // The waiter holds the file now at the path, not the one its first holder removed.
  ReceiverLock third;
  EXPECT_FALSE(third.Acquire("/home/someone/flash.bin", 0, why));
  EXPECT_TRUE(std::filesystem::exists(path));
  waiter.Release();
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(std::filesystem::is_empty(folder)) << "no lock files pile up";
}

TEST(ReceiverLock, AFolderUnderTmpTakenByAnotherUserMovesItToTheStateFolder) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as two other users";
  // A user of its own for this test, and the name under /tmp that its locks would go to, made
  // first by somebody else.
  constexpr uid_t kUser = 54329;
  const std::string taken = "/tmp/corsaro270-" + std::to_string(kUser);
  std::filesystem::remove_all(taken);
  ASSERT_EQ(mkdir(taken.c_str(), 0700), 0);
  ASSERT_EQ(chown(taken.c_str(), 65534, 65534), 0);
  const std::string state = Folder("lock_state");
  ASSERT_EQ(chown(state.c_str(), kUser, kUser), 0);

  const pid_t child = fork();
  if (child == 0) {
    unsetenv("XDG_RUNTIME_DIR");
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    if (setgroups(0, nullptr) != 0 || setgid(kUser) != 0 || setuid(kUser) != 0) _exit(2);
    std::string why;
    ReceiverLock lock;
    if (!lock.Acquire("/home/someone/flash.bin", 0, why)) {
      std::fprintf(stderr, "%s\n", why.c_str());
      _exit(3);
    }
    const std::string path = ReceiverLockPath("/home/someone/flash.bin", why);
    struct stat folder {};
    const bool inState = path.rfind(state + "/corsaro270/locks/", 0) == 0 &&
                         stat((state + "/corsaro270/locks").c_str(), &folder) == 0 &&
                         (folder.st_mode & 0777) == 0700 && std::filesystem::exists(path);
    _exit(inState ? 0 : 4);
  }
  int status = 0;
  waitpid(child, &status, 0);
  std::filesystem::remove_all(taken);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: not the test user, 3: refused, 4: not in " << state;
}

TEST(ReceiverLock, LivesInTheRuntimeFolderOrInAPrivateOneUnderTmp) {
  const std::string runtime = Folder("lock_private");
  chmod(runtime.c_str(), 0700);
  std::string why;
  {
    RuntimeFolderSetting setting(runtime.c_str());
    const std::string path = ReceiverLockPath("/home/someone/flash.bin", why);
    EXPECT_EQ(path.rfind(runtime + "/corsaro270-flash.bin-", 0), 0u) << path;
    EXPECT_EQ(path.substr(path.size() - 5), ".lock");
    EXPECT_NE(path, ReceiverLockPath("/home/other/flash.bin", why));
  }
  const std::string fallback = "/tmp/corsaro270-" + std::to_string(getuid());
  for (const char* unusable : {static_cast<const char*>(nullptr), "relative/folder"}) {
    RuntimeFolderSetting setting(unusable);
    const std::string path = ReceiverLockPath("/dev/hidraw0", why);
    EXPECT_EQ(path.rfind(fallback + "/", 0), 0u) << path;
    struct stat status {};
    ASSERT_EQ(stat(fallback.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
  }
  // A runtime folder others may write is not used.
  const std::string shared = Folder("lock_shared");
  chmod(shared.c_str(), 0777);
  RuntimeFolderSetting setting(shared.c_str());
  EXPECT_EQ(ReceiverLockPath("/dev/hidraw0", why).rfind(fallback + "/", 0), 0u);
}

TEST(ReceiverLock, AReceiverIsNamedByItsCanonicalPath) {
  const std::string folder = Folder("lock_identity");
  const std::string file = folder + "/flash.bin";
  EXPECT_EQ(ReceiverIdentity(folder + "/./flash.bin"), ReceiverIdentity(file))
      << "a file not made yet";
  std::ofstream(file) << "flash";
  std::filesystem::create_symlink(file, folder + "/link.bin");
  EXPECT_EQ(ReceiverIdentity(folder + "/link.bin"), ReceiverIdentity(file));
  EXPECT_EQ(ReceiverIdentity(file).front(), '/');
  // A virtual receiver's device path names it by its flash file.
  EXPECT_EQ(ReceiverIdentity("virtual:" + folder + "/link.bin"),
            "virtual:" + ReceiverIdentity(file));
}
