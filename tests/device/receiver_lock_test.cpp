#include "device/receiver_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

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
}
