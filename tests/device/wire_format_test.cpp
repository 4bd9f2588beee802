// The bytes the wheel link puts on the wire, written out literally from the receiver's command
// set and flash map, so that a changed command code, address, marker or offset fails here even
// where the rest of the link would still agree with itself.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "device/connection.h"
#include "device/headless_connection_listener.h"
#include "device/hid_link.h"
#include "device/virtual_receiver.h"
#include "device/wheel_protocol.h"
#include "profile/factory_profiles.h"
#include "profile/headless_profile_controls.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"
#include "receiver_fixture.h"
#include "scripted_port.h"
#include "wire_bytes.h"

namespace {

constexpr std::uint32_t kBlockAddresses[3] = {0xC010, 0xC090, 0xC110};

WheelProfile Patterned(int seed) {
  WheelProfile profile;
  for (int i = 0; i < 100; ++i) profile.bytes[i] = static_cast<std::uint8_t>(seed * 31 + i * 7);
  return profile;
}

std::vector<WirePayload> Recorded(const VirtualReceiver& receiver) {
  std::vector<WirePayload> requests;
  for (const auto& request : receiver.RecordedRequests()) requests.push_back(request);
  return requests;
}

void ExpectTranscript(const std::vector<WirePayload>& sent,
                      const std::vector<WirePayload>& expected) {
  ASSERT_EQ(sent.size(), expected.size());
  for (std::size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i], expected[i]) << "request " << i;
}

// The seven 16-byte reads that cover a 100-byte block.
void AppendBlockReads(std::vector<WirePayload>& transcript, std::uint32_t address) {
  for (std::uint32_t k = 0; k < 7; ++k) transcript.push_back(ReadRequestAt(address + 16 * k));
}

}  // namespace

using WireTranscript = SaneReceiver;

TEST_F(WireTranscript, WritingProfilesErasesWritesAndReadsBackEachBlockThenMarksTheSector) {
  for (int i = 0; i < 3; ++i) ProfileSet[i] = Patterned(i + 1);
  receiver.RecordRequests(true);
  ASSERT_TRUE(WriteProfileToReceiver(link));

  // First the marker is read, to see whether there are stored profiles to back up; this
  // receiver has none.
  std::vector<WirePayload> expected = {Hex("4F 52 4D 49 43 0E 00 00 00 C0 00 00"),
                                       Hex("4F 52 4D 49 43 10 00 00 00 C0 00 00")};
  for (int b = 0; b < 3; ++b) {
    const std::uint8_t* block = ProfileSet[b].bytes.data();
    for (std::uint32_t k = 0; k < 7; ++k) {
      const std::size_t size = k < 6 ? 16 : 4;
      expected.push_back(WriteRequestAt(kBlockAddresses[b] + 16 * k, block + 16 * k, size));
    }
    AppendBlockReads(expected, kBlockAddresses[b]);
  }
  expected.push_back(
      Hex("4F 52 4D 49 43 0F 00 00 00 C0 00 00 00 00 00 00 "
          "32 54 76 98 FF FF FF FF 00 00 00 00 00 00 00 00"));
  ExpectTranscript(Recorded(receiver), expected);

  // The last chunk of block 0, byte for byte: four data bytes, then the padding.
  const std::uint8_t* tail = ProfileSet[0].bytes.data() + 96;
  WirePayload lastChunk =
      Hex("4F 52 4D 49 43 0F 00 00 70 C0 00 00 00 00 00 00 "
          "00 00 00 00 FF FF FF FF 00 00 00 00 00 00 00 00");
  std::memcpy(&lastChunk[16], tail, 4);
  EXPECT_EQ(expected[8], lastChunk);

  std::uint8_t sector[4];
  receiver.ReadFlash(0xC000, sector, sizeof sector);
  EXPECT_EQ(std::vector<std::uint8_t>(sector, sector + 4),
            (std::vector<std::uint8_t>{0x32, 0x54, 0x76, 0x98}));
}

TEST_F(WireTranscript, ConnectingSyncsSetsTheRadioReadsVersionProfilesAndSignature) {
  // The connection tells a screen what it found and shows the profiles it read.
  HeadlessConnectionListener listener;
  HeadlessProfileControls controls;
  InitProfileState();
  SetConnectionListener(&listener);
  SetProfileControls(&controls);
  SetCurrentHidBackend(&backend);
  receiver.RecordRequests(true);
  ConnectReceiver(nullptr);
  DisconnectReceiver();
  SetCurrentHidBackend(nullptr);
  SetProfileControls(nullptr);
  SetConnectionListener(nullptr);

  std::vector<WirePayload> expected = {
      Hex("4F 52 4D 49 43 02"),
      Hex("4F 52 4D 49 43 16 07"),
      Hex("4F 52 4D 49 43 03"),
      Hex("4F 52 4D 49 43 0E 00 00 00 C0 00 00"),
  };
  for (std::uint32_t address : kBlockAddresses) AppendBlockReads(expected, address);
  expected.push_back(Hex("4F 52 4D 49 43 02"));
  expected.push_back(Hex("4F 52 4D 49 43 0E 00 00 00 00 01 00"));
  expected.push_back(Hex("4F 52 4D 49 43 02"));
  expected.push_back(Hex("4F 52 4D 49 43 02"));  // the disconnection's own sync
  ExpectTranscript(Recorded(receiver), expected);
}

