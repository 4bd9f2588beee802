// Scripts read whole before the window opens: every command, its expansion into frame steps, and
// the line and reason of the first faulty line.
#include "demo/script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<ScriptStep> Parse(const std::string& text, const std::string& folder = "/tmp") {
  std::vector<ScriptStep> steps;
  ScriptError error;
  EXPECT_TRUE(ParseScript(text, folder, &steps, &error)) << error.line << ": " << error.reason;
  return steps;
}

ScriptError ErrorOf(const std::string& text) {
  std::vector<ScriptStep> steps;
  ScriptError error;
  EXPECT_FALSE(ParseScript(text, "/tmp", &steps, &error)) << text;
  return error;
}

// The kinds of the steps, one letter each, for comparing expansions at a glance.
std::string Kinds(const std::vector<ScriptStep>& steps) {
  std::string kinds;
  for (const ScriptStep& step : steps) kinds += "WMDUwKkAFPpVfSGsdQ"[static_cast<int>(step.kind)];
  return kinds;
}

TEST(Script, CommandsBecomeStepsWithTheirValuesAndLines) {
  const std::vector<ScriptStep> steps = Parse(
      "frames 5\n"
      "move 1023 599\n"
      "down\n"
      "up\n"
      "wheel -3\n"
      "answer yes\n"
      "answer no\n"
      "plug\n"
      "unplug\n"
      "firmware-version 1.80\n"
      "firmware-version 0x0196\n"
      "fault remove-after 7\n"
      "fault wrong-crc\n"
      "wait-state 6\n"
      "wait-state 0 30\n"
      "wait-progress 50\n"
      "wait-progress 100 600\n"
      "screenshot main-1\n"
      "dump-flash flash_2.v1\n"
      "quit\n");
  ASSERT_EQ(Kinds(steps), "WMDUwAAPpVVffSSGGsdQ");
  for (std::size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(steps[i].line, static_cast<int>(i) + 1);
  EXPECT_EQ(steps[0].count, 5);
  EXPECT_EQ(steps[1].x, 1023);
  EXPECT_EQ(steps[1].y, 599);
  EXPECT_EQ(steps[4].count, -3);
  EXPECT_TRUE(steps[5].yes);
  EXPECT_FALSE(steps[6].yes);
  EXPECT_EQ(steps[9].version, 0x0180);
  EXPECT_EQ(steps[10].version, 0x0196);
  EXPECT_EQ(steps[11].fault, FaultKind::kRemoveAfter);
  EXPECT_EQ(steps[11].count, 7);
  EXPECT_EQ(steps[12].fault, FaultKind::kWrongCrc);
  EXPECT_EQ(steps[13].state, 6);
  EXPECT_EQ(steps[13].count, 900) << "the default limit";
  EXPECT_EQ(steps[14].state, 0);
  EXPECT_EQ(steps[14].count, 30);
  EXPECT_EQ(steps[15].state, 50);
  EXPECT_EQ(steps[15].count, 900);
  EXPECT_EQ(steps[16].state, 100);
  EXPECT_EQ(steps[16].count, 600);
  EXPECT_EQ(steps[17].text, "main-1");
  EXPECT_EQ(steps[18].text, "flash_2.v1");
}

TEST(Script, ClickIsMoveDownTwoFramesUpTwoFrames) {
  const std::vector<ScriptStep> steps = Parse("click 40 50\n");
  ASSERT_EQ(Kinds(steps), "MDWUW");
  EXPECT_EQ(steps[0].x, 40);
  EXPECT_EQ(steps[0].y, 50);
  EXPECT_EQ(steps[2].count, 2);
  EXPECT_EQ(steps[4].count, 2);
}

TEST(Script, DragMovesInEightEqualSteps) {
  const std::vector<ScriptStep> steps = Parse("drag 100 200 180 184\n");
  ASSERT_EQ(Kinds(steps), "MDWMMMMMMMMUW");
  EXPECT_EQ(steps[0].x, 100);
  EXPECT_EQ(steps[0].y, 200);
  const int expectedX[8] = {110, 120, 130, 140, 150, 160, 170, 180};
  const int expectedY[8] = {198, 196, 194, 192, 190, 188, 186, 184};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(steps[3 + i].x, expectedX[i]) << i;
    EXPECT_EQ(steps[3 + i].y, expectedY[i]) << i;
  }
}

TEST(Script, KeysAreNamedAsTheEngineNamesThem) {
  const std::vector<ScriptStep> steps =
      Parse("key Escape\nkey Left Arrow\nkey F5\nkey NumPad 3\nkey A\n");
  ASSERT_EQ(Kinds(steps), "KkKkKkKkKk");
  const int keys[5] = {27, 37, 116, 99, 65};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(steps[2 * i].key, keys[i]);
    EXPECT_EQ(steps[2 * i + 1].key, keys[i]);
  }
}

