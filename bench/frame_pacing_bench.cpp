// The engine's frame loop at 60 frames a second on the real clock, with frame and render
// functions that do nothing: the intervals between frame starts and the processor time of the
// loop's thread while it waits. Prints figures; passes or fails nothing.
// Usage: frame_pacing_bench [SECONDS]   (SDL_VIDEODRIVER=offscreen runs it without a display)

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/engine.h"

namespace {

using Clock = std::chrono::steady_clock;

Engine* engine = nullptr;
std::vector<Clock::time_point> starts;
std::size_t framesWanted = 0;

bool RecordFrame() {
  starts.push_back(Clock::now());
  return starts.size() >= framesWanted;
}

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void PrintIntervals(double step) {
  std::vector<double> intervals;
  for (std::size_t i = 1; i < starts.size(); ++i) {
    intervals.push_back(
        std::chrono::duration<double, std::milli>(starts[i] - starts[i - 1]).count());
  }
  std::vector<double> sorted = intervals;
  std::sort(sorted.begin(), sorted.end());
  double sum = 0;
  for (double interval : intervals) sum += interval;
  const double mean = sum / static_cast<double>(intervals.size());
  double squares = 0;
  for (double interval : intervals) squares += (interval - mean) * (interval - mean);
  const auto percentile = [&](double p) {
    return sorted[static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1))];
  };
  std::printf("frames: %zu, step %.0f ms\n", starts.size(), step);
  std::printf("interval: mean %.3f ms, min %.3f, median %.3f, 99th percentile %.3f, max %.3f\n",
              mean, sorted.front(), percentile(0.5), percentile(0.99), sorted.back());
  std::printf("jitter (standard deviation): %.3f ms\n",
              std::sqrt(squares / static_cast<double>(intervals.size())));
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
  engine = Engine_Create(ENGINE_VERSION);
  engine->System_SetState(STATE_SCREEN_WIDTH, 1024);
  engine->System_SetState(STATE_SCREEN_HEIGHT, 600);
  engine->System_SetState(STATE_WINDOWED, true);
  engine->System_SetState(STATE_SOUND, false);
  engine->System_SetState(STATE_SPLASH, false);
  engine->System_SetState(STATE_RUN_INACTIVE, true);
  engine->System_SetState(STATE_FPS, 60);
  engine->System_SetState(STATE_FRAME_FUNC, RecordFrame);
  if (!engine->System_Initiate(false)) {
    std::fprintf(stderr, "frame_pacing_bench: %s\n", engine->System_LastError());
    engine->Release();
    return 1;
  }
  framesWanted = static_cast<std::size_t>(seconds * 1000.0 / 16.0);
  starts.reserve(framesWanted);
  const double cpuBefore = ThreadCpuSeconds();
  const Clock::time_point wallBefore = Clock::now();
  engine->System_Start();
  const double cpu = ThreadCpuSeconds() - cpuBefore;
  const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
  PrintIntervals(16.0);
  std::printf("frame loop thread: %.2f %% of a core over %.1f s\n", 100.0 * cpu / wall, wall);
  engine->System_Shutdown();
  engine->Release();
  return 0;
}
