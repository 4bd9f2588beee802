// Ini values: round trips through the file, defaults, and the file kept whole.
#include <gtest/gtest.h>

#include <memory>

#include "engine/engine_impl.h"
#include "engine/ini_file.h"
#include "tests/engine/system_test_support.h"

namespace {

class EngineIni : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.Path().empty());
    engine->System_SetState(STATE_INI_FILE, path.c_str());
  }

  ScratchFolder folder;
  std::string path = folder / "settings.ini";
  std::unique_ptr<EngineImpl> engine = std::make_unique<EngineImpl>();
};

TEST_F(EngineIni, ValuesRoundTrip) {
  engine->Ini_WriteInt("Window", "Width", -1024);
  engine->Ini_WriteFloat("Window", "Scale", 1.5f);
  engine->Ini_WriteString("User", "Name", "Ann Lee");
  EXPECT_EQ(engine->Ini_ReadInt("Window", "Width", 0), -1024);
  EXPECT_FLOAT_EQ(engine->Ini_ReadFloat("Window", "Scale", 0), 1.5f);
  EXPECT_STREQ(engine->Ini_ReadString("User", "Name", "x"), "Ann Lee");
  EXPECT_EQ(ReadFileText(path), "[Window]\nWidth=-1024\nScale=1.500000\n[User]\nName=Ann Lee\n");
}

TEST_F(EngineIni, RewritingAKeyReplacesItInPlace) {
  WriteFileText(path, "; settings\n[A]\nx = 1\n\n[B]\nx=2\n");
  engine->Ini_WriteInt("a", "X", 5);
  engine->Ini_WriteInt("A", "y", 6);
  EXPECT_EQ(ReadFileText(path), "; settings\n[A]\nX=5\ny=6\n\n[B]\nx=2\n");
  EXPECT_EQ(engine->Ini_ReadInt("B", "x", 0), 2);
}

TEST_F(EngineIni, MissingOrEmptyValuesGiveTheDefault) {
  WriteFileText(path, "[S]\nempty=\nword=abc\nnum=42abc\nbig=99999999999\n");
  EXPECT_EQ(engine->Ini_ReadInt("S", "missing", 7), 7);
  EXPECT_EQ(engine->Ini_ReadInt("S", "empty", 7), 7);
  EXPECT_EQ(engine->Ini_ReadInt("Other", "word", 7), 7);
  EXPECT_EQ(engine->Ini_ReadInt("S", "word", 7), 0);
  EXPECT_EQ(engine->Ini_ReadInt("S", "num", 7), 42);
  EXPECT_EQ(engine->Ini_ReadInt("S", "big", 7), INT_MAX);
  EXPECT_FLOAT_EQ(engine->Ini_ReadFloat("S", "empty", 2.5f), 2.5f);
  EXPECT_FLOAT_EQ(engine->Ini_ReadFloat("S", "word", 2.5f), 0.0f);
  EXPECT_STREQ(engine->Ini_ReadString("S", "missing", "dflt"), "dflt");
  EXPECT_STREQ(engine->Ini_ReadString("S", "empty", "dflt"), "");
}

TEST_F(EngineIni, QuotedValuesLoseTheirQuotesAndLongOnesAreCut) {
  WriteFileText(path, "[S]\nq=\"  padded  \"\nlong=" + std::string(400, 'v') + "\n");
  EXPECT_STREQ(engine->Ini_ReadString("S", "q", ""), "  padded  ");
  EXPECT_EQ(std::string(engine->Ini_ReadString("S", "long", "")), std::string(255, 'v'));
}

TEST_F(EngineIni, WithoutAnIniFileWritesDoNothingAndReadsGiveDefaults) {
  engine->System_SetState(STATE_INI_FILE, nullptr);
  engine->Ini_WriteInt("S", "k", 1);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(engine->Ini_ReadInt("S", "k", 3), 3);
  EXPECT_STREQ(engine->Ini_ReadString("S", "k", "d"), "d");
  EXPECT_STREQ(engine->Ini_ReadString("S", "k", nullptr), "");
}

TEST_F(EngineIni, TextsThatWouldBreakTheFileAreRefused) {
  engine->Ini_WriteString("S", "k", "ok");
  const std::string before = ReadFileText(path);
  engine->Ini_WriteString("S", "k", "two\nlines");
  engine->Ini_WriteString("S", "a=b", "v");
  engine->Ini_WriteString("S]", "k", "v");
  engine->Ini_WriteString("S", "k", nullptr);
  EXPECT_EQ(ReadFileText(path), before);
}

TEST(IniFile, AFailedWriteLeavesTheFileAsItWas) {
  ScratchFolder folder;
  const std::string path = folder / "settings.ini";
  WriteFileText(path, "[S]\nk=old\n");
  // The replacement cannot be written when its temporary name is taken by a folder.
  std::filesystem::create_directory(path + ".tmp");
  EXPECT_FALSE(ini_file::Write(path.c_str(), "S", "k", "new"));
  EXPECT_EQ(ReadFileText(path), "[S]\nk=old\n");

  const std::string nowhere = folder / "missing/settings.ini";
  EXPECT_FALSE(ini_file::Write(nowhere.c_str(), "S", "k", "v"));
  std::string value;
  EXPECT_FALSE(ini_file::Read(nowhere.c_str(), "S", "k", value));
}

TEST(IniFile, EmptyNamesMatchOnlyEmptyNames) {
  ScratchFolder folder;
  const std::string path = folder / "settings.ini";
  WriteFileText(path, "[]\n=bare\nk=1\n[S]\n=other\n");
  std::string value;
  ASSERT_TRUE(ini_file::Read(path.c_str(), "", "k", value));
  EXPECT_EQ(value, "1");
  ASSERT_TRUE(ini_file::Read(path.c_str(), "", "", value));
  EXPECT_EQ(value, "bare");
  ASSERT_TRUE(ini_file::Read(path.c_str(), "s", "", value));
  EXPECT_EQ(value, "other");
  EXPECT_FALSE(ini_file::Read(path.c_str(), "S", "k", value));
}

}  // namespace
