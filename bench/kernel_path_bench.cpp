// The firmware body and a profile write through the kernel, on the first receiver that udev
// lists and hidraw opens (such as one corsaro270-emu --usb-pace plays), beside the same on the
// in-process receiver at the USB full-speed pace. At that pace the body's 3071 write reports take
// at least 3.071 s; what the kernel path adds shows as the difference between the two rows. Where
// no receiver is plugged in the hidraw rows are skipped with the reason.

#include <benchmark/benchmark.h>

#include <chrono>

#include "device/firmware_image.h"
#include "device/hid_link.h"
#include "device/hid_port.h"
#include "device/virtual_receiver.h"
#include "device/wheel_protocol.h"
#include "profile/headless_profile_controls.h"
#include "profile/profile_controls.h"
#include "profile/profile_state.h"

namespace {

enum class Path { kInProcess, kHidraw };

// A receiver opened as the program opens one: the in-process one at full speed, or the system's.
class BenchReceiver {
 public:
  explicit BenchReceiver(Path path)
      : link_(path == Path::kHidraw ? SystemHidBackend() : static_cast<HidBackend&>(backend_)) {
    receiver_.SetTiming(VirtualTiming::kFullSpeed);
    backend_.Add(&receiver_);
    SetProfileControls(&controls_);
    InitProfileState();
    opened_ = link_.OpenFirstReceiver();
  }
  ~BenchReceiver() { SetProfileControls(nullptr); }

  HidLink& link() { return link_; }
  // Why no figure can be taken, or null.
  const char* Missing() const {
    if (opened_) return nullptr;
    const char* missing = SystemHidBackendMissing();
    return missing != nullptr ? missing : "no receiver could be opened (is one plugged in?)";
  }

 private:
  VirtualReceiver receiver_{"virtual:kernel-path-bench"};
  VirtualHidBackend backend_;
  HeadlessProfileControls controls_;
  HidLink link_;
  bool opened_ = false;
};

void BM_FirmwareBody(benchmark::State& state, Path path) {
  BenchReceiver receiver(path);
  const auto image = CarriedFirmwareImage();
  if (receiver.Missing() != nullptr || image.empty()) {
    state.SkipWithError(image.empty() ? "this build carries no firmware image" : receiver.Missing());
    return;
  }
  const std::uint8_t* body = image.data() + kFirmwareImageBodyOffset;
  double seconds = 0;
  for (auto _ : state) {
    // NOR flash: the body goes over erased sectors, as in an upgrade; only the write is timed.
    if (!EraseSectors(receiver.link(), kUpgradeAreaAddress, kUpgradeAreaLength)) {
      state.SkipWithError("the erase failed");
      return;
    }
    const auto start = std::chrono::steady_clock::now();
    if (!WriteMemory(receiver.link(), kFirmwareBodyAddress, body, kFirmwareBodyLength)) {
      state.SkipWithError("the body write failed");
      return;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    seconds += took.count();
    state.SetIterationTime(took.count());
  }
  const double reports = (kFirmwareBodyLength + kChunkSize - 1) / kChunkSize;
  // One report a millisecond each way.
  const double busLimitSeconds = reports / 1000;
  state.counters["reports"] = reports;
  state.counters["x_bus_limit"] = seconds / static_cast<double>(state.iterations()) / busLimitSeconds;
}

// Erasing the profile sector, writing and reading back the three records and the marker, as
// corsaro270-cli --no-backup write-profiles does.
void BM_ProfileWrite(benchmark::State& state, Path path) {
  BenchReceiver receiver(path);
  if (receiver.Missing() != nullptr || !ReadProfileFromReceiver(receiver.link())) {
    state.SkipWithError(receiver.Missing() != nullptr ? receiver.Missing()
                                                      : "the profiles could not be read");
    return;
  }
  for (auto _ : state) {
    if (!WriteProfileToReceiver(receiver.link(), ProfileBackupRule::kSkip)) {
      state.SkipWithError("the profile write failed");
      return;
    }
  }
}

}  // namespace

BENCHMARK_CAPTURE(BM_FirmwareBody, in_process, Path::kInProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_FirmwareBody, hidraw, Path::kHidraw)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_ProfileWrite, in_process, Path::kInProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_ProfileWrite, hidraw, Path::kHidraw)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
