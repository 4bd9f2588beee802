#include "device/firmware_upgrade.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "common/app_state.h"
#include "common/firmware_crc.h"
#include "device/connection.h"
#include "device/firmware_image.h"
#include "device/headless_connection_listener.h"
#include "device/hid_link.h"
#include "device/progress.h"
#include "device/receiver_lock.h"
#include "device/virtual_receiver.h"
#include "profile/headless_profile_controls.h"
#include "profile/profile_state.h"
#include "tests/device/upgrade_session.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Short pauses, given through the same parameter as the screen's and the tool's.
constexpr UpgradePauses kQuickPauses{2ms, 2ms, 20ms};

constexpr std::uint32_t kUpgradeArea = 0x10000;
constexpr std::uint32_t kUpgradeAreaBytes = 0x10000;
constexpr std::uint32_t kImageBytes = 0xC000;
constexpr std::uint32_t kBodyReports = 3071;
constexpr std::uint8_t kSignature[16] = {'O', 'R', 'M', 'I', 'C', '_', 'D', 'F', 'U'};

// What the shell's device-change function does with a notice.
void OnDeviceChange(int event, const char* path) {
  if (event == 0x8000 && !ReceiverConnected) ConnectReceiver(path);
  if (event == 0x8004 && ReceiverConnected) DisconnectReceiver();
}

// Polls `condition` on this thread, as the frame loop reads the shared values.
template <typename Condition>
bool Eventually(Condition condition, std::chrono::milliseconds limit = 5000ms) {
  const auto deadline = Clock::now() + limit;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

std::string Text(const char* message) {
  return message != nullptr ? message : "(null)";
}

}  // namespace

// An out-of-date receiver, connected as the program connects it; each test names its own so that
// tests running side by side do not share a writer lock.
class FirmwareUpgrade : public ::testing::Test {
 protected:
  void SetUp() override {
    receiver.SetFirmwareVersion(0x0180);
    backend.Add(&receiver);
    ConnectBeforeUpgrade(&backend, &listener, &controls);
    ASSERT_EQ(ReceiverConnected, 1);
    ASSERT_EQ(FirmwareOutOfDate, 1);
    FirmwareOutOfDate = 0;
    requestsBefore = receiver.RequestCount();
  }
  void TearDown() override { EndUpgradeSession(); }

  static std::string UniquePath() {
    return std::string("virtual:upgrade-") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }

  // Runs a whole upgrade and waits for the worker to end.
  void RunUpgrade(const UpgradePauses& pauses = kQuickPauses) {
    StartFirmwareUpgrade(pauses);
    ASSERT_TRUE(WaitForFirmwareUpgrade(10s));
    StopFirmwareUpgrade();
  }

  // The receiver's request number `n` of the upgrade, counted from 0 after connecting.
  void RemoveAtUpgradeRequest(int n) {
    receiver.SetFaults({.removeAfterReports = requestsBefore + n});
  }

  std::vector<std::uint8_t> Flash(std::uint32_t address, std::uint32_t length) const {
    std::vector<std::uint8_t> bytes(length);
    receiver.ReadFlash(address, bytes.data(), length);
    return bytes;
  }
  bool SignaturePresent() const {
    return std::memcmp(Flash(kUpgradeArea, 9).data(), kSignature, 9) == 0;
  }

  VirtualReceiver receiver{UniquePath()};
  VirtualHidBackend backend;
  HeadlessConnectionListener listener;
  HeadlessProfileControls controls;
  int requestsBefore = 0;
};

TEST(FirmwareImage, CarriedImageHasTheSignatureInFrontOfABodyWithTheReceiversCrc) {
  const auto image = CarriedFirmwareImage();
  ASSERT_EQ(image.size(), 49152u);
  EXPECT_EQ(std::memcmp(image.data(), kSignature, 16), 0);
  EXPECT_EQ(FirmwareCrc(image.data() + 16, 0xBFF0), 0x40970946u);
}

