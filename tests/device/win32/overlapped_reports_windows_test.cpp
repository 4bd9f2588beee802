// Overlapped report transfers on a real Windows handle: the client end of a message-mode named
// pipe stands in for the HID device, and the test on the server end writes and reads its
// reports as the receiver would, so every completion, time-out and cancel is the system's own.
#include "device/win32/overlapped_reports.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "tests/device/wire_bytes.h"
#include "device/hid_link.h"
#include "device/wheel_protocol.h"

namespace {

constexpr std::size_t kReport = 33;
using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> Report(std::uint8_t tag) {
  std::vector<std::uint8_t> report(kReport, 0);
  const char ormic[] = "ORMIC";
  for (int i = 0; i < 5; ++i) report[1 + i] = static_cast<std::uint8_t>(ormic[i]);
  report[6] = tag;
  return report;
}

class PipeDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    const std::wstring name = L"\\\\.\\pipe\\corsaro270-reports-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++serial);
    server = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX,
                              PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 8192, 8192,
                              0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    const HANDLE client = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    DWORD mode = PIPE_READMODE_MESSAGE;
    ASSERT_TRUE(SetNamedPipeHandleState(client, &mode, nullptr, nullptr));
    reports = std::make_unique<OverlappedReports>(client, kReport, kReport);
    ASSERT_TRUE(reports->Ready());
  }
  void TearDown() override {
    reports.reset();
    if (server != INVALID_HANDLE_VALUE) CloseHandle(server);
  }

  // The receiver's side: one report out, one report in.
  void Send(const std::vector<std::uint8_t>& report) {
    DWORD written = 0;
    ASSERT_TRUE(
        WriteFile(server, report.data(), static_cast<DWORD>(report.size()), &written, nullptr));
    ASSERT_EQ(written, report.size());
  }
  std::vector<std::uint8_t> Receive() {
    std::vector<std::uint8_t> report(256);
    DWORD got = 0;
    if (!ReadFile(server, report.data(), static_cast<DWORD>(report.size()), &got, nullptr)) {
      return {};
    }
    report.resize(got);
    return report;
  }

  HANDLE server = INVALID_HANDLE_VALUE;
  std::unique_ptr<OverlappedReports> reports;
};

}  // namespace

TEST_F(PipeDevice, ASingleWriteGoesOutWholeAndASingleReadBringsOneReportBack) {
  const std::vector<std::uint8_t> request = Report(0x03);
  ASSERT_TRUE(reports->Write(request.data(), request.size(), 500));
  EXPECT_EQ(Receive(), request);

  Send(Report(0x83));
  std::vector<std::uint8_t> reply(kReport, 0xEE);
  ASSERT_EQ(reports->Read(reply.data(), reply.size(), 500), HidReadResult::kOk);
  EXPECT_EQ(reply, Report(0x83));
  EXPECT_FALSE(reports->Write(request.data(), 32, 500)) << "only whole reports";
}

TEST_F(PipeDevice, ATimedOutReadIsCancelledSoTheNextReportGoesToTheNextRead) {
  std::vector<std::uint8_t> reply(kReport, 0xEE);
  const auto start = Clock::now();
  EXPECT_EQ(reports->Read(reply.data(), reply.size(), 200), HidReadResult::kTimeout);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(190));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000));
  EXPECT_EQ(reply, std::vector<std::uint8_t>(kReport, 0xEE)) << "the caller's buffer is untouched";

  Send(Report(0x42));
  ASSERT_EQ(reports->Read(reply.data(), reply.size(), 500), HidReadResult::kOk);
  EXPECT_EQ(reply, Report(0x42));
}

TEST_F(PipeDevice, AReportOfAnotherLengthIsAFailedRead) {
  Send(std::vector<std::uint8_t>(12, 0x01));
  std::vector<std::uint8_t> reply(kReport);
  EXPECT_EQ(reports->Read(reply.data(), reply.size(), 500), HidReadResult::kError);
}

