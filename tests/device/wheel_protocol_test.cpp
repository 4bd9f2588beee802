#include "device/wheel_protocol.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/byte_order.h"
#include "common/firmware_crc.h"
#include "device/progress.h"
#include "profile/factory_profiles.h"
#include "profile/profile_set.h"
#include "receiver_fixture.h"
#include "scripted_port.h"

namespace {

WheelProfile Patterned(int seed) {
  WheelProfile profile;
  for (int i = 0; i < kProfileSize; ++i) profile.bytes[i] = static_cast<std::uint8_t>(seed + i * 3);
  return profile;
}

std::uint32_t AddressOf(const std::array<std::uint8_t, 32>& payload) {
  return LoadLe32(payload.data() + kPayloadAddressOffset);
}

}  // namespace

using WheelProtocolRequests = SaneReceiver;

TEST_F(WheelProtocolRequests, HundredByteBlockIsSevenReportsWithAPaddedLastChunk) {
  const WheelProfile block = Patterned(1);
  receiver.RecordRequests(true);
  ASSERT_TRUE(WriteMemory(link, 0xC010, block.bytes.data(), kProfileSize));
  const auto requests = receiver.RecordedRequests();
  ASSERT_EQ(requests.size(), 7u);
  for (std::size_t i = 0; i < requests.size(); ++i) {
    EXPECT_TRUE(IsReplyTo(requests[i].data(), kCommandWriteMemory)) << "magic and code " << i;
    EXPECT_EQ(AddressOf(requests[i]), 0xC010u + 16 * i);
  }
  const auto& last = requests[6];
  EXPECT_EQ(std::memcmp(&last[16], &block.bytes[96], 4), 0);
  for (int b = 20; b < 24; ++b) EXPECT_EQ(last[b], 0xFF) << b;
  for (int b = 24; b < 32; ++b) EXPECT_EQ(last[b], 0x00) << b;
  for (int b = 6; b < 8; ++b) EXPECT_EQ(last[b], 0x00) << b;
  for (int b = 12; b < 16; ++b) EXPECT_EQ(last[b], 0x00) << b;
}

TEST_F(WheelProtocolRequests, MarkerIsOneReportOfFourBytes) {
  const std::uint8_t marker[4] = {0x32, 0x54, 0x76, 0x98};
  receiver.RecordRequests(true);
  ASSERT_TRUE(WriteMemory(link, kProfileSectorAddress, marker, 4));
  const auto requests = receiver.RecordedRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(std::memcmp(&requests[0][16], marker, 4), 0);
  for (int b = 20; b < 24; ++b) EXPECT_EQ(requests[0][b], 0xFF);
  for (int b = 24; b < 32; ++b) EXPECT_EQ(requests[0][b], 0x00);
}

TEST_F(WheelProtocolRequests, EraseIsWidenedToWholeSectors) {
  struct Case {
    std::uint32_t address, length;
    std::vector<std::uint32_t> sectors;
  };
  std::vector<std::uint32_t> upgradeArea;
  for (std::uint32_t s = 0x10000; s < 0x20000; s += 0x1000) upgradeArea.push_back(s);
  const Case cases[] = {
      {0xC000, 4096, {0xC000}}, {0x10000, 0x10000, upgradeArea},
      {0xC010, 10, {0xC000}},   {0xCFF0, 0x20, {0xC000, 0xD000}},
      {0xC000, 0, {}},
  };
  for (const Case& c : cases) {
    receiver.RecordRequests(true);
    ASSERT_TRUE(EraseSectors(link, c.address, c.length));
    std::vector<std::uint32_t> sent;
    for (const auto& request : receiver.RecordedRequests()) {
      EXPECT_EQ(request[kPayloadCodeOffset], kCommandEraseSector);
      sent.push_back(AddressOf(request));
    }
    EXPECT_EQ(sent, c.sectors) << std::hex << c.address << " +" << c.length;
  }
}

TEST_F(WheelProtocolRequests, FlashCrcRequestCarriesTheFixedSelectorAndLength) {
  receiver.RecordRequests(true);
  std::uint32_t crc = 0;
  ASSERT_TRUE(ReadFlashCrc(link, crc));
  const auto requests = receiver.RecordedRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(LoadLe32(&requests[0][8]), 0x00030010u);
  EXPECT_EQ(LoadLe32(&requests[0][12]), 0x0000BFF0u);
}

using WheelProtocolMemory = SaneReceiver;

TEST_F(WheelProtocolMemory, OddLengthsRoundTripWithoutTouchingBytesBeyond) {
  std::uint8_t data[37];
  for (int i = 0; i < 37; ++i) data[i] = static_cast<std::uint8_t>(0xA0 + i);
  ASSERT_TRUE(WriteMemory(link, 0x2000, data, sizeof data));
  std::uint8_t back[40];
  std::memset(back, 0x5A, sizeof back);
  ASSERT_TRUE(ReadMemory(link, 0x2000, back, sizeof data));
  EXPECT_EQ(std::memcmp(back, data, sizeof data), 0);
  EXPECT_EQ(back[37], 0x5A) << "read wrote past the requested length";
}