TEST(FirmwareUpgradePauses, TheScreenWaits750msThen1000msOrHoldsAFailure15s) {
  EXPECT_EQ(kScreenUpgradePauses.initial, 750ms);
  EXPECT_EQ(kScreenUpgradePauses.afterSuccess, 1000ms);
  EXPECT_EQ(kScreenUpgradePauses.failureHold, 15000ms);
  EXPECT_EQ(kNoUpgradePauses.initial + kNoUpgradePauses.afterSuccess + kNoUpgradePauses.failureHold,
            0ms);
}

TEST_F(FirmwareUpgrade, StagesTheImageAndSignsItOnlyAfterTheReceiverConfirmsItsCrc) {
  receiver.RecordRequests(true);
  RunUpgrade();
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
  EXPECT_EQ(UpgradeRunning.load(), 0);
  EXPECT_EQ(ProgressPercent.load(), 100);
  EXPECT_EQ(Text(ProgressMessage), "REMOVE WHEEL");

  const auto image = CarriedFirmwareImage();
  const auto area = Flash(kUpgradeArea, kUpgradeAreaBytes);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), area.begin())) << "signature and body";
  EXPECT_TRUE(std::all_of(area.begin() + kImageBytes, area.end(), [](auto b) { return b == 0xFF; }))
      << "the rest of the upgrade area is erased";

  // Radio state, 16 sector erases, the body, the CRC request, and the signature last.
  const auto requests = receiver.RecordedRequests();
  ASSERT_EQ(requests.size(), 1u + 16 + kBodyReports + 1 + 1);
  EXPECT_EQ(requests[0][5], 0x16);
  for (std::uint32_t s = 0; s < 16; ++s) {
    EXPECT_EQ(requests[1 + s][5], 0x10);
    EXPECT_EQ(requests[1 + s][10], 1) << "sector 0x1" << std::hex << s << "000";
    EXPECT_EQ(requests[1 + s][9], s << 4);
  }
  EXPECT_EQ(requests[17][5], 0x0F);
  EXPECT_EQ(requests[17][8], 0x10) << "the body starts at 0x10010";
  EXPECT_EQ(requests[17 + kBodyReports][5], 0x18);
  const auto& last = requests.back();
  EXPECT_EQ(last[5], 0x0F);
  EXPECT_EQ(last[8] | last[9] << 8 | last[10] << 16, 0x10000);
  EXPECT_EQ(std::memcmp(&last[16], kSignature, 16), 0);

  // Replugged, the receiver installs the staged image and reports the new version.
  receiver.Unplug();
  receiver.Plug();
  receiver.DeliverDeviceChanges(OnDeviceChange);
  EXPECT_EQ(WheelFirmwareVersion, 0x0196);
}

// A replug quicker than a frame: its removal and its arrival reach the program together, before
// the update screen looks again. The removal alone already means the return is awaited; after a
// failed upgrade it does not.
TEST_F(FirmwareUpgrade, ARemovalAfterTheImageIsStagedAwaitsTheReturnEvenWithTheArrivalAtOnce) {
  RunUpgrade();
  ASSERT_EQ(UpgradeRunning.load(), 0);
  receiver.Unplug();
  receiver.Plug();
  receiver.DeliverDeviceChanges(OnDeviceChange);
  EXPECT_EQ(AppState, APP_UPDATE_WAIT_RETURN);
  EXPECT_EQ(ReceiverConnected, 1);
  EXPECT_EQ(WheelFirmwareVersion, 0x0196);
}

TEST_F(FirmwareUpgrade, ARemovalAfterAFailedUpgradeAwaitsNoReturn) {
  RemoveAtUpgradeRequest(100);
  RunUpgrade();
  ASSERT_EQ(UpgradeRunning.load(), 1);
  receiver.DeliverDeviceChanges(OnDeviceChange);
  EXPECT_EQ(ReceiverConnected, 0);
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
}

