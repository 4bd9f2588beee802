// Full paths, whole-file loading from disk, the wildcard search and screenshot names.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include "engine/engine_impl.h"
#include "tests/engine/system_test_support.h"

namespace {

class EnginePaths : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.Path().empty());
    std::snprintf(engine->programFolder, sizeof engine->programFolder, "%s", folder.Path().c_str());
  }

  std::set<std::string> FindAll(const char* pattern, bool folders) {
    std::set<std::string> names;
    const char* name =
        folders ? engine->Resource_FindFolder(pattern) : engine->Resource_FindFile(pattern);
    for (; name != nullptr; name = folders ? engine->Resource_FindFolder(nullptr)
                                           : engine->Resource_FindFile(nullptr)) {
      names.insert(name);
    }
    return names;
  }

  ScratchFolder folder;
  std::unique_ptr<EngineImpl> engine = std::make_unique<EngineImpl>();
};

TEST(EngineProgramFolder, IsTheExecutablesFolderWithATrailingSeparator) {
  EngineImpl engine;
  const std::string folder = engine.programFolder;
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(folder + "engine_tests"));
}

TEST_F(EnginePaths, RelativeNamesJoinTheProgramFolderWithSlashes) {
  EXPECT_EQ(std::string(engine->Resource_FullPath("data/skin.png")), folder / "data/skin.png");
  EXPECT_EQ(std::string(engine->Resource_FullPath("data\\skin.png")), folder / "data/skin.png");
  EXPECT_EQ(std::string(engine->Resource_FullPath(nullptr)), folder.Path());
}

TEST_F(EnginePaths, AbsoluteNamesStayButTakeThePlatformSeparator) {
  EXPECT_STREQ(engine->Resource_FullPath("/etc/hosts"), "/etc/hosts");
  EXPECT_STREQ(engine->Resource_FullPath("C:/x.txt"), "C:/x.txt");
  EXPECT_STREQ(engine->Resource_FullPath("C:\\x.txt"), "C:/x.txt");
  EXPECT_STREQ(engine->Resource_FullPath("\\server\\share"), "/server/share");
}

TEST_F(EnginePaths, TooLongAPathGivesAnEmptyTextAndLoadsNothing) {
  const std::string name(kMaxPath, 'a');
  EXPECT_STREQ(engine->Resource_FullPath(name.c_str()), "");
  EXPECT_EQ(engine->Resource_Load(name.c_str(), nullptr), nullptr);
  EXPECT_EQ(std::string(engine->System_LastError()).rfind("Can't load resource: aaaa", 0), 0u);
  engine->System_SetState(STATE_LOG_FILE, name.c_str());
  EXPECT_EQ(engine->System_GetState(STATE_LOG_FILE), nullptr);
}

TEST_F(EnginePaths, LoadsWholeFilesFromDisk) {
  std::filesystem::create_directory(folder / "data");
  WriteFileText(folder / "data/hello.txt", std::string("hi\0there", 8));
  std::uint32_t size = 0;
  void* data = engine->Resource_Load("data\\hello.txt", &size);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(std::string(static_cast<char*>(data), size), std::string("hi\0there", 8));
  engine->Resource_Free(data);
  engine->Resource_Free(nullptr);

  WriteFileText(folder / "empty.bin", "");
  data = engine->Resource_Load((folder / "empty.bin").c_str(), &size);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(size, 0u);
  engine->Resource_Free(data);
}

TEST_F(EnginePaths, MissingFilesAndFoldersFailWithTheNameAsPassed) {
  std::filesystem::create_directory(folder / "data");
  std::uint32_t size = 77;
  EXPECT_EQ(engine->Resource_Load("data/none.png", &size), nullptr);
  EXPECT_STREQ(engine->System_LastError(), "Can't load resource: data/none.png");
  EXPECT_EQ(size, 77u);
  EXPECT_EQ(engine->Resource_Load("data", &size), nullptr);
  EXPECT_STREQ(engine->System_LastError(), "Can't load resource: data");
  EXPECT_EQ(engine->Resource_Load(nullptr, &size), nullptr);
}

TEST_F(EnginePaths, FindFileSkipsFoldersAndMatchesWildcardsWithoutCase) {
  std::filesystem::create_directory(folder / "shots.bmp");
  for (const char* name : {"shot000.bmp", "SHOT001.BMP", "shot12.bmp", "notes.txt", "a.b.c"}) {
    WriteFileText(folder / name, "x");
  }
  EXPECT_EQ(FindAll("shot???.bmp", false), (std::set<std::string>{"shot000.bmp", "SHOT001.BMP"}));
  EXPECT_EQ(FindAll("*.bmp", false),
            (std::set<std::string>{"shot000.bmp", "SHOT001.BMP", "shot12.bmp"}));
  EXPECT_EQ(FindAll("*.*", false).size(), 5u);
  EXPECT_EQ(FindAll("nothing*", false), std::set<std::string>{});
  EXPECT_EQ(engine->Resource_FindFile(nullptr), nullptr);
}

TEST_F(EnginePaths, FindFolderSkipsFilesAndDotEntries) {
  std::filesystem::create_directory(folder / "alpha");
  std::filesystem::create_directory(folder / "beta");
  WriteFileText(folder / "gamma", "x");
  EXPECT_EQ(FindAll("*", true), (std::set<std::string>{"alpha", "beta"}));
  EXPECT_EQ(FindAll("missing/*", true), std::set<std::string>{});
}

TEST_F(EnginePaths, ANewSearchReplacesTheOpenOne) {
  WriteFileText(folder / "one.txt", "x");
  WriteFileText(folder / "two.txt", "x");
  ASSERT_NE(engine->Resource_FindFile("*.txt"), nullptr);
  std::filesystem::create_directory(folder / "sub");
  EXPECT_STREQ(engine->Resource_FindFolder("s*"), "sub");
  EXPECT_EQ(engine->Resource_FindFolder(nullptr), nullptr);
}

TEST_F(EnginePaths, ScreenshotNamesCountTheExistingShots) {
  EXPECT_EQ(std::string(engine->ScreenshotPath(nullptr)), folder / "shot000.bmp");
  WriteFileText(folder / "shot000.bmp", "x");
  WriteFileText(folder / "shot007.bmp", "x");
  // The count of matches, not the highest number plus one.
  EXPECT_EQ(std::string(engine->ScreenshotPath(nullptr)), folder / "shot002.bmp");
  EXPECT_EQ(std::string(engine->ScreenshotPath("mine.bmp")), folder / "mine.bmp");
  // Without a graphics device nothing is written.
  engine->System_Screenshot(nullptr);
  EXPECT_FALSE(std::filesystem::exists(folder / "shot002.bmp"));
}

}  // namespace
