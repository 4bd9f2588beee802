#include "device/virtual_receiver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/firmware_crc.h"
#include "device/full_speed_frames.h"
#include "device/hid_link.h"
#include "device/wheel_protocol.h"
#include "receiver_fixture.h"
#include "wire_bytes.h"

using VirtualReceiverModel = SaneReceiver;

TEST_F(VirtualReceiverModel, QueueHoldsSixtyFourReportsAndDropsTheRest) {
  std::uint8_t payload[kPayloadSize];
  BuildRequest(kCommandVersion, payload);
  for (int i = 0; i < 70; ++i) ASSERT_TRUE(link.WriteReport(payload));
  EXPECT_EQ(receiver.LostReports(), 6);
  int read = 0;
  while (link.ReadReport(payload)) ++read;
  EXPECT_EQ(read, 64);
}

TEST_F(VirtualReceiverModel, UnplugEndsOpenPortsAndReplugNeedsANewOpen) {
  receiver.Unplug();
  std::int32_t version = 0;
  EXPECT_FALSE(ReadFirmwareVersion(link, version));
  receiver.Plug();
  EXPECT_FALSE(ReadFirmwareVersion(link, version)) << "the old handle stays dead";
  ASSERT_TRUE(link.OpenFirstReceiver());
  EXPECT_TRUE(ReadFirmwareVersion(link, version));
}

TEST_F(VirtualReceiverModel, PlugAndUnplugRaiseDeviceChangeNotices) {
  static std::vector<std::pair<int, std::string>> seen;
  seen.clear();
  receiver.Unplug();
  receiver.Unplug();
  receiver.Plug();
  receiver.DeliverDeviceChanges(
      [](int event, const char* path) { seen.emplace_back(event, path); });
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].first, 0x8004);
  EXPECT_EQ(seen[1].first, 0x8000);
  EXPECT_EQ(seen[1].second, receiver.Path());
}

TEST_F(VirtualReceiverModel, FullSpeedPaceStillTransfersABatch) {
  receiver.SetTiming(VirtualTiming::kFullSpeed);
  std::uint8_t data[16 * 50];
  for (std::size_t i = 0; i < sizeof data; ++i) data[i] = static_cast<std::uint8_t>(i);
  ASSERT_TRUE(WriteMemory(link, 0x3000, data, sizeof data));
  std::uint8_t back[sizeof data];
  ASSERT_TRUE(ReadMemory(link, 0x3000, back, sizeof back));
  EXPECT_EQ(std::memcmp(back, data, sizeof data), 0);
}

TEST(VirtualReceiverFile, FlashAndVersionSurviveASaveAndLoad) {
  const std::string path = ::testing::TempDir() + "virtual_receiver_round_trip.bin";
  VirtualReceiver first;
  first.SetFirmwareVersion(0x0177);
  const std::uint8_t data[4] = {1, 2, 3, 4};
  first.LoadFlash(0x1FFFC, data, 4);
  std::string error;
  ASSERT_TRUE(first.SaveFile(path, error)) << error;
  VirtualReceiver second;
  ASSERT_TRUE(second.LoadFile(path, error)) << error;
  EXPECT_EQ(second.FirmwareVersion(), 0x0177);
  std::uint8_t back[4];
  second.ReadFlash(0x1FFFC, back, 4);
  EXPECT_EQ(std::memcmp(back, data, 4), 0);
  std::remove(path.c_str());
}

TEST(VirtualReceiverFile, ForeignFileIsRefusedAndChangesNothing) {
  const std::string path = ::testing::TempDir() + "virtual_receiver_foreign.bin";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("not a flash image", file);
  std::fclose(file);
  VirtualReceiver receiver;
  receiver.SetFirmwareVersion(0x0123);
  std::string error;
  EXPECT_FALSE(receiver.LoadFile(path, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(receiver.FirmwareVersion(), 0x0123);
  EXPECT_FALSE(receiver.LoadFile(path + ".missing", error));
  std::remove(path.c_str());
}

// The model's own side of the wire, driven with reports typed in by hand.
class VirtualReceiverWire : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.Add(&receiver);
    HidOpenError error = HidOpenError::kFailed;
    port = backend.Open(receiver.Path(), error);
    EXPECT_EQ(error, HidOpenError::kNone);
    ASSERT_NE(port, nullptr);
  }

  // Sends one request and gives the reply, or an empty vector when none came.
  std::vector<std::uint8_t> Exchange(const WirePayload& request) {
    const std::vector<std::uint8_t> report = AsReport(request);
    EXPECT_TRUE(port->Write(report.data(), report.size(), 0));
    std::vector<std::uint8_t> reply(33);
    if (port->Read(reply.data(), reply.size(), 0) != HidReadResult::kOk) return {};
    return reply;
  }

  VirtualReceiver receiver;
  VirtualHidBackend backend;
  std::unique_ptr<HidPort> port;
};

TEST_F(VirtualReceiverWire, AnswersVersionHighByteFirstAndSyncNotAtAll) {
  receiver.SetFirmwareVersion(0x0195);
  EXPECT_EQ(Exchange(Hex("4F 52 4D 49 43 03")), AsReport(Hex("4F 52 4D 49 43 03 01 95")));
  EXPECT_TRUE(Exchange(Hex("4F 52 4D 49 43 02")).empty());
  EXPECT_TRUE(Exchange(Hex("4F 52 4D 49 44 03")).empty()) << "no magic, no answer";
}