TEST_F(PipeDevice, FortyEightPairsInFlightCompleteInTwoWaitsWithEachReplyInItsPlace) {
  std::vector<std::vector<std::uint8_t>> replies(48, std::vector<std::uint8_t>(kReport, 0xEE));
  for (int k = 0; k < 48; ++k) {
    const std::vector<std::uint8_t> request = Report(static_cast<std::uint8_t>(k));
    ASSERT_TRUE(reports->StartWrite(2 * k, request.data(), request.size())) << k;
    ASSERT_TRUE(reports->StartRead(2 * k + 1, replies[k].data(), kReport)) << k;
  }
  // The receiver answers each request in turn, its reply tagged 0x80 + the request's tag.
  for (int k = 0; k < 48; ++k) {
    const std::vector<std::uint8_t> request = Receive();
    ASSERT_EQ(request, Report(static_cast<std::uint8_t>(k))) << "requests go out in slot order";
    Send(Report(static_cast<std::uint8_t>(0x80 + k)));
  }
  EXPECT_TRUE(reports->WaitForGroup(0, 64, 1000));
  EXPECT_TRUE(reports->WaitForGroup(64, 32, 1000));
  for (int k = 0; k < 48; ++k) {
    EXPECT_EQ(replies[k], Report(static_cast<std::uint8_t>(0x80 + k))) << "reply " << k;
  }
}

TEST_F(PipeDevice, AGroupWithoutItsRepliesFailsAtItsDeadlineAndItsCancelledReadsWriteNothing) {
  std::vector<std::vector<std::uint8_t>> replies(3, std::vector<std::uint8_t>(kReport, 0xEE));
  for (int k = 0; k < 3; ++k) {
    const std::vector<std::uint8_t> request = Report(static_cast<std::uint8_t>(k));
    ASSERT_TRUE(reports->StartWrite(2 * k, request.data(), request.size()));
    ASSERT_TRUE(reports->StartRead(2 * k + 1, replies[k].data(), kReport));
  }
  for (int k = 0; k < 3; ++k) Receive();
  Send(Report(0x80));  // one reply of three
  const auto start = Clock::now();
  EXPECT_FALSE(reports->WaitForGroup(0, 6, 300));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(290));
  reports->Cancel();

  // Replies that come after the batch gave up reach none of its buffers, not even the one
  // whose reply came in time, since the batch as a whole failed.
  Send(Report(0x81));
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(replies[k], std::vector<std::uint8_t>(kReport, 0xEE)) << "reply " << k;
  }
  std::vector<std::uint8_t> reply(kReport);
  ASSERT_EQ(reports->Read(reply.data(), reply.size(), 500), HidReadResult::kOk);
  EXPECT_EQ(reply, Report(0x81));
  EXPECT_FALSE(reports->WaitForGroup(0, 6, 100)) << "cancelled slots are not awaited again";
}

TEST_F(PipeDevice, GroupsAreBoundedBySixtyFourSlotsAndBySlotsStarted) {
  EXPECT_FALSE(reports->WaitForGroup(0, 65, 100));
  EXPECT_FALSE(reports->WaitForGroup(64, 33, 100));
  EXPECT_FALSE(reports->WaitForGroup(0, 2, 100)) << "slots never started";
  const std::vector<std::uint8_t> request = Report(1);
  EXPECT_FALSE(reports->StartWrite(96, request.data(), request.size()));
  EXPECT_FALSE(reports->StartWrite(-1, request.data(), request.size()));
}

namespace {

// The link's port over the pipe: the transfers of the Windows backend without hid.dll's queries.
class PipePort : public HidPort {
 public:
  explicit PipePort(HANDLE client) : reports_(client, kReport, kReport) {}
  std::uint16_t VendorId() const override { return kReceiverVendorId; }
  std::uint16_t ProductId() const override { return kReceiverProductId; }
  std::size_t InputReportLength() const override { return kReport; }
  std::size_t OutputReportLength() const override { return kReport; }
  bool Write(const std::uint8_t* report, std::size_t length, int timeoutMs) override {
    return reports_.Write(report, length, timeoutMs);
  }
  HidReadResult Read(std::uint8_t* report, std::size_t length, int timeoutMs) override {
    return reports_.Read(report, length, timeoutMs);
  }
  void FlushInput() override {}
  void SetInputBufferCount(int) override {}
  void Cancel() override { reports_.Cancel(); }
  HidSlotTransfers* SlotTransfers() override { return &reports_; }

