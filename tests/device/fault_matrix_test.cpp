// Every request of a profile write and of a firmware upgrade, failed in each way a receiver can
// fail: the operation fails in time, never leaves a marker or signature over data that does not
// match it, and succeeds when repeated after a replug.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "common/app_state.h"
#include "common/firmware_crc.h"
#include "device/connection.h"
#include "device/firmware_upgrade.h"
#include "device/headless_connection_listener.h"
#include "device/hid_link.h"
#include "device/progress.h"
#include "device/virtual_receiver.h"
#include "device/wheel_protocol.h"
#include "profile/headless_profile_controls.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"
#include "tests/device/upgrade_session.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

enum class FaultKind { kNoReply, kWrongCode, kWrongMagic, kUnplugAfter };

const char* Name(FaultKind kind) {
  switch (kind) {
    case FaultKind::kNoReply:
      return "NoReply";
    case FaultKind::kWrongCode:
      return "WrongCode";
    case FaultKind::kWrongMagic:
      return "WrongMagic";
    case FaultKind::kUnplugAfter:
      return "UnplugAfter";
  }
  return "?";
}

constexpr FaultKind kAllKinds[] = {FaultKind::kNoReply, FaultKind::kWrongCode,
                                   FaultKind::kWrongMagic, FaultKind::kUnplugAfter};

// A port that hands every request to the virtual receiver and spoils the one with the armed
// index: its reply is swallowed or garbled, or the receiver is pulled out once it took it.
class FaultInjectingPort : public HidPort {
 public:
  FaultInjectingPort(std::unique_ptr<HidPort> inner, VirtualReceiver& receiver,
                     std::atomic<int>& armedIndex, FaultKind kind, std::atomic<int>& sent,
                     std::atomic<bool>& hit)
      : inner_(std::move(inner)),
        receiver_(receiver),
        armedIndex_(armedIndex),
        kind_(kind),
        sent_(sent),
        hit_(hit) {}

  std::uint16_t VendorId() const override { return inner_->VendorId(); }
  std::uint16_t ProductId() const override { return inner_->ProductId(); }
  std::size_t InputReportLength() const override { return inner_->InputReportLength(); }
  std::size_t OutputReportLength() const override { return inner_->OutputReportLength(); }

  bool Write(const std::uint8_t* report, std::size_t length, int timeoutMs) override {
    const bool faulty = sent_.fetch_add(1) == armedIndex_.load();
    if (faulty) {
      hit_ = true;
      if (kind_ == FaultKind::kNoReply) receiver_.SetFaults({.noReply = true});
      if (kind_ == FaultKind::kWrongCode) receiver_.SetFaults({.wrongCode = true});
      if (kind_ == FaultKind::kWrongMagic) receiver_.SetFaults({.wrongMagic = true});
    }
    const bool written = inner_->Write(report, length, timeoutMs);
    if (faulty) {
      receiver_.SetFaults({});
      if (kind_ == FaultKind::kUnplugAfter) receiver_.Unplug();
    }
    return written;
  }
  HidReadResult Read(std::uint8_t* report, std::size_t length, int timeoutMs) override {
    return inner_->Read(report, length, timeoutMs);
  }
  void FlushInput() override { inner_->FlushInput(); }
  void SetInputBufferCount(int count) override { inner_->SetInputBufferCount(count); }
  void Cancel() override { inner_->Cancel(); }

 private:
  std::unique_ptr<HidPort> inner_;
  VirtualReceiver& receiver_;
  std::atomic<int>& armedIndex_;
  FaultKind kind_;
  std::atomic<int>& sent_;
  std::atomic<bool>& hit_;
};

// Lists and opens one virtual receiver through fault-injecting ports. Requests are counted from
// the last Arm over every port opened since.
class FaultInjectingBackend : public HidBackend {
 public:
  explicit FaultInjectingBackend(VirtualReceiver& receiver) : receiver_(receiver) {
    inner_.Add(&receiver);
  }

  void Arm(int index, FaultKind kind) {
    kind_ = kind;
    hit_ = false;
    sent_ = 0;
    armedIndex_ = index;
  }
  void Disarm() { armedIndex_ = -1; }
  bool Hit() const { return hit_; }
  int Sent() const { return sent_; }

  std::vector<HidDeviceInfo> Enumerate() override { return inner_.Enumerate(); }
  std::unique_ptr<HidPort> Open(const std::string& path, HidOpenError& error) override {
    auto port = inner_.Open(path, error);
    if (port == nullptr) return nullptr;
    return std::make_unique<FaultInjectingPort>(std::move(port), receiver_, armedIndex_, kind_,
                                                sent_, hit_);
  }

 private:
  VirtualReceiver& receiver_;
  VirtualHidBackend inner_;
  FaultKind kind_ = FaultKind::kNoReply;
  std::atomic<int> armedIndex_{-1};
  std::atomic<int> sent_{0};
  std::atomic<bool> hit_{false};
};