TEST_F(FirmwareUpgrade, AReceiverSilentOnTheRadioStateFailsAtOnceAndErasesNothing) {
  const std::vector<std::uint8_t> staged(kImageBytes, 0x5A);
  receiver.LoadFlash(kUpgradeArea, staged.data(), kImageBytes);
  const auto before = Flash(0, VirtualReceiver::kFlashSize);
  receiver.SetFaults({.onlyCode = 0x16, .noReply = true});
  receiver.RecordRequests(true);
  RunUpgrade();
  EXPECT_EQ(Text(ProgressMessage), "Write Radio state failed");
  EXPECT_EQ(ProgressPercent.load(), 0);
  EXPECT_EQ(UpgradeRunning.load(), 1);
  EXPECT_EQ(Flash(0, VirtualReceiver::kFlashSize), before);
  for (const auto& request : receiver.RecordedRequests()) EXPECT_EQ(request[5], 0x16);
}

TEST_F(FirmwareUpgrade, AWrongCrcLeavesTheBodyUnsignedAndTheNextConnectionAsksAgain) {
  receiver.SetFaults({.onlyCode = 0x18, .wrongCrc = true});
  RunUpgrade();
  EXPECT_EQ(Text(ProgressMessage), "CRC check failed");
  EXPECT_EQ(ProgressPercent.load(), 99) << "the bar keeps its last value";
  EXPECT_EQ(UpgradeRunning.load(), 1);
  EXPECT_EQ(Flash(kUpgradeArea, 16), std::vector<std::uint8_t>(16, 0xFF)) << "no signature";

  receiver.Unplug();
  receiver.Plug();
  receiver.DeliverDeviceChanges(OnDeviceChange);
  EXPECT_EQ(WheelFirmwareVersion, 0x0180) << "an unsigned image is not installed";
  EXPECT_EQ(FirmwareOutOfDate, 1);
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING) << "a failed upgrade stays in state 9";
}

TEST_F(FirmwareUpgrade, ARemovalJustBeforeTheSignatureFailsWithItsText) {
  RemoveAtUpgradeRequest(1 + 16 + kBodyReports + 1);
  RunUpgrade();
  EXPECT_EQ(Text(ProgressMessage), "Writing signature failed");
  EXPECT_EQ(UpgradeRunning.load(), 1);
  EXPECT_FALSE(SignaturePresent());
}

TEST_F(FirmwareUpgrade, ARemovalAtTheLastBodyReportLeavesTheBarAt99) {
  RemoveAtUpgradeRequest(1 + 16 + kBodyReports - 1);
  RunUpgrade();
  EXPECT_EQ(Text(ProgressMessage), "Reprogramming firmware failed");
  EXPECT_EQ(ProgressPercent.load(), 99);
}

TEST_F(FirmwareUpgrade, ARemovalHalfWayLeavesTheBarAtTheLastWholePercent) {
  // Body report 1536 is lost: the last one sent, 1535, showed 100 * 1535 / 3071 = 49 percent.
  RemoveAtUpgradeRequest(1 + 16 + 1536);
  RunUpgrade();
  EXPECT_EQ(Text(ProgressMessage), "Reprogramming firmware failed");
  EXPECT_EQ(ProgressPercent.load(), 49);
  EXPECT_FALSE(SignaturePresent());
}

struct StepFault {
  const char* name;
  VirtualReceiverFaults faults;
  const char* text;
};

class FirmwareUpgradeStep : public FirmwareUpgrade,
                            public ::testing::WithParamInterface<StepFault> {};