TEST_F(WireTranscript, StoredProfilesAreReadFromTheirBlocksWhenTheMarkerIsThere) {
  const std::uint8_t marker[4] = {0x32, 0x54, 0x76, 0x98};
  const WheelProfile stored[3] = {Patterned(4), Patterned(5), Patterned(6)};
  receiver.LoadFlash(0xC000, marker, 4);
  for (int b = 0; b < 3; ++b) receiver.LoadFlash(kBlockAddresses[b], stored[b].bytes.data(), 100);
  bool hasMarker = false;
  ASSERT_TRUE(ReadProfileFromReceiver(link, &hasMarker));
  EXPECT_TRUE(hasMarker);
  for (int b = 0; b < 3; ++b) EXPECT_EQ(ProfileSet[b].bytes, stored[b].bytes) << "block " << b;

  // The same bytes in the other order are no marker: the factory profiles apply.
  const std::uint8_t reversed[4] = {0x98, 0x76, 0x54, 0x32};
  receiver.LoadFlash(0xC000, reversed, 4);
  ASSERT_TRUE(ReadProfileFromReceiver(link, &hasMarker));
  EXPECT_FALSE(hasMarker);
  EXPECT_EQ(ProfileSet[0].bytes, FactoryProfiles[0].bytes);
}

TEST_F(WireTranscript, FlashCrcRequestCarriesItsTwoWords) {
  receiver.RecordRequests(true);
  std::uint32_t crc = 0;
  ASSERT_TRUE(ReadFlashCrc(link, crc));
  ExpectTranscript(Recorded(receiver), {Hex("4F 52 4D 49 43 18 00 00 10 00 03 00 F0 BF 00 00")});
}

TEST_F(WireTranscript, RadioStateRequestCarriesSeven) {
  receiver.RecordRequests(true);
  ASSERT_TRUE(SetRadioState(link));
  ExpectTranscript(Recorded(receiver), {Hex("4F 52 4D 49 43 16 07")});
}

TEST_F(WireTranscript, ClearingTheSignatureWritesSixteenZerosAtTheUpgradeArea) {
  receiver.RecordRequests(true);
  ASSERT_TRUE(ClearDfuSignature(link));
  ExpectTranscript(Recorded(receiver), {
                                           Hex("4F 52 4D 49 43 16 07"),
                                           Hex("4F 52 4D 49 43 0F 00 00 00 00 01 00"),
                                       });
}

TEST_F(WireTranscript, ErasingTheUpgradeAreaSendsSixteenSectors) {
  receiver.RecordRequests(true);
  ASSERT_TRUE(EraseSectors(link, 0x10000, 0x10000));
  std::vector<WirePayload> expected;
  for (std::uint32_t sector = 0x10000; sector < 0x20000; sector += 0x1000) {
    expected.push_back(AddressedRequest(0x10, sector));
  }
  ExpectTranscript(Recorded(receiver), expected);
}

// Replies typed in by hand, so the decoding is checked without the receiver model.
class WireReplies : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(link.OpenFirstReceiver()); }

  ScriptedDevice device;
  ScriptedBackend backend{device};
  HidLink link{backend};
};

TEST_F(WireReplies, VersionComesHighByteFirstInBytesSixAndSeven) {
  device.input.push_back(AsReport(Hex("4F 52 4D 49 43 03 01 95")));
  std::int32_t version = 0;
  ASSERT_TRUE(ReadFirmwareVersion(link, version));
  EXPECT_EQ(version, 0x0195);
  ASSERT_EQ(device.written.size(), 1u);
  EXPECT_EQ(device.written[0], AsReport(Hex("4F 52 4D 49 43 03")));
}

TEST_F(WireReplies, FlashCrcIsTheLittleEndianWordAtSixteen) {
  device.input.push_back(
      AsReport(Hex("4F 52 4D 49 43 18 00 00 00 00 00 00 00 00 00 00 "
                   "88 2D FD 2D")));
  std::uint32_t crc = 0;
  ASSERT_TRUE(ReadFlashCrc(link, crc));
  EXPECT_EQ(crc, 0x2DFD2D88u);
}

TEST_F(WireReplies, MemoryIsTheSixteenBytesAfterTheHeader) {
  device.input.push_back(
      AsReport(Hex("4F 52 4D 49 43 0E 00 00 10 C0 00 00 00 00 00 00 "
                   "A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF")));
  std::uint8_t bytes[16] = {};
  ASSERT_TRUE(ReadMemory(link, 0xC010, bytes, sizeof bytes));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], 0xA0 + i) << i;
  EXPECT_EQ(device.written[0], AsReport(Hex("4F 52 4D 49 43 0E 00 00 10 C0 00 00")));
}

TEST_F(WireReplies, AReplyNeedsTheMagicAndTheRequestsCode) {
  device.input.push_back(AsReport(Hex("4F 52 4D 49 44 03 01 96")));
  device.input.push_back(AsReport(Hex("4F 52 4D 49 43 04 01 97")));
  device.input.push_back(AsReport(Hex("4F 52 4D 49 43 03 01 98")));
  std::int32_t version = 0;
  ASSERT_TRUE(ReadFirmwareVersion(link, version));
  EXPECT_EQ(version, 0x0198);
}