 private:
  OverlappedReports reports_;
};

class PipeBackend : public HidBackend {
 public:
  explicit PipeBackend(const std::wstring& name) : name_(name) {}
  std::vector<HidDeviceInfo> Enumerate() override {
    return {{"pipe", kReceiverVendorId, kReceiverProductId}};
  }
  std::unique_ptr<HidPort> Open(const std::string&, HidOpenError& error) override {
    const HANDLE client = CreateFileW(name_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    error = client == INVALID_HANDLE_VALUE ? HidOpenError::kNotPresent : HidOpenError::kNone;
    if (client == INVALID_HANDLE_VALUE) return nullptr;
    DWORD mode = PIPE_READMODE_MESSAGE;
    SetNamedPipeHandleState(client, &mode, nullptr, nullptr);
    return std::make_unique<PipePort>(client);
  }

 private:
  std::wstring name_;
};

// A receiver on the server end of the pipe that answers each flash read with 16 bytes counting
// up from the low byte of the address asked for, and keeps every request it was sent.
class PipeReceiver : public ::testing::Test {
 protected:
  void SetUp() override {
    server = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX,
                              PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 8192, 8192,
                              0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    link = std::make_unique<HidLink>(backend);
    ASSERT_TRUE(link->OpenFirstReceiver());
    answering = std::thread([this] { Answer(); });
  }
  void TearDown() override {
    CloseLink();
    CloseHandle(server);
  }
  // Frees the link, which closes the client end and so ends the answering thread.
  void CloseLink() {
    link.reset();
    if (answering.joinable()) answering.join();
  }
  void Answer() {
    for (;;) {
      std::vector<std::uint8_t> request(64);
      DWORD got = 0;
      if (!ReadFile(server, request.data(), static_cast<DWORD>(request.size()), &got, nullptr)) {
        return;
      }
      request.resize(got);
      requests.push_back(request);
      std::vector<std::uint8_t> reply = request;
      if (reply.size() == kReport) {
        for (int i = 0; i < 16; ++i) reply[17 + i] = static_cast<std::uint8_t>(reply[9] + i);
      }
      DWORD written = 0;
      if (!WriteFile(server, reply.data(), static_cast<DWORD>(reply.size()), &written, nullptr)) {
        return;
      }
    }
  }

  std::wstring name = L"\\\\.\\pipe\\corsaro270-receiver-" + std::to_wstring(GetCurrentProcessId());
  HANDLE server = INVALID_HANDLE_VALUE;
  PipeBackend backend{name};
  std::unique_ptr<HidLink> link;
  std::thread answering;
  std::vector<std::vector<std::uint8_t>> requests;  // read by the test once the link is closed
};

}  // namespace

TEST_F(PipeReceiver, AFlashReadOfSixtyReportsGoesOutAsReportIdZeroAndItsPayloadsInOrder) {
  std::vector<std::uint8_t> flash(16 * 60);
  ASSERT_TRUE(ReadMemory(*link, 0x3000, flash.data(), static_cast<std::uint32_t>(flash.size())));
  for (std::size_t i = 0; i < flash.size(); ++i) {
    ASSERT_EQ(flash[i], static_cast<std::uint8_t>(i)) << "byte " << i;
  }
  EXPECT_EQ(link->LastBatchWaits(), (std::vector<int>{96, 24}));
  CloseLink();
  ASSERT_EQ(requests.size(), 60u);
  EXPECT_EQ(requests[0], AsReport(ReadRequestAt(0x3000)));
  EXPECT_EQ(requests[59], AsReport(ReadRequestAt(0x3000 + 16 * 59)));
}
