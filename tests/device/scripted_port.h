#pragma once
// A HID port whose input is a script of reports, for exact control over what a read returns.

#include <atomic>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "device/hid_link.h"
#include "device/hid_port.h"
#include "device/wheel_protocol.h"

struct ScriptedDevice {
  std::deque<std::vector<std::uint8_t>> input;     // 33-byte reports, report ID first
  std::vector<std::vector<std::uint8_t>> written;  // every report written, report ID first
  std::vector<int> writeTimeouts;                  // the time each write was given
  int writes = 0;
  int reads = 0;
  int timeoutAtRead = -1;  // this read (counted from 0) times out whatever is queued
  int cancels = 0;
  std::atomic<bool>* stopFlag = nullptr;  // raised by write number `stopAtWrite` (from 0)
  int stopAtWrite = -1;

  void QueuePayload(const std::uint8_t* payload) {
    std::vector<std::uint8_t> report(kReportSize, 0);
    std::memcpy(report.data() + 1, payload, kPayloadSize);
    input.push_back(report);
  }
  void QueueReply(std::uint8_t code) {
    std::uint8_t payload[kPayloadSize];
    BuildRequest(code, payload);
    QueuePayload(payload);
  }
};

class ScriptedPort : public HidPort {
 public:
  explicit ScriptedPort(ScriptedDevice& device) : device_(device) {}
  std::uint16_t VendorId() const override { return kReceiverVendorId; }
  std::uint16_t ProductId() const override { return kReceiverProductId; }
  std::size_t InputReportLength() const override { return kReportSize; }
  std::size_t OutputReportLength() const override { return kReportSize; }
  bool Write(const std::uint8_t* report, std::size_t length, int timeoutMs) override {
    if (device_.writes++ == device_.stopAtWrite) *device_.stopFlag = true;
    device_.writeTimeouts.push_back(timeoutMs);
    device_.written.emplace_back(report, report + length);
    return true;
  }
  HidReadResult Read(std::uint8_t* report, std::size_t length, int) override {
    if (device_.reads++ == device_.timeoutAtRead) return HidReadResult::kTimeout;
    if (device_.input.empty()) return HidReadResult::kTimeout;
    std::memcpy(report, device_.input.front().data(), length < kReportSize ? length : kReportSize);
    device_.input.pop_front();
    return HidReadResult::kOk;
  }
  void FlushInput() override { device_.input.clear(); }
  void SetInputBufferCount(int) override {}
  void Cancel() override { ++device_.cancels; }

 private:
  ScriptedDevice& device_;
};

class ScriptedBackend : public HidBackend {
 public:
  explicit ScriptedBackend(ScriptedDevice& device) : device_(device) {}
  std::vector<HidDeviceInfo> Enumerate() override {
    return {{"scripted", kReceiverVendorId, kReceiverProductId}};
  }
  std::unique_ptr<HidPort> Open(const std::string&, HidOpenError& error) override {
    error = HidOpenError::kNone;
    return std::make_unique<ScriptedPort>(device_);
  }

 private:
  ScriptedDevice& device_;
};
