#pragma once
// A HID port whose input is a script of reports, for exact control over what a read returns.

#include <atomic>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
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
  int inputBuffers = 0;  // the last input-buffer count asked for

  // With slot transfers on, the port offers them as overlapped I/O does, and `slotCalls` records
  // each call: "W<slot>", "R<slot>", "wait <first>+<count> <timeout>".
  bool slotTransfers = false;
  std::vector<std::string> slotCalls;
  int refuseStartAt = -1;  // this start (counted from 0) is refused
  int failWaitAt = -1;     // this group wait (counted from 0) times out
  int starts = 0;
  int waits = 0;

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

class ScriptedPort : public HidPort, public HidSlotTransfers {
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
  void SetInputBufferCount(int count) override { device_.inputBuffers = count; }
  void Cancel() override { ++device_.cancels; }
  HidSlotTransfers* SlotTransfers() override { return device_.slotTransfers ? this : nullptr; }

  bool StartWrite(int slot, const std::uint8_t* report, std::size_t length) override {
    device_.slotCalls.push_back("W" + std::to_string(slot));
    if (device_.starts++ == device_.refuseStartAt) return false;
    device_.written.emplace_back(report, report + length);
    return true;
  }
  bool StartRead(int slot, std::uint8_t* report, std::size_t) override {
    device_.slotCalls.push_back("R" + std::to_string(slot));
    if (device_.starts++ == device_.refuseStartAt) return false;
    readSlots_[slot] = report;
    return true;
  }
  // Delivers the group's replies in slot order from the script; an empty script times out.
  bool WaitForGroup(int first, int count, int timeoutMs) override {
    device_.slotCalls.push_back("wait " + std::to_string(first) + "+" + std::to_string(count) +
                                " " + std::to_string(timeoutMs));
    if (device_.waits++ == device_.failWaitAt) return false;
    for (int slot = first; slot < first + count; ++slot) {
      const auto read = readSlots_.find(slot);
      if (read == readSlots_.end()) continue;
      if (device_.input.empty()) return false;
      std::memcpy(read->second, device_.input.front().data(), kReportSize);
      device_.input.pop_front();
      readSlots_.erase(read);
    }
    return true;
  }

 private:
  ScriptedDevice& device_;
  std::map<int, std::uint8_t*> readSlots_;
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
