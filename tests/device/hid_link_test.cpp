#include "device/hid_link.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>

#include "device/progress.h"
#include "device/slot_groups.h"
#include "device/virtual_receiver.h"
#include "device/wheel_protocol.h"
#include "receiver_fixture.h"
#include "scripted_port.h"

using HidLinkBatch = SaneReceiver;

TEST_F(HidLinkBatch, FortyEightPairsFillTheSlotsAndWaitOnce) {
  auto requests = ReadRequests(48);
  std::vector<std::uint8_t> replies(48 * kReportSize);
  ASSERT_TRUE(link.TransferBatch(requests.data(), replies.data(), 48, false, nullptr));
  EXPECT_EQ(link.LastBatchWaits(), std::vector<int>{96});
  EXPECT_EQ(receiver.LostReports(), 0);
}

TEST_F(HidLinkBatch, FortyNinePairsWaitForNinetySixThenTwo) {
  auto requests = ReadRequests(49);
  std::vector<std::uint8_t> replies(49 * kReportSize);
  ASSERT_TRUE(link.TransferBatch(requests.data(), replies.data(), 49, false, nullptr));
  EXPECT_EQ(link.LastBatchWaits(), (std::vector<int>{96, 2}));
  for (int i = 0; i < 49; ++i) {
    const std::uint8_t* reply = &replies[i * kReportSize];
    EXPECT_EQ(reply[0], 0) << "report ID in front of reply " << i;
    EXPECT_TRUE(IsReplyTo(reply + 1, kCommandReadMemory)) << i;
  }
}

TEST_F(HidLinkBatch, OnePairWaitsForTwoAndPublishesProgressZeroOnly) {
  ProgressPercent = -5;
  ProgressMessage = nullptr;
  auto requests = ReadRequests(1);
  std::vector<std::uint8_t> replies(kReportSize);
  ASSERT_TRUE(link.TransferBatch(requests.data(), replies.data(), 1, true, "Copying"));
  EXPECT_EQ(link.LastBatchWaits(), std::vector<int>{2});
  EXPECT_EQ(ProgressPercent.load(), 0);
  EXPECT_STREQ(ProgressMessage.load(), "Copying");
}

TEST_F(HidLinkBatch, ProgressStopsShortOfOneHundred) {
  ProgressPercent = -5;
  auto requests = ReadRequests(7);
  std::vector<std::uint8_t> replies(7 * kReportSize);
  ASSERT_TRUE(link.TransferBatch(requests.data(), replies.data(), 7, true, "Copying"));
  EXPECT_EQ(ProgressPercent.load(), 100 * 6 / 7);
}

TEST_F(HidLinkBatch, WithoutProgressTheSharedValuesStayAlone) {
  ProgressPercent = 42;
  ProgressMessage = "before";
  auto requests = ReadRequests(3);
  std::vector<std::uint8_t> replies(3 * kReportSize);
  ASSERT_TRUE(link.TransferBatch(requests.data(), replies.data(), 3, false, "Copying"));
  EXPECT_EQ(ProgressPercent.load(), 42);
  EXPECT_STREQ(ProgressMessage.load(), "before");
}

TEST_F(HidLinkBatch, InputBufferCountIsRestoredAfterSuccessAndFailure) {
  auto requests = ReadRequests(5);
  std::vector<std::uint8_t> replies(5 * kReportSize);
  ASSERT_TRUE(link.TransferBatch(requests.data(), replies.data(), 5, false, nullptr));
  EXPECT_EQ(receiver.InputBufferCount(), kIdleInputBuffers);
  receiver.SetFaults({.noReply = true});
  EXPECT_FALSE(link.TransferBatch(requests.data(), replies.data(), 5, false, nullptr));
  EXPECT_EQ(receiver.InputBufferCount(), kIdleInputBuffers);
}

TEST_F(HidLinkBatch, ReceiverRemovedMidBatchFails) {
  receiver.SetFaults({.removeAfterReports = 30});
  auto requests = ReadRequests(60);
  std::vector<std::uint8_t> replies(60 * kReportSize);
  EXPECT_FALSE(link.TransferBatch(requests.data(), replies.data(), 60, false, nullptr));
  EXPECT_FALSE(receiver.Plugged());
  std::uint8_t payload[kPayloadSize];
  BuildRequest(kCommandVersion, payload);
  EXPECT_FALSE(link.WriteReport(payload));
}