TEST_F(VirtualReceiverWire, ReadsWritesAndErasesFlashAtTheGivenAddress) {
  const std::uint8_t data[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  EXPECT_EQ(Exchange(WriteRequestAt(0xC090, data, 16)), AsReport(Hex("4F 52 4D 49 43 0F")));
  std::uint8_t flash[16];
  receiver.ReadFlash(0xC090, flash, 16);
  EXPECT_EQ(std::memcmp(flash, data, 16), 0);

  WirePayload reply = Hex("4F 52 4D 49 43 0E");
  std::memcpy(&reply[16], data, 16);
  EXPECT_EQ(Exchange(Hex("4F 52 4D 49 43 0E 00 00 90 C0 00 00")), AsReport(reply));

  EXPECT_EQ(Exchange(Hex("4F 52 4D 49 43 10 00 00 34 C0 00 00")),
            AsReport(Hex("4F 52 4D 49 43 10")));
  receiver.ReadFlash(0xC000, flash, 16);
  for (std::uint8_t b : flash) EXPECT_EQ(b, 0xFF) << "the whole sector 0xC000 is erased";
}

TEST_F(VirtualReceiverWire, KnowsOnlyRadioStateSevenAndTheOneCrcRequest) {
  EXPECT_EQ(Exchange(Hex("4F 52 4D 49 43 16 07")), AsReport(Hex("4F 52 4D 49 43 16")));
  EXPECT_TRUE(Exchange(Hex("4F 52 4D 49 43 16 08")).empty());

  const std::vector<std::uint8_t> body(0xBFF0, 0);
  receiver.LoadFlash(0x10010, body.data(), 0xBFF0);
  const std::uint8_t oneByte = 0x01;
  receiver.LoadFlash(0x10010 + 0xBFEF, &oneByte, 1);
  std::vector<std::uint8_t> expected = body;
  expected.back() = 1;
  const std::uint32_t crc = FirmwareCrc(expected.data(), expected.size());
  WirePayload reply = Hex("4F 52 4D 49 43 18");
  for (int i = 0; i < 4; ++i) reply[16 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
  EXPECT_EQ(Exchange(Hex("4F 52 4D 49 43 18 00 00 10 00 03 00 F0 BF 00 00")), AsReport(reply));
  EXPECT_TRUE(Exchange(Hex("4F 52 4D 49 43 18 00 00 10 00 03 00 F0 BF 01 00")).empty());
}

TEST_F(VirtualReceiverWire, InstallsAStagedImageFromTheUpgradeArea) {
  receiver.SetFirmwareVersion(0x0150);
  const std::vector<std::uint8_t> body(0xBFF0, 0x22);
  receiver.SetExpectedBodyCrc(FirmwareCrc(body.data(), body.size()));
  receiver.LoadFlash(0x10010, body.data(), 0xBFF0);
  const std::uint8_t signature[9] = {'O', 'R', 'M', 'I', 'C', '_', 'D', 'F', 'U'};
  receiver.LoadFlash(0x10000, signature, 9);
  receiver.Unplug();
  receiver.Plug();
  EXPECT_EQ(receiver.FirmwareVersion(), 0x0196);
  std::uint8_t area[2];
  receiver.ReadFlash(0x10000, area, 1);
  receiver.ReadFlash(0x1FFFF, area + 1, 1);
  EXPECT_EQ(area[0], 0xFF);
  EXPECT_EQ(area[1], 0xFF);
}

// The full-speed frame rule on a clock given from outside: frames end on whole milliseconds.
namespace {
std::chrono::steady_clock::time_point At(std::int64_t microseconds) {
  return std::chrono::steady_clock::time_point(std::chrono::microseconds(microseconds));
}
}  // namespace

TEST(FullSpeedFrames, AReportGoesInTheFrameInProgressWhenItsDirectionIsFree) {
  EXPECT_EQ(EndOfFrameCarrying(At(10'300), At(10'000)), At(11'000));
  EXPECT_EQ(EndOfFrameCarrying(At(10'000), At(9'000)), At(11'000)) << "a frame starts at 10 ms";
}

TEST(FullSpeedFrames, AHostWakingLateWithinTheFrameLosesNothing) {
  // The report before went in the frame that ended at 11 ms; the next one is handed over 0.9 ms
  // later and still takes the frame right after.
  EXPECT_EQ(EndOfFrameCarrying(At(11'900), At(11'000)), At(12'000));
}

TEST(FullSpeedFrames, NoDirectionCarriesTwoReportsInOneFrame) {
  EXPECT_EQ(EndOfFrameCarrying(At(10'300), At(11'000)), At(12'000));
  EXPECT_EQ(EndOfFrameCarrying(At(10'300), At(15'000)), At(16'000)) << "queued behind four";
}

TEST(FullSpeedFrames, AHostThatMissesAFrameEndLosesThatFrame) {
  EXPECT_EQ(EndOfFrameCarrying(At(12'100), At(11'000)), At(13'000));
}
