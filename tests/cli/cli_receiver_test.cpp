// The tool and the receiver: a receiver it may not open, and a second writer on one receiver.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "cli_fixture.h"
#include "device/hid_port.h"
#include "device/receiver_lock.h"
#include "device/virtual_receiver.h"
#include "profile/factory_profiles.h"

namespace {

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// The rule is copied from wherever this program's checkout keeps it.
constexpr const char* kRuleCommand =
    "60-corsaro270.rules /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm "
    "trigger";

}  // namespace

using CliReceiverAccess = Cli;

TEST_F(CliReceiverAccess, ListAndInfoAgreeThatTheReceiverMayNotBeOpened) {
  VirtualReceiver receiver("/dev/hidraw7");
  receiver.SetAccessDenied(true);
  VirtualHidBackend backend;
  backend.Add(&receiver);
  SetCurrentHidBackend(&backend);
  const Result list = Run({"list"});
  const Result info = Run({"info"});
  SetCurrentHidBackend(nullptr);

  EXPECT_EQ(list.status, kExitOk);
  EXPECT_TRUE(Contains(list.out, "/dev/hidraw7  vendor 0x2E7B  product 0x0262  permission denied"))
      << list.out;
  EXPECT_TRUE(Contains(list.err, kRuleCommand)) << list.err;

  EXPECT_EQ(info.status, kExitFailure);
  EXPECT_TRUE(Contains(info.err, "/dev/hidraw7: permission denied")) << info.err;
  EXPECT_TRUE(Contains(info.err, kRuleCommand)) << info.err;
  EXPECT_FALSE(Contains(info.err, "No receiver")) << info.err;
}

TEST_F(CliReceiverAccess, AReceiverThatOpensIsListedWithoutAComplaint) {
  const Result list = RunVirtual({"list"});
  EXPECT_EQ(list.status, kExitOk);
  EXPECT_FALSE(Contains(list.out, "permission")) << list.out;
  EXPECT_TRUE(list.err.empty()) << list.err;
}

// A second process holds the receiver's lock, as the customiser does while it writes.
class CliSecondWriter : public Cli {
 protected:
  void SetUp() override {
    Cli::SetUp();
    WriteBytes(Path("a.cs270"), Container(FactoryProfiles[2]));
    ASSERT_EQ(RunVirtual({"info"}).status, kExitOk);
    holdings = ReadBytes(Path("flash.bin"));
  }
  void TearDown() override {
    ReleaseHolder();
    Cli::TearDown();
  }

  void StartHolder() {
    ASSERT_EQ(pipe(toHolder), 0);
    ASSERT_EQ(pipe(fromHolder), 0);
    std::fflush(nullptr);  // nothing buffered may be written twice
    holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
      ReceiverLock lock;
      std::string why;
      const char held = lock.Acquire(ReceiverIdentity(Path("flash.bin")), 0, why) ? 'y' : 'n';
      (void)!write(fromHolder[1], &held, 1);
      char done = 0;
      (void)!read(toHolder[0], &done, 1);
      _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(fromHolder[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
  }
  void ReleaseHolder() {
    if (holder <= 0) return;
    (void)!write(toHolder[1], "x", 1);
    int status = 0;
    waitpid(holder, &status, 0);
    holder = 0;
    for (int fd : {toHolder[0], toHolder[1], fromHolder[0], fromHolder[1]}) close(fd);
  }

  pid_t holder = 0;
  int toHolder[2] = {-1, -1};
  int fromHolder[2] = {-1, -1};
  std::vector<std::uint8_t> holdings;
};

TEST_F(CliSecondWriter, WaitsABoundedTimeThenFailsAndLeavesTheReceiverAlone) {
  StartHolder();
  const auto start = std::chrono::steady_clock::now();
  const Result write =
      RunVirtual({"write-profiles", Path("a.cs270"), Path("a.cs270"), Path("a.cs270")});
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(write.status, kExitFailure);
  EXPECT_TRUE(Contains(write.err, "another program is writing to this receiver")) << write.err;
  EXPECT_GE(waited, std::chrono::seconds(2));
  EXPECT_LT(waited, std::chrono::seconds(10));
  EXPECT_EQ(ReadBytes(Path("flash.bin")), holdings);

  // Readers do not wait for the writer.
  EXPECT_EQ(RunVirtual({"info"}).status, kExitOk);

  ReleaseHolder();
  EXPECT_EQ(
      RunVirtual({"write-profiles", Path("a.cs270"), Path("a.cs270"), Path("a.cs270")}).status,
      kExitOk);
  EXPECT_NE(ReadBytes(Path("flash.bin")), holdings);
}