// Loose: the longest wait is one group's 1 s deadline; a sanitized build on a busy machine is slow.
constexpr auto kFailureLimit = 5s;

std::vector<std::uint8_t> Flash(const VirtualReceiver& receiver, std::uint32_t address,
                                std::uint32_t length) {
  std::vector<std::uint8_t> bytes(length);
  receiver.ReadFlash(address, bytes.data(), length);
  return bytes;
}

// Request index, fault, and whether time-outs really wait (slow: a group's deadline per case).
using MatrixCase = std::tuple<int, FaultKind, VirtualTiming>;

std::string CaseName(const ::testing::TestParamInfo<MatrixCase>& info) {
  return std::string("Request") + std::to_string(std::get<0>(info.param)) + "_" +
         Name(std::get<1>(info.param)) +
         (std::get<2>(info.param) == VirtualTiming::kRealTime ? "_RealTime" : "");
}

// ---------------------------------------------------------------------------------------------
// Profile write (without the backup in front, so the indices are the write's own): the sector
// erase, then for each record 7 write and 7 read-back reports, then the marker: 44 requests.

constexpr int kProfileWriteRequests = 1 + 3 * (7 + 7) + 1;
constexpr std::uint32_t kRecordAddresses[3] = {0xC010, 0xC090, 0xC110};
constexpr std::uint8_t kMarker[4] = {0x32, 0x54, 0x76, 0x98};

WheelProfile Patterned(int seed) {
  WheelProfile profile;
  for (int i = 0; i < kProfileSize; ++i) profile.bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
  return profile;
}

class ProfileWriteFaults : public ::testing::TestWithParam<MatrixCase> {
 protected:
  void SetUp() override {
    receiver.SetTiming(std::get<2>(GetParam()));
    ASSERT_TRUE(link.OpenFirstReceiver());
    for (int i = 0; i < kProfileCount; ++i) ProfileSet[i] = older[i] = Patterned(10 * (i + 1));
    ASSERT_TRUE(WriteProfileToReceiver(link, ProfileBackupRule::kSkip));
    for (int i = 0; i < kProfileCount; ++i) ProfileSet[i] = newer[i] = Patterned(100 + i);
  }

  bool MarkerPresent() const {
    return std::memcmp(Flash(receiver, 0xC000, 4).data(), kMarker, 4) == 0;
  }
  bool SectorHolds(const WheelProfile (&records)[kProfileCount]) const {
    for (int i = 0; i < kProfileCount; ++i) {
      const auto stored = Flash(receiver, kRecordAddresses[i], kProfileSize);
      if (std::memcmp(stored.data(), records[i].bytes.data(), kProfileSize) != 0) return false;
    }
    return true;
  }

  VirtualReceiver receiver;
  FaultInjectingBackend backend{receiver};
  HidLink link{backend};
  WheelProfile older[kProfileCount];
  WheelProfile newer[kProfileCount];
};

TEST(ProfileWriteFaultMatrix, TheWriteSendsTheRequestsTheMatrixCovers) {
  VirtualReceiver receiver;
  FaultInjectingBackend backend(receiver);
  HidLink link(backend);
  ASSERT_TRUE(link.OpenFirstReceiver());
  backend.Arm(-1, FaultKind::kNoReply);
  ASSERT_TRUE(WriteProfileToReceiver(link, ProfileBackupRule::kSkip));
  EXPECT_EQ(backend.Sent(), 44);
}

TEST_P(ProfileWriteFaults, FailsInTimeKeepsTheMarkerHonestAndSucceedsAfterAReplug) {
  const int index = std::get<0>(GetParam());
  const FaultKind kind = std::get<1>(GetParam());
  backend.Arm(index, kind);
  const auto start = Clock::now();
  const bool written = WriteProfileToReceiver(link, ProfileBackupRule::kSkip);
  const auto elapsed = Clock::now() - start;
  backend.Disarm();
  ASSERT_TRUE(backend.Hit()) << "the write never sent request " << index;
  EXPECT_FALSE(written);
  EXPECT_LT(elapsed, kFailureLimit);
  if (MarkerPresent()) {
    EXPECT_TRUE(SectorHolds(newer) || SectorHolds(older)) << "marker over mixed records";
  }

  receiver.Unplug();
  receiver.Plug();
  ASSERT_TRUE(link.OpenFirstReceiver());
  ASSERT_TRUE(WriteProfileToReceiver(link, ProfileBackupRule::kSkip));
  EXPECT_TRUE(MarkerPresent());
  EXPECT_TRUE(SectorHolds(newer));
}

INSTANTIATE_TEST_SUITE_P(EveryRequest, ProfileWriteFaults,
                         ::testing::Combine(::testing::Range(0, kProfileWriteRequests),
                                            ::testing::ValuesIn(kAllKinds),
                                            ::testing::Values(VirtualTiming::kInstant)),
                         CaseName);
