#include "device/firmware_upgrade.h"

#include <atomic>
#include <cassert>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <system_error>
#include <thread>

#include "common/app_state.h"
#include "common/firmware_crc.h"
#include "common/log.h"
#include "device/firmware_image.h"
#include "device/hid_link.h"
#include "device/progress.h"
#include "device/receiver_lock.h"
#include "device/wheel_protocol.h"

namespace {

constexpr const char* kTextInitialising = "Initialising Firmware Upgrade";
constexpr const char* kTextErasing = "Erasing Flash";
constexpr const char* kTextReprogramming = "Reprogramming firmware...";
constexpr const char* kTextRemoveWheel = "REMOVE WHEEL";

constexpr const char* kFailedRadioState = "Write Radio state failed";
constexpr const char* kFailedErase = "Erasing flash failed";
constexpr const char* kFailedBody = "Reprogramming firmware failed";
constexpr const char* kFailedCrcRead = "CRC generation failed";
constexpr const char* kFailedCrcCompare = "CRC check failed";
constexpr const char* kFailedSignature = "Writing signature failed";
// Failures before the first step.
constexpr const char* kFailedBusy = "Receiver busy: another program is writing to it";
constexpr const char* kFailedStart = "Firmware upgrade could not start";

enum class InstallEnd { kSigned, kFailed, kStopped };

// The worker thread and what it shares with the main thread.
class Worker {
 public:
  // A worker still running at exit is stopped, never abandoned.
  ~Worker() { Stop(); }

  void Start(std::shared_ptr<HidLink> link, const UpgradePauses& pauses);
  void Stop();
  bool WaitUntilFinished(std::chrono::milliseconds timeout);
  bool UsesLink() const { return usesLink_.load(); }

 private:
  void Run(std::shared_ptr<HidLink> link, UpgradePauses pauses);
  InstallEnd InstallLocked(HidLink* link, const char*& failure);
  InstallEnd Install(HidLink& link, std::span<const std::uint8_t> image, const char*& failure);
  // Waits `pause`, or less when a stop is requested.
  void Pause(std::chrono::milliseconds pause);
  void Finish();

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::atomic<bool> stopRequested_{false};  // set under mutex_, read anywhere
  bool finished_ = true;                    // under mutex_
  std::atomic<bool> usesLink_{false};
};

Worker worker;

void Worker::Start(std::shared_ptr<HidLink> link, const UpgradePauses& pauses) {
  assert(!thread_.joinable() && "stop the earlier worker first");
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = false;
    finished_ = false;
  }
  usesLink_ = link != nullptr;
  try {
    thread_ = std::thread(&Worker::Run, this, std::move(link), pauses);
  } catch (const std::system_error& error) {
    Log("The firmware upgrade could not start: %s", error.what());
    ProgressMessage = kFailedStart;
    usesLink_ = false;
    Finish();
  }
}

void Worker::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

bool Worker::WaitUntilFinished(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return finished_; });
}

void Worker::Pause(std::chrono::milliseconds pause) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, pause, [this] { return stopRequested_.load(); });
}

void Worker::Finish() {
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
  }
  changed_.notify_all();
}

void Worker::Run(std::shared_ptr<HidLink> link, UpgradePauses pauses) {
  ProgressPercent = 0;
  ProgressMessage = kTextInitialising;
  Pause(pauses.initial);
  const char* failure = nullptr;
  const InstallEnd end = InstallLocked(link.get(), failure);
  // Done with the link: the main thread may use it again, or its last owner frees it.
  link.reset();
  usesLink_ = false;
  switch (end) {
    case InstallEnd::kSigned:
      ProgressPercent = 100;
      ProgressMessage = kTextRemoveWheel;
      UpgradeRunning = 0;
      Log("Firmware upgrade: the new image is staged; it installs when the receiver is replugged");
      Pause(pauses.afterSuccess);
      break;
    case InstallEnd::kFailed:
      ProgressMessage = failure;
      Log("Firmware upgrade failed: %s", failure);
      Pause(pauses.failureHold);
      break;
    case InstallEnd::kStopped:
      Log("Firmware upgrade stopped before its end; the receiver keeps its firmware");
      break;
  }
  Finish();
}

InstallEnd Worker::InstallLocked(HidLink* link, const char*& failure) {
  const std::span<const std::uint8_t> image = CarriedFirmwareImage();
  if (image.empty()) {
    Log("Firmware upgrade: this build carries no firmware image");
    failure = kFailedBody;
    return InstallEnd::kFailed;
  }
  if (link == nullptr || !link->IsOpen()) {
    Log("Firmware upgrade: no receiver is open");
    failure = kFailedRadioState;
    return InstallEnd::kFailed;
  }
  if (stopRequested_) return InstallEnd::kStopped;
  ReceiverLock lock;
  std::string why;
  if (!lock.Acquire(ReceiverIdentity(link->Path()), kReceiverLockWaitMs, why)) {
    Log("Firmware upgrade: %s", why.c_str());
    failure = kFailedBusy;
    return InstallEnd::kFailed;
  }
  return Install(*link, image, failure);
}

InstallEnd Worker::Install(HidLink& link, std::span<const std::uint8_t> image,
                           const char*& failure) {
  const std::uint8_t* body = image.data() + kFirmwareImageBodyOffset;
  std::uint32_t receiverCrc = 0;
  struct Step {
    const char* failure;
    std::function<bool()> run;
  };
  const Step steps[] = {
      {kFailedRadioState, [&] { return SetRadioState(link); }},
      {kFailedErase,
       [&] {
         ProgressMessage = kTextErasing;
         return EraseSectors(link, kUpgradeAreaAddress, kUpgradeAreaLength);
       }},
      {kFailedBody,
       [&] {
         return WriteMemory(link, kFirmwareBodyAddress, body, kFirmwareBodyLength, true,
                            kTextReprogramming, &stopRequested_);
       }},
      {kFailedCrcRead, [&] { return ReadFlashCrc(link, receiverCrc); }},
      {kFailedCrcCompare, [&] { return receiverCrc == FirmwareCrc(body, kFirmwareBodyLength); }},
      // The mark of completion goes last, only over a body the receiver holds intact.
      {kFailedSignature,
       [&] {
         return WriteMemory(link, kDfuSignatureAddress, image.data(), kDfuSignatureSize, false,
                            nullptr, &stopRequested_);
       }},
  };
  for (const Step& step : steps) {
    if (stopRequested_) return InstallEnd::kStopped;
    if (!step.run()) {
      if (stopRequested_) return InstallEnd::kStopped;
      failure = step.failure;
      return InstallEnd::kFailed;
    }
  }
  return InstallEnd::kSigned;
}

}  // namespace

void StartFirmwareUpgrade(const UpgradePauses& pauses) {
  // An earlier worker must not publish its end over this run's values.
  worker.Stop();
  AppState = APP_UPDATE_RUNNING;
  UpgradeRunning = 1;
  worker.Start(ReceiverLink, pauses);
}

bool FirmwareUpgradeUsesLink() {
  return worker.UsesLink();
}

bool WaitForFirmwareUpgrade(std::chrono::milliseconds timeout) {
  return worker.WaitUntilFinished(timeout);
}

void StopFirmwareUpgrade() {
  worker.Stop();
}
