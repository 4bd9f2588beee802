// What bounding the receiver's writes costs: every report is handed to the writing thread and
// awaited, where hidapi wrote it on the caller's thread. At the USB full-speed pace a report takes
// a millisecond, so the hand-over should stay far below that.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "device/raw_hid_port.h"

namespace {

// A device that takes every report at once.
class InstantDevice : public RawHidDevice {
 public:
  std::uint16_t VendorId() const override { return 0x2E7B; }
  std::uint16_t ProductId() const override { return 0x0262; }
  int Read(std::uint8_t*, std::size_t, int) override { return 0; }
  int Write(const std::uint8_t*, std::size_t size) override { return static_cast<int>(size); }
};

void BM_BoundedWrite(benchmark::State& state) {
  RawHidPort port(std::make_shared<InstantDevice>());
  std::vector<std::uint8_t> report(33, 0);
  for (auto _ : state) {
    if (!port.Write(report.data(), report.size(), 500)) {
      state.SkipWithError("write failed");
      return;
    }
  }
  state.counters["reports"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_BoundedWrite)->UseRealTime();