// The erase, a record's first write and first read-back, and the marker, with real waits.
INSTANTIATE_TEST_SUITE_P(OneRequestPerStepWithRealWaits, ProfileWriteFaults,
                         ::testing::Combine(::testing::Values(0, 1, 8, 43),
                                            ::testing::ValuesIn(kAllKinds),
                                            ::testing::Values(VirtualTiming::kRealTime)),
                         CaseName);

// ---------------------------------------------------------------------------------------------
// Firmware upgrade: the radio state (request 0), 16 sector erases (1-16), 3071 body reports
// (17-3087) in groups of 48, the CRC request (3088) and the signature (3089). Every request of the
// small steps is covered; of the body, the first and last report, both sides of the first group
// boundary, and one in the middle, since the body's reports all go through the same batch.

constexpr std::uint8_t kSignature[9] = {'O', 'R', 'M', 'I', 'C', '_', 'D', 'F', 'U'};
constexpr std::uint32_t kCarriedBodyCrc = 0x40970946;

std::vector<int> SampledUpgradeRequests() {
  std::vector<int> indices;
  for (int i = 0; i <= 16; ++i) indices.push_back(i);
  for (int i : {17, 18, 64, 65, 1552, 3086, 3087, 3088, 3089}) indices.push_back(i);
  return indices;
}

// What the shell's device-change function does with a notice.
void OnDeviceChange(int event, const char* path) {
  if (event == 0x8000 && !ReceiverConnected) ConnectReceiver(path);
  if (event == 0x8004 && ReceiverConnected) DisconnectReceiver();
}

class FirmwareUpgradeFaults : public ::testing::TestWithParam<MatrixCase> {
 protected:
  void SetUp() override {
    receiver.SetTiming(std::get<2>(GetParam()));
    receiver.SetFirmwareVersion(0x0180);
    ConnectBeforeUpgrade(&backend, &listener, &controls);
    ASSERT_EQ(ReceiverConnected, 1);
    FirmwareOutOfDate = 0;
  }
  void TearDown() override { EndUpgradeSession(); }

  static std::string UniquePath() {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return "virtual:fault-matrix-" + name;
  }

  // Runs the worker without the screen's pauses; false when it did not end in time.
  bool RunUpgrade() {
    StartFirmwareUpgrade(kNoUpgradePauses);
    const bool ended = WaitForFirmwareUpgrade(30s);
    StopFirmwareUpgrade();
    return ended;
  }

  bool SignaturePresent() const {
    return std::memcmp(Flash(receiver, 0x10000, 9).data(), kSignature, 9) == 0;
  }
  std::uint32_t StagedBodyCrc() const {
    const auto body = Flash(receiver, 0x10010, 0xBFF0);
    return FirmwareCrc(body.data(), body.size());
  }

  VirtualReceiver receiver{UniquePath()};
  FaultInjectingBackend backend{receiver};
  HeadlessConnectionListener listener;
  HeadlessProfileControls controls;
};

TEST_P(FirmwareUpgradeFaults, FailsInTimeSignsOnlyAGoodBodyAndSucceedsAfterAReplug) {
  const int index = std::get<0>(GetParam());
  const FaultKind kind = std::get<1>(GetParam());
  backend.Arm(index, kind);
  const auto start = Clock::now();
  ASSERT_TRUE(RunUpgrade());
  const auto elapsed = Clock::now() - start;
  backend.Disarm();
  ASSERT_TRUE(backend.Hit()) << "the upgrade never sent request " << index;
  EXPECT_EQ(UpgradeRunning.load(), 1) << "a failed upgrade keeps the flag";
  EXPECT_LT(elapsed, kFailureLimit);
  if (SignaturePresent()) {
    EXPECT_EQ(StagedBodyCrc(), kCarriedBodyCrc);
  }

  receiver.Unplug();
  receiver.DeliverDeviceChanges(OnDeviceChange);
  receiver.Plug();
  receiver.DeliverDeviceChanges(OnDeviceChange);
  ASSERT_EQ(ReceiverConnected, 1);
  UpgradeRunning = 0;
  ASSERT_TRUE(RunUpgrade());
  EXPECT_EQ(UpgradeRunning.load(), 0) << (ProgressMessage ? ProgressMessage.load() : "(null)");
  EXPECT_TRUE(SignaturePresent());
  EXPECT_EQ(StagedBodyCrc(), kCarriedBodyCrc);
}

INSTANTIATE_TEST_SUITE_P(SampledRequests, FirmwareUpgradeFaults,
                         ::testing::Combine(::testing::ValuesIn(SampledUpgradeRequests()),
                                            ::testing::ValuesIn(kAllKinds),
                                            ::testing::Values(VirtualTiming::kInstant)),
                         CaseName);
// The radio state, an erase, a body report, the CRC request and the signature, with real waits.
INSTANTIATE_TEST_SUITE_P(OneRequestPerStepWithRealWaits, FirmwareUpgradeFaults,
                         ::testing::Combine(::testing::Values(0, 1, 17, 3088, 3089),
                                            ::testing::ValuesIn(kAllKinds),
                                            ::testing::Values(VirtualTiming::kRealTime)),
                         CaseName);

}  // namespace