TEST_F(WheelProtocolMemory, WriteWithoutEraseShowsAsCorruptData) {
  ProfileSet[0] = Patterned(1);
  ASSERT_TRUE(VerifyProfileBlock(link, 0));
  ProfileSet[0] = Patterned(2);
  EXPECT_FALSE(VerifyProfileBlock(link, 0));
}

TEST_F(WheelProtocolMemory, FlashCrcMatchesOurCrcUnlessTheReceiverIsFaulty) {
  std::vector<std::uint8_t> body(kFirmwareBodyLength);
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
  receiver.LoadFlash(kFirmwareBodyAddress, body.data(), kFirmwareBodyLength);
  std::uint32_t crc = 0;
  ASSERT_TRUE(ReadFlashCrc(link, crc));
  EXPECT_EQ(crc, FirmwareCrc(body.data(), body.size()));
  receiver.SetFaults({.wrongCrc = true});
  ASSERT_TRUE(ReadFlashCrc(link, crc));
  EXPECT_NE(crc, FirmwareCrc(body.data(), body.size()));
}

TEST_F(WheelProtocolMemory, VersionComesHighByteFirst) {
  receiver.SetFirmwareVersion(0x0195);
  std::int32_t version = 0;
  ASSERT_TRUE(ReadFirmwareVersion(link, version));
  EXPECT_EQ(version, 0x0195);
}

using WheelProtocolFaults = SaneReceiver;

TEST_F(WheelProtocolFaults, WrongMagicOrCodeFailsEveryKindOfOperation) {
  for (const VirtualReceiverFaults faults :
       {VirtualReceiverFaults{.wrongCode = true}, VirtualReceiverFaults{.wrongMagic = true}}) {
    receiver.SetFaults(faults);
    std::uint8_t buffer[32];
    std::int32_t version = 0;
    EXPECT_FALSE(ReadMemory(link, 0, buffer, sizeof buffer));
    EXPECT_FALSE(WriteMemory(link, 0, buffer, sizeof buffer));
    EXPECT_FALSE(EraseSectors(link, 0, 1));
    EXPECT_FALSE(ReadFirmwareVersion(link, version));
    EXPECT_FALSE(SetRadioState(link));
    link.FlushInput();
  }
}

TEST_F(WheelProtocolFaults, UnrelatedReportsBeforeAReplyAreSkipped) {
  receiver.SetFaults({.unrelatedBeforeReply = 5});
  std::int32_t version = 0;
  ASSERT_TRUE(ReadFirmwareVersion(link, version));
  EXPECT_EQ(version, VirtualReceiver::kFreshFirmwareVersion);
}

TEST_F(WheelProtocolFaults, NoReplyFailsSingleAndBatchOperations) {
  receiver.SetFaults({.noReply = true});
  std::int32_t version = 0;
  std::uint8_t buffer[16];
  EXPECT_FALSE(ReadFirmwareVersion(link, version));
  EXPECT_FALSE(ReadMemory(link, 0, buffer, sizeof buffer));
}

TEST(WaitForReply, SkipsUpToSixtyFourUnrelatedReports) {
  ScriptedDevice device;
  ScriptedBackend backend(device);
  HidLink link(backend);
  ASSERT_TRUE(link.OpenFirstReceiver());
  for (int i = 0; i < 64; ++i) device.QueueReply(kCommandReadMemory);
  device.QueueReply(kCommandVersion);
  std::uint8_t payload[kPayloadSize];
  EXPECT_TRUE(WaitForReply(link, kCommandVersion, payload));
  EXPECT_TRUE(device.input.empty());
}

TEST(WaitForReply, SixtyFiveUnrelatedReportsFail) {
  ScriptedDevice device;
  ScriptedBackend backend(device);
  HidLink link(backend);
  ASSERT_TRUE(link.OpenFirstReceiver());
  for (int i = 0; i < 65; ++i) device.QueueReply(kCommandReadMemory);
  device.QueueReply(kCommandVersion);
  std::uint8_t payload[kPayloadSize];
  EXPECT_FALSE(WaitForReply(link, kCommandVersion, payload));
  EXPECT_EQ(device.input.size(), 1u) << "the wait must stop after 65 reads";
}

TEST(WaitForReply, ATimedOutReadEndsTheWaitAtOnce) {
  ScriptedDevice device;
  ScriptedBackend backend(device);
  HidLink link(backend);
  ASSERT_TRUE(link.OpenFirstReceiver());
  std::uint8_t payload[kPayloadSize];
  EXPECT_FALSE(WaitForReply(link, kCommandVersion, payload));
}

class WheelProtocolProfiles : public SaneReceiver {
 protected:
  void SetUp() override {
    SaneReceiver::SetUp();
    for (int i = 0; i < kProfileCount; ++i) ProfileSet[i] = Patterned(10 * (i + 1));
  }
};