TEST_F(HidLinkBatch, SilentReceiverFailsWithinTheGroupDeadline) {
  receiver.SetTiming(VirtualTiming::kRealTime);
  receiver.SetFaults({.noReply = true});
  auto requests = ReadRequests(10);
  std::vector<std::uint8_t> replies(10 * kReportSize);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(link.TransferBatch(requests.data(), replies.data(), 10, false, nullptr));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(kGroupTimeoutMs - 50));
  EXPECT_LT(elapsed, std::chrono::milliseconds(3 * kGroupTimeoutMs));
}

TEST(HidLinkBatchFailure, RepliesOfAFailedBatchAreNotLeftForTheNextRequest) {
  ScriptedDevice device;
  ScriptedBackend backend(device);
  HidLink link(backend);
  ASSERT_TRUE(link.OpenFirstReceiver());
  for (int i = 0; i < 4; ++i) device.QueueReply(kCommandReadMemory);
  device.timeoutAtRead = 1;
  std::vector<std::uint8_t> requests(4 * kReportSize), replies(4 * kReportSize);
  EXPECT_FALSE(link.TransferBatch(requests.data(), replies.data(), 4, false, nullptr));
  EXPECT_TRUE(device.input.empty());
  EXPECT_GE(device.cancels, 1);
}

TEST(HidLinkBatchStop, AStopEndsTheBatchOnlyOnceTheGroupInFlightIsComplete) {
  ScriptedDevice device;
  ScriptedBackend backend(device);
  HidLink link(backend);
  ASSERT_TRUE(link.OpenFirstReceiver());
  for (int i = 0; i < 100; ++i) device.QueueReply(kCommandWriteMemory);
  std::atomic<bool> stop{false};
  device.stopFlag = &stop;
  device.stopAtWrite = 10;
  std::vector<std::uint8_t> requests(100 * kReportSize), replies(100 * kReportSize);
  EXPECT_FALSE(link.TransferBatch(requests.data(), replies.data(), 100, false, nullptr, &stop));
  EXPECT_EQ(device.writes, 48) << "the group of 48 pairs goes out whole, the next not at all";
  EXPECT_EQ(device.reads, 48) << "every reply of that group is read before giving up";
  EXPECT_EQ(link.LastBatchWaits(), std::vector<int>{96});
}

TEST_F(HidLinkBatch, AStopRequestedBeforehandSendsNothing) {
  const std::atomic<bool> stop{true};
  auto requests = ReadRequests(3);
  std::vector<std::uint8_t> replies(3 * kReportSize);
  EXPECT_FALSE(link.TransferBatch(requests.data(), replies.data(), 3, false, nullptr, &stop));
  EXPECT_EQ(receiver.RequestCount(), 0);
}

TEST_F(HidLinkBatch, ZeroPairsSucceedWithoutWaiting) {
  EXPECT_TRUE(link.TransferBatch(nullptr, nullptr, 0, true, "nothing"));
  EXPECT_TRUE(link.LastBatchWaits().empty());
  EXPECT_EQ(receiver.RequestCount(), 0);
}

using HidLinkSingle = SaneReceiver;

TEST_F(HidLinkSingle, TimedOutReadLeavesNothingPendingForTheNextRead) {
  std::uint8_t payload[kPayloadSize];
  EXPECT_FALSE(link.ReadReport(payload));
  const std::uint8_t zeros[kPayloadSize] = {};
  EXPECT_EQ(std::memcmp(payload, zeros, kPayloadSize), 0) << "payload is zeroed on failure";
  BuildRequest(kCommandVersion, payload);
  ASSERT_TRUE(link.WriteReport(payload));
  ASSERT_TRUE(link.ReadReport(payload));
  EXPECT_TRUE(IsReplyTo(payload, kCommandVersion));
}

TEST_F(HidLinkSingle, FlushDiscardsQueuedReplies) {
  std::uint8_t payload[kPayloadSize];
  BuildRequest(kCommandVersion, payload);
  ASSERT_TRUE(link.WriteReport(payload));
  link.FlushInput();
  EXPECT_FALSE(link.ReadReport(payload));
}

