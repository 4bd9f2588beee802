// The log: emptied when named, one appended line per call, off when it cannot be written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "engine/engine_impl.h"
#include "tests/engine/system_test_support.h"

namespace {

class EngineLog : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(folder.Path().empty()); }

  ScratchFolder folder;
  std::unique_ptr<EngineImpl> engine = std::make_unique<EngineImpl>();
};

TEST_F(EngineLog, NamingTheLogEmptiesItAndEachCallAppendsALine) {
  const std::string path = folder / "run.log";
  WriteFileText(path, "left over from the last run\n");
  engine->System_SetState(STATE_LOG_FILE, path.c_str());
  EXPECT_STREQ(engine->System_GetState(STATE_LOG_FILE), path.c_str());
  EXPECT_EQ(ReadFileText(path), "");

  engine->System_Log("Application: %s", "Test");
  engine->System_Log("Init done. (%08X)\n", 0x2Au);
  engine->System_Log("\nFinishing..");
  EXPECT_EQ(ReadFileText(path), "Application: Test\nInit done. (0000002A)\n\n\nFinishing..\n");
}

TEST_F(EngineLog, EveryCallReopensTheFileSoNothingWaitsInABuffer) {
  const std::string path = folder / "run.log";
  engine->System_SetState(STATE_LOG_FILE, path.c_str());
  engine->System_Log("first");
  EXPECT_EQ(ReadFileText(path), "first\n");
  // Someone else appending between calls is kept: the file is not held open.
  WriteFileText(path, "first\nforeign\n");
  engine->System_Log("second");
  EXPECT_EQ(ReadFileText(path), "first\nforeign\nsecond\n");
}

TEST_F(EngineLog, RelativeNamesLiveInTheProgramFolder) {
  std::snprintf(engine->programFolder, sizeof engine->programFolder, "%s", folder.Path().c_str());
  engine->System_SetState(STATE_LOG_FILE, "Corsaro270.log");
  engine->System_Log("hello");
  EXPECT_EQ(ReadFileText(folder / "Corsaro270.log"), "hello\n");
}

TEST_F(EngineLog, AnUnwritableLogIsSilentlyOff) {
  const std::string path = folder / "missing-folder/run.log";
  engine->System_SetState(STATE_LOG_FILE, path.c_str());
  EXPECT_EQ(engine->System_GetState(STATE_LOG_FILE), nullptr);
  engine->System_Log("dropped");
  EXPECT_FALSE(std::filesystem::exists(path));

  // A link, a FIFO (nobody reading it) or a folder in the log's place: off at once, untouched.
  const std::string other = folder / "other.txt";
  WriteFileText(other, "not the log's\n");
  std::filesystem::create_symlink(other, folder / "link.log");
  ASSERT_EQ(mkfifo((folder / "pipe.log").c_str(), 0600), 0);
  std::filesystem::create_directory(folder / "folder.log");
  for (const char* name : {"link.log", "pipe.log", "folder.log"}) {
    engine->System_SetState(STATE_LOG_FILE, (folder / name).c_str());
    EXPECT_EQ(engine->System_GetState(STATE_LOG_FILE), nullptr) << name;
    engine->System_Log("dropped");
  }
  EXPECT_EQ(ReadFileText(other), "not the log's\n");
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.log"));
}

TEST_F(EngineLog, NullSwitchesTheLogOff) {
  const std::string path = folder / "run.log";
  engine->System_SetState(STATE_LOG_FILE, path.c_str());
  engine->System_SetState(STATE_LOG_FILE, nullptr);
  EXPECT_EQ(engine->System_GetState(STATE_LOG_FILE), nullptr);
  engine->System_Log("dropped");
  EXPECT_EQ(ReadFileText(path), "");
}

TEST_F(EngineLog, ErrorsGoToTheLogAsTheirOwnLine) {
  const std::string path = folder / "run.log";
  engine->System_SetState(STATE_LOG_FILE, path.c_str());
  engine->System_SetState(STATE_FRAME_FUNC, [] { return true; });
  EXPECT_FALSE(engine->System_Start());
  EXPECT_EQ(engine->Resource_Load("no-such-file.png", nullptr), nullptr);
  EXPECT_STREQ(engine->System_LastError(), "Can't load resource: no-such-file.png");
  EXPECT_EQ(ReadFileText(path),
            "System_Start: System_Initiate wasn't called\n"
            "Can't load resource: no-such-file.png\n");
}

TEST_F(EngineLog, LongLinesAreWrittenWhole) {
  const std::string path = folder / "run.log";
  engine->System_SetState(STATE_LOG_FILE, path.c_str());
  const std::string text(5000, 'z');
  engine->System_Log("%s", text.c_str());
  EXPECT_EQ(ReadFileText(path), text + "\n");
}

}  // namespace
