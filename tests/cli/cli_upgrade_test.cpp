// corsaro270-cli upgrade: on a virtual receiver kept in a file, where the tool replugs the
// receiver itself, and on a receiver reached like a real one, where the user must.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "device/hid_port.h"
#include "device/virtual_receiver.h"

namespace {

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// The percentages of the plain progress lines ("NN% text"), in order.
std::vector<int> Percentages(const std::string& out) {
  std::vector<int> percents;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t sign = line.find("% ");
    if (sign != std::string::npos && sign <= 3) percents.push_back(std::stoi(line.substr(0, sign)));
  }
  return percents;
}

constexpr std::uint8_t kSignature[16] = {'O', 'R', 'M', 'I', 'C', '_', 'D', 'F', 'U'};

}  // namespace

using CliUpgrade = Cli;

TEST_F(CliUpgrade, AnOutOfDateReceiverIsUpgradedRepluggedAndChecked) {
  const Result upgrade = RunVirtual({"--firmware-version", "1.80", "upgrade"});
  EXPECT_EQ(upgrade.status, kExitOk) << upgrade.err;
  EXPECT_TRUE(Contains(upgrade.out, "100% REMOVE WHEEL\n")) << upgrade.out;
  const std::vector<int> percents = Percentages(upgrade.out);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_TRUE(Contains(upgrade.out, "Replugged the virtual receiver.\n"));
  EXPECT_TRUE(Contains(upgrade.out, "The receiver now runs firmware v1.96.\n")) << upgrade.out;

  const Result info = RunVirtual({"info"});
  EXPECT_TRUE(Contains(info.out, "Wheel Firmware v1.96\n")) << info.out;
  EXPECT_TRUE(Contains(info.out, "Upgrade image staged: no\n")) << info.out;
}

TEST_F(CliUpgrade, AnUpToDateReceiverIsLeftAloneUnlessForced) {
  ASSERT_EQ(RunVirtual({"info"}).status, kExitOk);
  const std::vector<std::uint8_t> before = ReadBytes(Path("flash.bin"));
  const Result refused = RunVirtual({"upgrade"});
  EXPECT_EQ(refused.status, 3);
  EXPECT_TRUE(Contains(refused.out, "already runs firmware v1.96")) << refused.out;
  EXPECT_TRUE(Contains(refused.out, "--force")) << refused.out;
  EXPECT_EQ(ReadBytes(Path("flash.bin")), before);

  const Result forced = RunVirtual({"upgrade", "--force"});
  EXPECT_EQ(forced.status, kExitOk) << forced.err;
  EXPECT_TRUE(Contains(forced.out, "100% REMOVE WHEEL\n")) << forced.out;

  EXPECT_EQ(RunVirtual({"upgrade", "--forced"}).status, kExitUsage);
  EXPECT_TRUE(Contains(Run({"--help"}).out, "3 nothing to do"));
}

TEST_F(CliUpgrade, AnImageStagedEarlierIsClearedFirst) {
  VirtualReceiver receiver;
  receiver.SetFirmwareVersion(0x0180);
  const std::vector<std::uint8_t> stale(0xC000, 0x00);  // signed, but not the carried body
  receiver.LoadFlash(0x10000, stale.data(), 0xC000);
  receiver.LoadFlash(0x10000, kSignature, sizeof kSignature);
  std::string why;
  ASSERT_TRUE(receiver.SaveFile(Path("flash.bin"), why)) << why;
  ASSERT_TRUE(Contains(RunVirtual({"info"}).out, "Upgrade image staged: yes\n"));

  const Result upgrade = RunVirtual({"upgrade"});
  EXPECT_EQ(upgrade.status, kExitOk) << upgrade.err;
  EXPECT_TRUE(Contains(upgrade.out, "Clearing the image staged by an earlier upgrade.\n"))
      << upgrade.out;
  EXPECT_TRUE(Contains(upgrade.out, "The receiver now runs firmware v1.96.\n")) << upgrade.out;
}

// A receiver found through the device backend, as a real one is: the tool cannot replug it.
class CliUpgradeOnDevice : public Cli {
 protected:
  void SetUp() override {
    Cli::SetUp();
    receiver.SetFirmwareVersion(0x0180);
    backend.Add(&receiver);
    SetCurrentHidBackend(&backend);
  }
  void TearDown() override {
    SetCurrentHidBackend(nullptr);
    Cli::TearDown();
  }

  VirtualReceiver receiver{std::string("virtual:cli-upgrade-") +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  VirtualHidBackend backend;
};

TEST_F(CliUpgradeOnDevice, SuccessAsksTheUserToReplugAndClaimsNoInstall) {
  const Result upgrade = Run({"upgrade"});
  EXPECT_EQ(upgrade.status, kExitOk) << upgrade.err;
  EXPECT_TRUE(Contains(upgrade.out, "Unplug the receiver and plug it in again")) << upgrade.out;
  EXPECT_FALSE(Contains(upgrade.out, "now runs")) << upgrade.out;
  EXPECT_EQ(receiver.FirmwareVersion(), 0x0180) << "installed only when replugged";
  std::uint8_t signature[16];
  receiver.ReadFlash(0x10000, signature, sizeof signature);
  EXPECT_EQ(std::memcmp(signature, kSignature, 16), 0);
}

TEST_F(CliUpgradeOnDevice, AtTheBusPaceTheBodyShowsItsProgressLineByLine) {
  receiver.SetTiming(VirtualTiming::kFullSpeed);
  const Result upgrade = Run({"upgrade"});
  EXPECT_EQ(upgrade.status, kExitOk) << upgrade.err;
  const std::vector<int> percents = Percentages(upgrade.out);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << upgrade.out;
  const int during = static_cast<int>(
      std::count_if(percents.begin(), percents.end(), [](int p) { return p > 0 && p < 100; }));
  EXPECT_GE(during, 10) << upgrade.out;
  EXPECT_TRUE(Contains(upgrade.out, "% Reprogramming firmware...\n")) << upgrade.out;
  EXPECT_TRUE(Contains(upgrade.out, "100% REMOVE WHEEL\n")) << upgrade.out;
}

TEST_F(CliUpgradeOnDevice, AFailureSaysWhichStepFailedAndExitsWithOne) {
  receiver.SetFaults({.onlyCode = 0x18, .wrongCrc = true});
  const Result upgrade = Run({"upgrade"});
  EXPECT_EQ(upgrade.status, kExitFailure);
  EXPECT_TRUE(Contains(upgrade.err, "Firmware upgrade failed: CRC check failed\n")) << upgrade.err;
  EXPECT_FALSE(Contains(upgrade.out, "Unplug")) << upgrade.out;
  std::uint8_t signature[16];
  receiver.ReadFlash(0x10000, signature, sizeof signature);
  EXPECT_NE(std::memcmp(signature, kSignature, 9), 0);
}

TEST_F(CliUpgradeOnDevice, AStagedImageThatCannotBeClearedStopsTheUpgrade) {
  receiver.LoadFlash(0x10000, kSignature, sizeof kSignature);
  receiver.SetFaults({.onlyCode = 0x0F, .noReply = true});
  receiver.RecordRequests(true);
  const Result upgrade = Run({"upgrade"});
  EXPECT_EQ(upgrade.status, kExitFailure);
  EXPECT_TRUE(Contains(upgrade.err, "ID clear - flash write error")) << upgrade.err;
  for (const auto& request : receiver.RecordedRequests()) EXPECT_NE(request[5], 0x10) << "erased";
}
