// The program skips frames that would draw the picture already on the screen. One script makes
// each kind of change (the pointer, a drag, a profile switch's tween, the receiver coming and
// going, the firmware worker's progress and texts, the state after it) and takes a screenshot
// on the very frame after it, with the skip and with --draw-every-frame: the pictures must be
// the same, and the idle pauses between the changes must have been skipped.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tests/scenarios/demo_run.h"

namespace {

const char* const kScript =
    "wait-state 6\n"
    "frames 30\n"
    "screenshot idle\n"
    "# the pointer over the Load button\n"
    "move 595 35\n"
    "screenshot hover\n"
    "frames 30\n"
    "# the A tile carried half-way, then dropped on control 5\n"
    "move 715 530\n"
    "down\n"
    "move 660 420\n"
    "move 600 300\n"
    "screenshot drag\n"
    "frames 30\n"
    "move 588 272\n"
    "up\n"
    "move 500 590\n"
    "frames 30\n"
    "screenshot dropped\n"
    "# profile 3, half-way out of profile 1\n"
    "click 932 35\n"
    "frames 2\n"
    "screenshot switching\n"
    "wait-state 6\n"
    "frames 30\n"
    "screenshot three\n"
    "# the receiver pulled out and plugged in again\n"
    "unplug\n"
    "screenshot unplugged\n"
    "frames 30\n"
    "plug\n"
    "wait-state 6\n"
    "frames 30\n"
    "screenshot back\n"
    "# an old receiver, updated\n"
    "firmware-version 1.80\n"
    "unplug\n"
    "frames 5\n"
    "answer yes\n"
    "plug\n"
    "wait-progress 50\n"
    "screenshot transfer\n"
    "wait-progress 100\n"
    "unplug\n"
    "wait-state 10\n"
    "frames 30\n"
    "screenshot waiting\n"
    "plug\n"
    "wait-state 6\n"
    "frames 30\n"
    "screenshot updated\n";

// Every screenshot but the one taken during the transfer, whose progress depends on time; each
// differs from the one before it.
const char* const kSteadyShots[] = {"idle",  "hover",     "drag", "dropped", "switching", "three",
                                    "unplugged", "back", "waiting", "updated"};

struct FrameCounts {
  long drawn = -1;
  long skipped = -1;
};

FrameCounts CountsInLog(const std::string& log) {
  FrameCounts counts;
  const std::size_t at = log.find("Frames drawn: ");
  if (at != std::string::npos) {
    std::sscanf(log.c_str() + at, "Frames drawn: %ld, unchanged and not drawn: %ld", &counts.drawn,
                &counts.skipped);
  }
  return counts;
}

// The green part of the update bar, in whole percent: four pixels a percent from x = 312, on
// the bar's top row, y = 352, above its text.
int BarPercent(const ImageArgb& shot) {
  if (shot.pixels.empty()) return -1;
  const std::uint32_t* row = shot.pixels.data() + static_cast<std::size_t>(352) * shot.width;
  int width = 0;
  while (312 + width < shot.width && row[312 + width] == 0xFF00FF00u) ++width;
  return width / 4;
}

class UnchangedFrames : public DemoRun {
 protected:
  struct Outcome {
    std::map<std::string, ImageArgb> shots;
    FrameCounts counts;
  };

  Outcome RunScript(std::vector<std::string> options) {
    options.push_back("--usb-pace");
    Outcome outcome;
    EXPECT_EQ(Run(kScript, options), 0) << Stderr();
    for (const char* name : kSteadyShots) outcome.shots[name] = Screenshot(name);
    outcome.shots["transfer"] = Screenshot("transfer");
    outcome.counts = CountsInLog(Log());
    return outcome;
  }
};

TEST_F(UnchangedFrames, EveryChangeShowsOnItsFirstFrameAndIdleFramesAreSkipped) {
  const Outcome skipping = RunScript({});
  const Outcome everyFrame = RunScript({"--draw-every-frame"});

  const ImageArgb* previous = nullptr;
  for (const char* name : kSteadyShots) {
    SCOPED_TRACE(name);
    const ImageArgb& shot = skipping.shots.at(name);
    ASSERT_EQ(shot.width, 1024);
    EXPECT_TRUE(shot.pixels == everyFrame.shots.at(name).pixels)
        << "the skipping run showed another picture";
    if (previous != nullptr) {
      EXPECT_FALSE(shot.pixels == previous->pixels) << "nothing changed";
    }
    previous = &shot;
  }
  // The screenshot comes on the frame after the bar reached half-way: it shows at least that.
  EXPECT_GE(BarPercent(skipping.shots.at("transfer")), 50);
  EXPECT_GE(BarPercent(everyFrame.shots.at("transfer")), 50);

  // Nine pauses of 30 frames with nothing moving: most of their frames were not drawn.
  EXPECT_GE(skipping.counts.skipped, 150) << Log();
  EXPECT_GT(skipping.counts.drawn, 0);
  EXPECT_EQ(everyFrame.counts.skipped, 0);
  EXPECT_GT(everyFrame.counts.drawn, skipping.counts.drawn);
}

}  // namespace