TEST_F(HidLinkSingle, ReadTimeoutCancelsPendingInput) {
  ScriptedDevice device;
  ScriptedBackend scripted(device);
  HidLink scriptedLink(scripted);
  ASSERT_TRUE(scriptedLink.OpenFirstReceiver());
  std::uint8_t payload[kPayloadSize];
  EXPECT_FALSE(scriptedLink.ReadReport(payload));
  EXPECT_EQ(device.cancels, 1);
}

TEST(HidLinkWriteTime, SingleWritesGetFiveHundredMillisecondsAndBatchWritesTheGroupsRest) {
  ScriptedDevice device;
  ScriptedBackend backend(device);
  HidLink link(backend);
  ASSERT_TRUE(link.OpenFirstReceiver());
  std::uint8_t payload[kPayloadSize];
  BuildRequest(kCommandSync, payload);
  ASSERT_TRUE(link.WriteReport(payload));
  EXPECT_EQ(device.writeTimeouts, std::vector<int>{500});

  device.writeTimeouts.clear();
  for (int i = 0; i < 3; ++i) device.QueueReply(kCommandReadMemory);
  std::vector<std::uint8_t> requests(3 * kReportSize), replies(3 * kReportSize);
  ASSERT_TRUE(link.TransferBatch(requests.data(), replies.data(), 3, false, nullptr));
  ASSERT_EQ(device.writeTimeouts.size(), 3u);
  for (int timeout : device.writeTimeouts) {
    EXPECT_GT(timeout, 900);
    EXPECT_LE(timeout, 1000);
  }
}

TEST(HidLinkOpen, ClosedLinkFailsEveryTransferWithoutTouchingTheDevice) {
  VirtualReceiver receiver;
  VirtualHidBackend backend;
  backend.Add(&receiver);
  HidLink link(backend);
  std::uint8_t payload[kPayloadSize];
  BuildRequest(kCommandVersion, payload);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(link.WriteReport(payload));
  EXPECT_FALSE(link.ReadReport(payload));
  std::vector<std::uint8_t> report(kReportSize);
  EXPECT_FALSE(link.TransferBatch(report.data(), report.data(), 1, false, nullptr));
  EXPECT_EQ(receiver.RequestCount(), 0);
}

TEST(HidLinkOpen, EnumerationOpensTheFirstReceiverWithTheEnumeratedProductId) {
  VirtualReceiver arrivalOnly("virtual:a", 0x0252);
  VirtualReceiver first("virtual:b");
  VirtualReceiver second("virtual:c");
  first.SetFirmwareVersion(0x0111);
  second.SetFirmwareVersion(0x0222);
  VirtualHidBackend backend;
  backend.Add(&arrivalOnly);
  backend.Add(&first);
  backend.Add(&second);
  HidLink link(backend);
  ASSERT_TRUE(link.OpenFirstReceiver());
  std::int32_t version = 0;
  ASSERT_TRUE(ReadFirmwareVersion(link, version));
  EXPECT_EQ(version, 0x0111);
}

TEST(HidLinkOpen, NoReceiverPresentFailsQuietly) {
  VirtualHidBackend backend;
  HidLink link(backend);
  EXPECT_FALSE(link.OpenFirstReceiver());
  EXPECT_FALSE(link.IsOpen());
}

TEST(HidLinkOpen, OpenByPathChecksTheProductId) {
  VirtualReceiver receiver("virtual:arrived", 0x0252);
  VirtualHidBackend backend;
  backend.Add(&receiver);
  HidLink link(backend);
  EXPECT_FALSE(link.OpenReceiverByPath("virtual:arrived", 0x0262));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(link.OpenReceiverByPath("virtual:elsewhere", 0x0252));
  EXPECT_TRUE(link.OpenReceiverByPath("virtual:arrived", 0x0252));
  EXPECT_TRUE(link.IsOpen());
}

TEST(HidLinkSlotGroups, SlotsAreAwaitedSixtyFourAtATimeFromTheFront) {
  EXPECT_TRUE(SlotGroups(0).empty());
  EXPECT_EQ(SlotGroups(2), (std::vector<SlotGroup>{{0, 2}}));
  EXPECT_EQ(SlotGroups(64), (std::vector<SlotGroup>{{0, 64}}));
  EXPECT_EQ(SlotGroups(66), (std::vector<SlotGroup>{{0, 64}, {64, 2}}));
  EXPECT_EQ(SlotGroups(96), (std::vector<SlotGroup>{{0, 64}, {64, 32}}));
  EXPECT_EQ(SlotGroups(129), (std::vector<SlotGroup>{{0, 64}, {64, 64}, {128, 1}}));
}

