#pragma once
// A software model of the receiver for tests, the demo and the command-line tool. It answers the
// command set on 32-byte payloads as a receiver would, over NOR flash (a write can only clear
// bits), with a hidraw-like input queue of 64 reports, plug and unplug, the staged-image install
// on replug, faults on demand and, optionally, the USB full-speed pace.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "device/hid_port.h"

// Faults the receiver shows on demand. Each applies to every command, or only to `onlyCode`.
struct VirtualReceiverFaults {
  std::uint8_t onlyCode = 0;     // 0: every command
  bool noReply = false;          // swallow requests that expect a reply
  bool wrongCode = false;        // reply with another command code
  bool wrongMagic = false;       // reply without "ORMIC"
  int unrelatedBeforeReply = 0;  // reports of no command pushed ahead of each reply
  int removeAfterReports = -1;   // pulled out once this many requests came in (-1: never)
  bool wrongCrc = false;         // the flash CRC reply does not match the body
};

enum class VirtualTiming {
  kInstant,    // replies at once; an empty queue times out at once, as nothing more can come
  kRealTime,   // replies at once; time-outs really wait
  kFullSpeed,  // one report per millisecond each way, like a full-speed interrupt endpoint
};

class VirtualReceiver {
 public:
  static constexpr std::uint32_t kFlashSize = 0x20000;
  static constexpr std::size_t kQueueCapacity = 64;
  static constexpr std::uint16_t kFreshFirmwareVersion = 0x0196;

  // A fresh receiver: erased flash, firmware 0x0196, plugged in.
  explicit VirtualReceiver(std::string path = "virtual:receiver", std::uint16_t productId = 0x0262);

  const std::string& Path() const { return path_; }
  std::uint16_t ProductId() const { return productId_; }
  // What names this receiver for its backups (HidBackend::Identity): "virtual:" and its flash
  // file, set before it is opened. Empty (unknown) until set.
  void SetIdentity(std::string identity) { identity_ = std::move(identity); }
  const std::string& Identity() const { return identity_; }

  void SetFirmwareVersion(std::uint16_t version);
  std::uint16_t FirmwareVersion() const;
  void SetFaults(const VirtualReceiverFaults& faults);
  void SetTiming(VirtualTiming timing);
  // Makes opening the receiver fail as it does for a user without access to its node (no udev
  // rule); it is still listed.
  void SetAccessDenied(bool denied);
  bool AccessDenied() const;
  // The CRC a staged body must have to be installed on replug.
  void SetExpectedBodyCrc(std::uint32_t crc);

  // Copies flash out of or into the model, bypassing the command set (for set-up and checks).
  void ReadFlash(std::uint32_t address, std::uint8_t* out, std::uint32_t length) const;
  void LoadFlash(std::uint32_t address, const std::uint8_t* data, std::uint32_t length);

  // Loads flash and version from a file written by SaveFile; false (model unchanged) when the
  // file cannot be read or is not such a file. `error` says why.
  bool LoadFile(const std::string& path, std::string& error);
  // Writes flash and version to `path` by replacing the file whole (WriteFileAtomically), so a
  // failed save keeps the old one; `error` says why it failed.
  bool SaveFile(const std::string& path, std::string& error) const;

  // Unplugging ends every open port; plugging in installs a valid staged image. Each queues a
  // device-change notice (0x8000 arrival, 0x8004 removal) for DeliverDeviceChanges.
  void Plug();
  void Unplug();
  bool Plugged() const;
  // Hands queued notices to `handler` on the calling thread, as the message pump does for udev.
  void DeliverDeviceChanges(void (*handler)(int event, const char* path));

  // Keeps a copy of every request payload from now on (for tests), or stops and forgets them.
  void RecordRequests(bool on);
  std::vector<std::array<std::uint8_t, 32>> RecordedRequests() const;

  // Counters for tests and benchmarks.
  int RequestCount() const;
  int LostReports() const;
  int InputBufferCount() const;

  // The port side: used by the ports this receiver hands out.
  std::uint32_t Generation() const;
  bool Receive(std::uint32_t generation, const std::uint8_t* report, std::size_t length);
  HidReadResult Take(std::uint32_t generation, std::uint8_t* report, std::size_t length,
                     int timeoutMs);
  void Flush(std::uint32_t generation);
  void SetInputBuffers(int count);

 private:
  struct QueuedReport {
    std::uint8_t bytes[33];
    std::chrono::steady_clock::time_point readyAt;
  };

  void HandleRequest(const std::uint8_t* payload);
  void Push(const std::uint8_t* payload);
  bool FaultApplies(std::uint8_t code) const;
  void InstallStagedImage();
  void UnplugLocked();

  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::string path_;
  std::string identity_;
  std::uint16_t productId_;
  std::uint16_t version_ = kFreshFirmwareVersion;
  std::vector<std::uint8_t> flash_;
  VirtualReceiverFaults faults_;
  VirtualTiming timing_ = VirtualTiming::kInstant;
  bool expectedCrcSet_ = false;
  std::uint32_t expectedBodyCrc_ = 0;
  bool plugged_ = true;
  bool accessDenied_ = false;
  std::uint32_t generation_ = 1;
  std::deque<QueuedReport> queue_;
  // At full speed: the ends of the last frames that carried a report out and in.
  std::chrono::steady_clock::time_point outFrameEnd_{};
  std::chrono::steady_clock::time_point inFrameEnd_{};
  // At full speed: when the request being handled reached the receiver.
  std::chrono::steady_clock::time_point requestArrivedAt_{};
  std::vector<int> notices_;
  bool recording_ = false;
  std::vector<std::array<std::uint8_t, 32>> recorded_;
  int requests_ = 0;
  int lost_ = 0;
  int inputBuffers_ = 0;
};

// A backend that lists and opens virtual receivers instead of HID devices. The receivers are not
// owned and must outlive the backend and every port opened on them.
class VirtualHidBackend : public HidBackend {
 public:
  void Add(VirtualReceiver* receiver) { receivers_.push_back(receiver); }
  std::vector<HidDeviceInfo> Enumerate() override;
  std::unique_ptr<HidPort> Open(const std::string& path, HidOpenError& error) override;
  std::string Identity(const std::string& path) override;

 private:
  std::vector<VirtualReceiver*> receivers_;
};
