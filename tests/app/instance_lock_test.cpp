// One run per user: the lock in the runtime folder, and the socket that later starts poke.
#include "app/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class InstanceLocks : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string made = (fs::temp_directory_path() / "corsaro-run-XXXXXX").string();
    ASSERT_NE(mkdtemp(made.data()), nullptr);
    folder = made;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  std::string folder;
  std::string why;
};

TEST_F(InstanceLocks, ALaterStartFindsTheFirstAndPokesIt) {
  InstanceLock first;
  ASSERT_EQ(first.Take(folder, "corsaro270", &why), InstanceLock::Claim::kFirst) << why;
  EXPECT_TRUE(fs::exists(folder + "/corsaro270.lock"));
  EXPECT_TRUE(fs::is_socket(folder + "/corsaro270.sock"));
  EXPECT_EQ(first.TakePokes(), 0);

  InstanceLock second;
  EXPECT_EQ(second.Take(folder, "corsaro270", &why), InstanceLock::Claim::kAlreadyRunning);
  EXPECT_FALSE(second.Held());
  InstanceLock third;
  EXPECT_EQ(third.Take(folder, "corsaro270", &why), InstanceLock::Claim::kAlreadyRunning);
  EXPECT_EQ(first.TakePokes(), 2);
  EXPECT_EQ(first.TakePokes(), 0) << "each poke is taken once";
}

TEST_F(InstanceLocks, OtherNamesRunBesideEachOther) {
  InstanceLock program;
  InstanceLock demo;
  EXPECT_EQ(program.Take(folder, "corsaro270", &why), InstanceLock::Claim::kFirst);
  EXPECT_EQ(demo.Take(folder, "corsaro270-demo", &why), InstanceLock::Claim::kFirst);
}

TEST_F(InstanceLocks, ReleasingLetsTheNextStartBeFirstAndRemovesTheSocket) {
  {
    InstanceLock first;
    ASSERT_EQ(first.Take(folder, "corsaro270", &why), InstanceLock::Claim::kFirst);
  }
  EXPECT_FALSE(fs::exists(folder + "/corsaro270.sock"));
  InstanceLock next;
  EXPECT_EQ(next.Take(folder, "corsaro270", &why), InstanceLock::Claim::kFirst);
}

TEST_F(InstanceLocks, ASocketLeftByARunThatDiedIsReplaced) {
  // A run that was killed leaves its socket file, bound but without a listener.
  const int stale = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = folder + "/corsaro270.sock";
  std::strcpy(address.sun_path, path.c_str());
  ASSERT_EQ(bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(stale);

  InstanceLock first;
  ASSERT_EQ(first.Take(folder, "corsaro270", &why), InstanceLock::Claim::kFirst);
  EXPECT_TRUE(why.empty()) << why;
  InstanceLock second;
  EXPECT_EQ(second.Take(folder, "corsaro270", &why), InstanceLock::Claim::kAlreadyRunning);
  EXPECT_EQ(first.TakePokes(), 1);
}

TEST_F(InstanceLocks, AFolderThatCannotHoldTheLockLeavesTheQuestionOpen) {
  InstanceLock lock;
  EXPECT_EQ(lock.Take(folder + "/missing", "corsaro270", &why), InstanceLock::Claim::kUnavailable);
  EXPECT_NE(why.find(folder + "/missing/corsaro270.lock"), std::string::npos) << why;
}

TEST_F(InstanceLocks, ASocketPathTooLongStillKeepsTheRunAlone) {
  const std::string deep = folder + "/" + std::string(120, 'd');
  fs::create_directories(deep);
  InstanceLock first;
  EXPECT_EQ(first.Take(deep, "corsaro270", &why), InstanceLock::Claim::kFirst);
  EXPECT_NE(why.find("too long"), std::string::npos) << why;
  InstanceLock second;
  EXPECT_EQ(second.Take(deep, "corsaro270", &why), InstanceLock::Claim::kAlreadyRunning);
  EXPECT_EQ(first.TakePokes(), 0);
}

}  // namespace