// A port with slot transfers (Windows' overlapped I/O) gets each pair's write and read issued in
// their slots and the slots awaited group by group, each group under 1000 ms of its own.
class HidLinkOverlapped : public ::testing::Test {
 protected:
  void SetUp() override {
    device.slotTransfers = true;
    ASSERT_TRUE(link.OpenFirstReceiver());
    EXPECT_EQ(device.inputBuffers, 2);
  }
  // Queues `count` replies, reply k carrying k in its second payload byte.
  void QueueNumberedReplies(int count) {
    for (int k = 0; k < count; ++k) {
      std::uint8_t payload[kPayloadSize] = {0x4F, static_cast<std::uint8_t>(k)};
      device.QueuePayload(payload);
    }
  }
  static std::vector<std::string> PairStarts(int pairs) {
    std::vector<std::string> calls;
    for (int k = 0; k < pairs; ++k) {
      calls.push_back("W" + std::to_string(2 * k));
      calls.push_back("R" + std::to_string(2 * k + 1));
    }
    return calls;
  }

  ScriptedDevice device;
  ScriptedBackend backend{device};
  HidLink link{backend};
};

TEST_F(HidLinkOverlapped, FortyNinePairsFillTheNinetySixSlotsThenTwo) {
  QueueNumberedReplies(49);
  std::vector<std::uint8_t> requests(49 * kReportSize), replies(49 * kReportSize, 0xEE);
  for (int k = 0; k < 49; ++k) requests[k * kReportSize + 2] = static_cast<std::uint8_t>(k);
  ASSERT_TRUE(link.TransferBatch(requests.data(), replies.data(), 49, false, nullptr));

  std::vector<std::string> expected = PairStarts(48);
  expected.insert(expected.end(),
                  {"wait 0+64 1000", "wait 64+32 1000", "W0", "R1", "wait 0+2 1000"});
  EXPECT_EQ(device.slotCalls, expected);
  EXPECT_EQ(link.LastBatchWaits(), (std::vector<int>{96, 2}));
  ASSERT_EQ(device.written.size(), 49u);
  for (int k = 0; k < 49; ++k) {
    EXPECT_EQ(device.written[k][2], k) << "request " << k << " went out in its turn";
    EXPECT_EQ(replies[k * kReportSize], 0x00) << "report ID of reply " << k;
    EXPECT_EQ(replies[k * kReportSize + 2], k) << "reply " << k << " landed in its place";
  }
  EXPECT_EQ(device.inputBuffers, 2);
  EXPECT_EQ(device.reads, 0) << "no report was read one at a time";
}

TEST_F(HidLinkOverlapped, AGroupThatDoesNotCompleteFailsTheBatchAndCancelsTheRest) {
  QueueNumberedReplies(60);
  device.failWaitAt = 1;  // the second group of the first 96 slots
  std::vector<std::uint8_t> requests(60 * kReportSize), replies(60 * kReportSize);
  EXPECT_FALSE(link.TransferBatch(requests.data(), replies.data(), 60, false, nullptr));
  std::vector<std::string> expected = PairStarts(48);
  expected.insert(expected.end(), {"wait 0+64 1000", "wait 64+32 1000"});
  EXPECT_EQ(device.slotCalls, expected) << "nothing is issued after the failed wait";
  EXPECT_GE(device.cancels, 1);
  EXPECT_TRUE(device.input.empty()) << "late replies are flushed, not left for the next request";
  EXPECT_EQ(device.inputBuffers, 2);
}

TEST_F(HidLinkOverlapped, ARefusedReadFailsTheBatchBeforeAnyWait) {
  QueueNumberedReplies(3);
  device.refuseStartAt = 3;  // the second pair's read
  std::vector<std::uint8_t> requests(3 * kReportSize), replies(3 * kReportSize);
  EXPECT_FALSE(link.TransferBatch(requests.data(), replies.data(), 3, false, nullptr));
  EXPECT_EQ(device.slotCalls, (std::vector<std::string>{"W0", "R1", "W2", "R3"}));
  EXPECT_TRUE(link.LastBatchWaits().empty());
  EXPECT_GE(device.cancels, 1) << "the pair already in flight is cancelled";
  EXPECT_EQ(device.inputBuffers, 2);
}
