// Throughput of flash writes in batches on the virtual receiver: at once, and at the USB
// full-speed pace of one report per millisecond each way, where a firmware body of 3071 reports
// shows what an upgrade costs.

#include <benchmark/benchmark.h>

#include <vector>

#include "device/hid_link.h"
#include "device/virtual_receiver.h"
#include "device/wheel_protocol.h"
#include "profile/wheel_profile.h"

namespace {

void WriteFlash(benchmark::State& state, VirtualTiming timing) {
  VirtualReceiver receiver;
  receiver.SetTiming(timing);
  VirtualHidBackend backend;
  backend.Add(&receiver);
  HidLink link(backend);
  if (!link.OpenFirstReceiver()) {
    state.SkipWithError("virtual receiver did not open");
    return;
  }
  const auto length = static_cast<std::uint32_t>(state.range(0));
  const std::vector<std::uint8_t> data(length, 0x5A);
  for (auto _ : state) {
    if (!WriteMemory(link, kFirmwareBodyAddress, data.data(), length)) {
      state.SkipWithError("batch failed");
      return;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * length);
  state.counters["reports"] = static_cast<double>((length + kChunkSize - 1) / kChunkSize);
}

void BM_WriteInstant(benchmark::State& state) {
  WriteFlash(state, VirtualTiming::kInstant);
}
void BM_WriteFullSpeed(benchmark::State& state) {
  WriteFlash(state, VirtualTiming::kFullSpeed);
}

}  // namespace

BENCHMARK(BM_WriteInstant)->Arg(kProfileSize)->Arg(kFirmwareBodyLength);
BENCHMARK(BM_WriteFullSpeed)
    ->Arg(kProfileSize)
    ->Arg(kFirmwareBodyLength)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