TEST_F(WheelProtocolProfiles, EmptySectorGivesTheFactoryProfilesInMemoryOnly) {
  receiver.RecordRequests(true);
  bool stored = true;
  ASSERT_TRUE(ReadProfileFromReceiver(link, &stored));
  EXPECT_FALSE(stored);
  for (int i = 0; i < kProfileCount; ++i) EXPECT_EQ(ProfileSet[i].bytes, FactoryProfiles[i].bytes);
  for (const auto& request : receiver.RecordedRequests()) {
    EXPECT_EQ(request[kPayloadCodeOffset], kCommandReadMemory) << "nothing may be written";
  }
}

TEST_F(WheelProtocolProfiles, WrittenProfilesReadBackWithTheMarkerLast) {
  const WheelProfile written[3] = {ProfileSet[0], ProfileSet[1], ProfileSet[2]};
  receiver.RecordRequests(true);
  ASSERT_TRUE(WriteProfileToReceiver(link));
  auto requests = receiver.RecordedRequests();
  // Reads come first: the marker, to see whether there is anything to back up.
  while (!requests.empty() && requests.front()[kPayloadCodeOffset] == kCommandReadMemory) {
    requests.erase(requests.begin());
  }
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.front()[kPayloadCodeOffset], kCommandEraseSector);
  EXPECT_EQ(requests.back()[kPayloadCodeOffset], kCommandWriteMemory);
  EXPECT_EQ(AddressOf(requests.back()), kProfileSectorAddress);
  std::uint8_t marker[4];
  receiver.ReadFlash(kProfileSectorAddress, marker, 4);
  EXPECT_EQ(LoadLe32(marker), ProfileMagic);

  for (auto& profile : ProfileSet) profile = WheelProfile{};
  bool stored = false;
  ASSERT_TRUE(ReadProfileFromReceiver(link, &stored));
  EXPECT_TRUE(stored);
  for (int i = 0; i < kProfileCount; ++i) EXPECT_EQ(ProfileSet[i].bytes, written[i].bytes);
}

TEST_F(WheelProtocolProfiles, InterruptedWriteLeavesASectorThatReadsAsEmpty) {
  ASSERT_TRUE(WriteProfileToReceiver(link));
  // Without the backup's reads in front, the tenth report falls inside the write itself.
  receiver.SetFaults({.removeAfterReports = receiver.RequestCount() + 10});
  EXPECT_FALSE(WriteProfileToReceiver(link, ProfileBackupRule::kSkip));
  receiver.SetFaults({});
  receiver.Plug();
  ASSERT_TRUE(link.OpenFirstReceiver());
  bool stored = true;
  ASSERT_TRUE(ReadProfileFromReceiver(link, &stored));
  EXPECT_FALSE(stored);
  EXPECT_EQ(ProfileSet[0].bytes, FactoryProfiles[0].bytes);
}

TEST_F(WheelProtocolProfiles, FailedReadLeavesTheProfilesInMemoryAlone) {
  const WheelProfile before = ProfileSet[1];
  receiver.SetFaults({.removeAfterReports = 3});
  EXPECT_FALSE(ReadProfileFromReceiver(link));
  EXPECT_EQ(ProfileSet[1].bytes, before.bytes);
}

TEST_F(WheelProtocolProfiles, VerifyFailsWhenTheReadBackDiffers) {
  receiver.SetFaults({.onlyCode = kCommandReadMemory, .wrongCode = true});
  EXPECT_FALSE(VerifyProfileBlock(link, 2));
}

using ClearSignature = SaneReceiver;

TEST_F(ClearSignature, SuccessZeroesTheSignatureAndAsksForRemoval) {
  const std::uint8_t signature[16] = {'O', 'R', 'M', 'I', 'C', '_', 'D', 'F', 'U'};
  receiver.LoadFlash(kDfuSignatureAddress, signature, sizeof signature);
  ProgressPercent = 55;
  ASSERT_TRUE(ClearDfuSignature(link));
  EXPECT_STREQ(ProgressMessage.load(), "REMOVE WHEEL");
  EXPECT_EQ(ProgressPercent.load(), 0);
  std::uint8_t now[16];
  receiver.ReadFlash(kDfuSignatureAddress, now, sizeof now);
  const std::uint8_t zeros[16] = {};
  EXPECT_EQ(std::memcmp(now, zeros, 16), 0);
}

TEST_F(ClearSignature, RadioStateFailureWritesNothing) {
  receiver.SetFaults({.onlyCode = kCommandRadioState, .noReply = true});
  receiver.RecordRequests(true);
  EXPECT_FALSE(ClearDfuSignature(link));
  EXPECT_STREQ(ProgressMessage.load(), "Unable to set radio state");
  for (const auto& request : receiver.RecordedRequests()) {
    EXPECT_NE(request[kPayloadCodeOffset], kCommandWriteMemory);
  }
}

TEST_F(ClearSignature, WriteFailureSaysSo) {
  receiver.SetFaults({.onlyCode = kCommandWriteMemory, .noReply = true});
  EXPECT_FALSE(ClearDfuSignature(link));
  EXPECT_STREQ(ProgressMessage.load(), "ID clear - flash write error");
}
