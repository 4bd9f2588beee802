// Where the program may draw: never silently on SDL's off-screen driver when a desktop was
// meant.
#include <cstdlib>
#include <string>

#include "tests/scenarios/demo_run.h"

namespace {

class NoDisplay : public DemoRun {
 protected:
  void SetUp() override {
    DemoRun::SetUp();
    // As on a machine reached without a display: nothing names one.
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
  }
};

TEST_F(NoDisplay, TheWindowIsRefusedInsteadOfRunningInvisibly) {
  EXPECT_EQ(Run("wait-state 6\n"
                "screenshot main\n"),
            1);
  EXPECT_NE(Stderr().find("Can't create window"), std::string::npos) << Stderr();
  EXPECT_NE(Log().find("Can't create window\n"), std::string::npos) << Log();
  EXPECT_TRUE(Screenshot("main").pixels.empty()) << "no frame was drawn";
}

TEST_F(NoDisplay, TheOffScreenDriverRunsWhenItIsNamed) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  EXPECT_EQ(Run("wait-state 6\n"
                "screenshot main\n"),
            0)
      << Stderr();
  EXPECT_EQ(Screenshot("main").width, 1024);
}

}  // namespace
