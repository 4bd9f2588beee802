#include "device/raw_hid_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "device/hid_link.h"
#include "device/wheel_protocol.h"
#include "fake_raw_device.h"
#include "wire_bytes.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> Unnumbered(const WirePayload& payload) {
  return {payload.begin(), payload.end()};
}

std::chrono::milliseconds Since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

// Opens every path as a RawHidPort over one fake device, as the hidapi backend does over hidraw.
class FakeRawBackend : public HidBackend {
 public:
  explicit FakeRawBackend(std::shared_ptr<FakeRawDevice> device) : device_(std::move(device)) {}
  std::vector<HidDeviceInfo> Enumerate() override { return {{"fake", 0x2E7B, 0x0262}}; }
  std::unique_ptr<HidPort> Open(const std::string&, HidOpenError& error) override {
    error = HidOpenError::kNone;
    return std::make_unique<RawHidPort>(device_);
  }

 private:
  std::shared_ptr<FakeRawDevice> device_;
};

}  // namespace

class RawPort : public ::testing::Test {
 protected:
  std::shared_ptr<FakeRawDevice> device = std::make_shared<FakeRawDevice>();
  RawHidPort port{device};
  std::vector<std::uint8_t> report = std::vector<std::uint8_t>(33, 0);
};

TEST_F(RawPort, ReportsAreThirtyThreeBytesAndReadsGetReportIdZeroInFront) {
  EXPECT_EQ(port.InputReportLength(), 33u);
  EXPECT_EQ(port.OutputReportLength(), 33u);
  const WirePayload reply =
      Hex("4F 52 4D 49 43 03 01 96 00 00 00 00 00 00 00 00 "
          "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 7F");
  device->Deliver(Unnumbered(reply));
  report.assign(33, 0xEE);
  ASSERT_EQ(port.Read(report.data(), report.size(), 0), HidReadResult::kOk);
  EXPECT_EQ(report, AsReport(reply));
}

TEST_F(RawPort, ACutOrOverlongReportIsAFailedRead) {
  device->Deliver(Unnumbered(Hex("4F 52 4D 49 43 03 01 96")));
  device->Deliver({0x4F, 0x52, 0x4D, 0x49, 0x43, 0x03, 0x01, 0x96});
  std::vector<std::uint8_t> overlong(33, 0);
  overlong[0] = 0x01;  // a numbered report: ID 1, then 32 bytes
  device->Deliver(overlong);
  EXPECT_EQ(port.Read(report.data(), report.size(), 0), HidReadResult::kOk);
  EXPECT_EQ(port.Read(report.data(), report.size(), 0), HidReadResult::kError) << "8 bytes";
  EXPECT_EQ(port.Read(report.data(), report.size(), 0), HidReadResult::kError) << "33 bytes";
  EXPECT_EQ(port.Read(report.data(), report.size(), 0), HidReadResult::kTimeout);
}

TEST_F(RawPort, WritesGoOutWithTheReportIdAsGiven) {
  const std::vector<std::uint8_t> request = AsReport(Hex("4F 52 4D 49 43 02"));
  ASSERT_TRUE(port.Write(request.data(), request.size(), 500));
  ASSERT_EQ(device->Written().size(), 1u);
  EXPECT_EQ(device->Written()[0], request);
}

TEST_F(RawPort, FlushDiscardsEveryQueuedReport) {
  for (int i = 0; i < 5; ++i) device->Deliver(Unnumbered(Hex("4F 52 4D 49 43 0E")));
  port.FlushInput();
  EXPECT_EQ(device->Queued(), 0u);
}

TEST_F(RawPort, AWriteTheDeviceNeverTakesGivesUpAfterItsTimeOut) {
  device->HoldWrites(true);
  const std::vector<std::uint8_t> request = AsReport(Hex("4F 52 4D 49 43 02"));
  auto start = Clock::now();
  EXPECT_FALSE(port.Write(request.data(), request.size(), 200));
  EXPECT_GE(Since(start).count(), 190);
  EXPECT_LT(Since(start).count(), 1000);
  // The next write waits for the stuck one only within its own time.
  start = Clock::now();
  EXPECT_FALSE(port.Write(request.data(), request.size(), 50));
  EXPECT_LT(Since(start).count(), 800);
  // Once the device takes output again, the port works on.
  device->HoldWrites(false);
  EXPECT_TRUE(port.Write(request.data(), request.size(), 500));
  EXPECT_EQ(device->Written().size(), 2u) << "the stuck write, then this one";
}

TEST(RawPortLifetime, ClosingAPortWithAStuckWriteDoesNotWaitForIt) {
  auto device = std::make_shared<FakeRawDevice>();
  device->HoldWrites(true);
  const auto start = Clock::now();
  {
    RawHidPort port(device);
    const std::vector<std::uint8_t> request = AsReport(Hex("4F 52 4D 49 43 02"));
    EXPECT_FALSE(port.Write(request.data(), request.size(), 20));
  }
  EXPECT_LT(Since(start).count(), 1000);
  device->HoldWrites(false);  // the write finishes on its own copy of the report
}

// The link over the port, as the program builds it for a real receiver.
class RawPortLink : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(link.OpenFirstReceiver()); }
  void TearDown() override { device->HoldWrites(false); }

  std::shared_ptr<FakeRawDevice> device = std::make_shared<FakeRawDevice>();
  FakeRawBackend backend{device};
  HidLink link{backend};
};

TEST_F(RawPortLink, ACutReplyIsNeverTakenForAWholeOne) {
  // "ORMIC", code 3, version 01 96, cut after 8 bytes: padded with zeros it would pass.
  device->Deliver({0x4F, 0x52, 0x4D, 0x49, 0x43, 0x03, 0x01, 0x96});
  std::int32_t version = 0;
  EXPECT_FALSE(ReadFirmwareVersion(link, version));
  device->Deliver({0x4F, 0x52, 0x4D, 0x49, 0x43, 0x0E, 0x00, 0x00, 0x00, 0xC0});
  std::uint8_t bytes[16];
  EXPECT_FALSE(ReadMemory(link, 0xC000, bytes, sizeof bytes));
}

TEST_F(RawPortLink, ASingleWriteToAStuckReceiverFailsWithinFiveHundredMilliseconds) {
  device->HoldWrites(true);
  std::uint8_t payload[32];
  BuildRequest(0x02, payload);
  const auto start = Clock::now();
  EXPECT_FALSE(link.WriteReport(payload));
  EXPECT_GE(Since(start).count(), 450);
  EXPECT_LT(Since(start).count(), 1500);
}

TEST_F(RawPortLink, ABatchToAStuckReceiverFailsWithinTheGroupDeadline) {
  device->HoldWrites(true);
  std::vector<std::uint8_t> requests(10 * 33, 0), replies(10 * 33, 0);
  const auto start = Clock::now();
  EXPECT_FALSE(link.TransferBatch(requests.data(), replies.data(), 10, false, nullptr));
  EXPECT_GE(Since(start).count(), 950);
  EXPECT_LT(Since(start).count(), 2500);
}