TEST_P(FirmwareUpgradeStep, FailsWithTheStepsTextAndNoSignatureAndStaysRunning) {
  receiver.SetFaults(GetParam().faults);
  RunUpgrade();
  EXPECT_EQ(Text(ProgressMessage), GetParam().text);
  EXPECT_EQ(UpgradeRunning.load(), 1);
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
  EXPECT_FALSE(SignaturePresent());
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, FirmwareUpgradeStep,
    ::testing::Values(
        StepFault{"Erase", {.onlyCode = 0x10, .noReply = true}, "Erasing flash failed"},
        StepFault{"EraseReplyWrong", {.onlyCode = 0x10, .wrongCode = true}, "Erasing flash failed"},
        StepFault{"Write", {.onlyCode = 0x0F, .noReply = true}, "Reprogramming firmware failed"},
        StepFault{"WriteReplyWrong",
                  {.onlyCode = 0x0F, .wrongMagic = true},
                  "Reprogramming firmware failed"},
        StepFault{"Crc", {.onlyCode = 0x18, .noReply = true}, "CRC generation failed"},
        StepFault{"CrcMismatch", {.onlyCode = 0x18, .wrongCrc = true}, "CRC check failed"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(FirmwareUpgrade, NoReceiverFailsAtTheRadioState) {
  DisconnectReceiver();
  RunUpgrade();
  EXPECT_EQ(Text(ProgressMessage), "Write Radio state failed");
  EXPECT_EQ(UpgradeRunning.load(), 1);
}

TEST_F(FirmwareUpgrade, TheScreensFirstPauseShowsItsTextBeforeAnythingIsSent) {
  StartFirmwareUpgrade();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(Text(ProgressMessage), "Initialising Firmware Upgrade");
  EXPECT_EQ(ProgressPercent.load(), 0);
  EXPECT_EQ(receiver.RequestCount(), requestsBefore);
  const auto start = Clock::now();
  StopFirmwareUpgrade();
  EXPECT_LT(Clock::now() - start, 200ms) << "a stop cuts the pause short";
  EXPECT_EQ(receiver.RequestCount(), requestsBefore) << "nothing is sent after a stop";
}

// The receiver at the USB full-speed pace: the body takes about three seconds.
class FirmwareUpgradeAtFullSpeed : public FirmwareUpgrade {
 protected:
  void SetUp() override {
    FirmwareUpgrade::SetUp();
    receiver.SetTiming(VirtualTiming::kFullSpeed);
  }
  // Starts the upgrade and returns once the bar shows `percent`, noting every value seen.
  void StartAndWaitFor(int percent) {
    StartFirmwareUpgrade(kQuickPauses);
    ASSERT_TRUE(Eventually([&] {
      const int now = ProgressPercent.load();
      if (seen.empty() || seen.back() != now) seen.push_back(now);
      return now >= percent;
    }));
  }
  std::vector<int> seen;
};

TEST_F(FirmwareUpgradeAtFullSpeed, UnpluggingMidTransferFailsTheWorkerNotTheProgram) {
  StartAndWaitFor(20);
  EXPECT_TRUE(FirmwareUpgradeUsesLink());
  EXPECT_EQ(Text(ProgressMessage), "Reprogramming firmware...");
  receiver.Unplug();
  receiver.DeliverDeviceChanges(OnDeviceChange);
  EXPECT_EQ(ReceiverLink, nullptr) << "the program let go of the link; the worker still has it";
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
  ASSERT_TRUE(WaitForFirmwareUpgrade(3s));
  EXPECT_FALSE(FirmwareUpgradeUsesLink());
  EXPECT_EQ(Text(ProgressMessage), "Reprogramming firmware failed");
  EXPECT_EQ(UpgradeRunning.load(), 1);
  EXPECT_FALSE(SignaturePresent());
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.front(), 0);
}

TEST_F(FirmwareUpgradeAtFullSpeed, DisconnectingDuringTheTransferLeavesTheLinkToTheWorker) {
  receiver.RecordRequests(true);
  StartAndWaitFor(10);
  // The program drops its link as on a removal notice, but the receiver stays.
  DisconnectReceiver();
  receiver.SetTiming(VirtualTiming::kInstant);  // no need to wait out the rest at full speed
  ASSERT_TRUE(WaitForFirmwareUpgrade(10s));
  EXPECT_EQ(Text(ProgressMessage), "REMOVE WHEEL");
  EXPECT_EQ(UpgradeRunning.load(), 0);
  EXPECT_TRUE(SignaturePresent());
  for (const auto& request : receiver.RecordedRequests()) {
    EXPECT_NE(request[5], 0x02) << "the main thread sent a sync through the worker's link";
  }
  EXPECT_LE(seen.back(), 99);
}

TEST_F(FirmwareUpgradeAtFullSpeed, AStopMidBodyEndsWithinAGroupAndNeverSigns) {
  StartAndWaitFor(5);
  const auto start = Clock::now();
  StopFirmwareUpgrade();
  EXPECT_LT(Clock::now() - start, 300ms);
  const int sent = receiver.RequestCount();
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(receiver.RequestCount(), sent) << "nothing goes out after the stop";
  EXPECT_FALSE(SignaturePresent());
  EXPECT_EQ(UpgradeRunning.load(), 1);
  EXPECT_LT(sent - requestsBefore, 1 + 16 + static_cast<int>(kBodyReports));
}

TEST_F(FirmwareUpgradeAtFullSpeed, TheWorkerHoldsTheReceiversWriterLockUntilItEnds) {
  StartAndWaitFor(5);
  ReceiverLock second;
  std::string why;
  EXPECT_FALSE(second.Acquire(ReceiverIdentity(receiver.Path()), 0, why));
  EXPECT_NE(why.find("another program is writing to this receiver"), std::string::npos) << why;
  StopFirmwareUpgrade();
  EXPECT_TRUE(second.Acquire(ReceiverIdentity(receiver.Path()), 0, why)) << why;
}

TEST_F(FirmwareUpgrade, AnotherWriterMakesTheUpgradeFailWithoutTouchingTheReceiver) {
  ReceiverLock other;
  std::string why;
  ASSERT_TRUE(other.Acquire(ReceiverIdentity(receiver.Path()), 0, why)) << why;
  RunUpgrade();
  EXPECT_EQ(Text(ProgressMessage), "Receiver busy: another program is writing to it");
  EXPECT_EQ(receiver.RequestCount(), requestsBefore);
}

TEST_F(FirmwareUpgrade, TheFailureHoldNeitherBlocksTheCallerNorDelaysAStop) {
  receiver.SetFaults({.onlyCode = 0x16, .noReply = true});
  const UpgradePauses longHold{0ms, 0ms, 60s};
  StartFirmwareUpgrade(longHold);
  ASSERT_TRUE(Eventually([] { return Text(ProgressMessage) == "Write Radio state failed"; }));
  EXPECT_FALSE(WaitForFirmwareUpgrade(50ms)) << "the worker holds its text";
  const auto start = Clock::now();
  StopFirmwareUpgrade();
  EXPECT_LT(Clock::now() - start, 200ms);
  EXPECT_EQ(Text(ProgressMessage), "Write Radio state failed");
}

TEST_F(FirmwareUpgrade, StartingAgainEndsTheHoldOfTheFailedWorkerAndRunsAFreshOne) {
  receiver.SetFaults({.onlyCode = 0x18, .noReply = true});
  StartFirmwareUpgrade({0ms, 0ms, 60s});
  ASSERT_TRUE(Eventually([] { return Text(ProgressMessage) == "CRC generation failed"; }));
  receiver.SetFaults({});
  const auto start = Clock::now();
  StartFirmwareUpgrade(kQuickPauses);
  EXPECT_LT(Clock::now() - start, 200ms);
  EXPECT_EQ(UpgradeRunning.load(), 1);
  ASSERT_TRUE(WaitForFirmwareUpgrade(10s));
  EXPECT_EQ(Text(ProgressMessage), "REMOVE WHEEL");
  EXPECT_TRUE(SignaturePresent());
}
