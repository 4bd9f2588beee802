// How a scripted run starts and ends: options, script errors, quit and the end of the script,
// and what a screenshot holds.
#include <csignal>
#include <filesystem>
#include <string>

#include "tests/scenarios/demo_run.h"

namespace {

TEST_F(DemoRun, AScriptErrorStopsBeforeTheWindowOpens) {
  EXPECT_EQ(Run("frames 1\n"
                "jump 3\n"),
            3);
  EXPECT_EQ(Stderr(), "2: unknown command \"jump\"\n");
  EXPECT_FALSE(std::filesystem::exists(Out())) << "nothing ran";

  EXPECT_EQ(Run("# a comment\n"
                "move 10 20\n"
                "screenshot ../escape\n"),
            3);
  EXPECT_EQ(Stderr(),
            "3: screenshot: \"../escape\" is not a plain file name (letters, digits, '-', '_' "
            "and '.')\n");
}

TEST_F(DemoRun, AWaitStateThatRunsOutExitsWithThree) {
  EXPECT_EQ(Run("wait-state 6\n"
                "wait-state 0 10\n"
                "screenshot never\n"),
            3);
  EXPECT_NE(Stderr().find("2: wait-state: AppState was still 6, not 0, after 10 frames\n"),
            std::string::npos)
      << Stderr();
  EXPECT_TRUE(Screenshot("never").pixels.empty());
  EXPECT_NE(Log().find("The End."), std::string::npos) << "the program shut down";
}

TEST_F(DemoRun, AMissingScriptExitsWithThree) {
  EXPECT_EQ(RunWith({"--script", Path("none.txt"), "--out", Out()}), 3);
  EXPECT_EQ(Stderr(), "0: cannot read the script " + Path("none.txt") + "\n");
}

TEST_F(DemoRun, QuitEndsTheProgramThroughItsExitPath) {
  ASSERT_EQ(Run("wait-state 6\n"
                "quit\n"
                "unplug\n"),
            0)
      << Stderr();
  const std::string log = Log();
  const std::size_t quit = log.find("script: quit at frame");
  ASSERT_NE(quit, std::string::npos) << log;
  EXPECT_NE(log.find("Finishing..", quit), std::string::npos) << "the frame loop ended";
  EXPECT_NE(log.find("The End.", quit), std::string::npos);
  EXPECT_EQ(log.find("did not end on Escape"), std::string::npos) << "Escape was heeded";
  EXPECT_EQ(States(), (std::vector<std::pair<int, int>>{{0, 6}})) << "unplug never ran";
  EXPECT_EQ(Stderr().find("the program ended"), std::string::npos) << Stderr();
}

TEST_F(DemoRun, ScreenshotsHaveTheWindowsSize) {
  ASSERT_EQ(Run("wait-state 6\n"
                "screenshot main\n"),
            0)
      << Stderr();
  const ImageArgb main = Screenshot("main");
  EXPECT_EQ(main.width, 1024);
  EXPECT_EQ(main.height, 600);
  ASSERT_EQ(main.pixels.size(), 1024u * 600u);
  for (std::uint32_t pixel : main.pixels) {
    if ((pixel >> 24) != 0xFF) FAIL() << "a window pixel is not opaque";
  }
}

TEST_F(DemoRun, BadOptionsPrintTheUsageAndExitWithTwo) {
  EXPECT_EQ(RunWith({"--frobnicate"}), 2);
  EXPECT_EQ(Stderr().rfind("corsaro270-demo: unknown option --frobnicate\n", 0), 0u) << Stderr();
  EXPECT_NE(Stderr().find("Usage: corsaro270-demo [options]"), std::string::npos);
  EXPECT_EQ(RunWith({"--firmware-version", "new"}), 2);
  EXPECT_EQ(RunWith({"--script", Path("s.txt")}), 2);
  EXPECT_NE(Stderr().find("--script needs --out"), std::string::npos);

  EXPECT_EQ(RunWith({"--help"}), 0);
  EXPECT_EQ(Stdout().rfind("Usage: corsaro270-demo [options]\n", 0), 0u);
  EXPECT_NE(Stdout().find("\n  wait-state N [MAXFRAMES]  "), std::string::npos) << "the commands";
}

// A scripted run answers its dialogs itself: neither the dialogs' GTK module nor GTK is loaded,
// before or after a message box.
TEST_F(DemoRun, ScriptedDialogsNeverLoadTheDesktopToolkit) {
  std::string maps;
  EXPECT_EQ(RunAndSignal("wait-state 6\n"
                         "click 199 520\n"
                         "frames 2\n"
                         "screenshot shown\n"
                         "frames 1000000\n",
                         {}, "shown.png", SIGTERM, &maps),
            143)
      << Stderr();
  ASSERT_EQ(Messages().size(), 1u) << "Assign Setting reported its write";
  EXPECT_EQ(Messages()[0].rfind("info\tCorsaro270 Customiser\tWheel profile data", 0), 0u);
  ASSERT_NE(maps.find("corsaro270-demo"), std::string::npos) << maps;
  EXPECT_EQ(maps.find("gtk-dialogs.so"), std::string::npos) << maps;
  EXPECT_EQ(maps.find("libgtk-3"), std::string::npos) << maps;
  EXPECT_EQ(maps.find("libpango"), std::string::npos) << maps;
}

}  // namespace
