#include "device/virtual_receiver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "device/hid_link.h"
#include "device/wheel_protocol.h"
#include "receiver_fixture.h"

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