TEST(Script, CommentsBlankLinesAndWindowsLineEndsAreSkipped) {
  const std::vector<ScriptStep> steps = Parse(
      "# a scripted run\r\n"
      "\r\n"
      "   \t\n"
      "frames 2   # two frames\r\n"
      "  # indented comment\n"
      "file a#1.cs270\n");
  ASSERT_EQ(Kinds(steps), "WF");
  EXPECT_EQ(steps[0].line, 4);
  EXPECT_EQ(steps[1].text, "/tmp/a#1.cs270") << "a '#' inside a word is part of it";
  EXPECT_EQ(steps[1].line, 6);
  EXPECT_TRUE(Parse("").empty());
  EXPECT_EQ(Kinds(Parse("frames 0\n")), "") << "no frames to wait";
}

TEST(Script, FilesAreTakenInTheScriptsFolderAndCancelIsEmpty) {
  const std::string folder = std::filesystem::temp_directory_path().string();
  const std::vector<ScriptStep> steps =
      Parse("file saved profile.cs270\nfile cancel\nfile " + folder + "/x.cs270\n", folder);
  ASSERT_EQ(Kinds(steps), "FFF");
  EXPECT_EQ(steps[0].text, (std::filesystem::path(folder) / "saved profile.cs270").string());
  EXPECT_EQ(steps[1].text, "");
  EXPECT_EQ(steps[2].text, (std::filesystem::path(folder) / "x.cs270").string());
}

TEST(Script, TheFirstFaultyLineStopsTheScriptWithItsReason) {
  struct Case {
    const char* script;
    int line;
    const char* reason;
  };
  const Case cases[] = {
      {"frames 1\njump 3\n", 2, "unknown command \"jump\""},
      {"frames\n", 1, "usage: frames N"},
      {"frames x\n", 1, "frames: N must be a whole number from 0 to 1000000, not \"x\""},
      {"frames -1\n", 1, "frames: N must be a whole number from 0 to 1000000, not \"-1\""},
      {"frames 99999999999999999999\n", 1,
       "frames: N must be a whole number from 0 to 1000000, not \"99999999999999999999\""},
      {"move 1024 0\n", 1, "move: X must be a whole number from 0 to 1023, not \"1024\""},
      {"move 0 600\n", 1, "move: Y must be a whole number from 0 to 599, not \"600\""},
      {"move 5\n", 1, "usage: move X Y"},
      {"drag 0 0 0\n", 1, "usage: drag X1 Y1 X2 Y2"},
      {"down now\n", 1, "usage: down"},
      {"wheel 0\n", 1, "wheel: N must not be 0"},
      {"key\n", 1, "usage: key NAME"},
      {"key escape\n", 1, "key: no key is named \"escape\""},
      {"key Left Mouse Button\n", 1, "key: no key is named \"Left Mouse Button\""},
      {"answer maybe\n", 1, "usage: answer yes|no"},
      {"file\n", 1, "usage: file PATH|cancel"},
      {"file /no/such/folder/x.cs270\n", 1,
       "file: the folder of \"/no/such/folder/x.cs270\" does not exist"},
      {"firmware-version 1.9z\n", 1,
       "firmware-version: \"1.9z\" is not a version such as 1.96 or 0x0196"},
      {"fault\n", 1, "usage: fault none|no-reply|wrong-code|wrong-magic|wrong-crc|remove-after N"},
      {"fault remove-after\n", 1,
       "usage: fault none|no-reply|wrong-code|wrong-magic|wrong-crc|remove-after N"},
      {"fault no-reply 3\n", 1,
       "usage: fault none|no-reply|wrong-code|wrong-magic|wrong-crc|remove-after N"},
      {"fault melt\n", 1, "fault: unknown kind \"melt\""},
      {"wait-state 12\n", 1, "wait-state: N must be a whole number from 0 to 11, not \"12\""},
      {"wait-state 6 0\n", 1,
       "wait-state: MAXFRAMES must be a whole number from 1 to 1000000, not \"0\""},
      {"wait-progress 101\n", 1,
       "wait-progress: P must be a whole number from 0 to 100, not \"101\""},
      {"wait-progress\n", 1, "usage: wait-progress P [MAXFRAMES]"},
      {"screenshot ../up\n", 1,
       "screenshot: \"../up\" is not a plain file name (letters, digits, '-', '_' and '.')"},
      {"dump-flash /etc/x\n", 1,
       "dump-flash: \"/etc/x\" is not a plain file name (letters, digits, '-', '_' and '.')"},
      {"quit now\n", 1, "usage: quit"},
  };
  for (const Case& c : cases) {
    const ScriptError error = ErrorOf(c.script);
    EXPECT_EQ(error.line, c.line) << c.script;
    EXPECT_EQ(error.reason, c.reason) << c.script;
  }
}

TEST(Script, AMissingScriptFileIsAnErrorOfLineZero) {
  std::vector<ScriptStep> steps;
  ScriptError error;
  EXPECT_FALSE(LoadScript("/no/such/script.txt", &steps, &error));
  EXPECT_EQ(error.line, 0);
  EXPECT_EQ(error.reason, "cannot read the script /no/such/script.txt");
}

}  // namespace
