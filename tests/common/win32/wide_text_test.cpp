#include "common/win32/wide_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "common/regular_file.h"

namespace {

// "Zürich €", written out as its UTF-8 bytes and its UTF-16 units.
const std::string kUtf8 = "Z\xC3\xBCrich \xE2\x82\xAC";
const std::wstring kUtf16 = {L'Z', 0x00FC, L'r', L'i', L'c', L'h', L' ', 0x20AC};

}  // namespace

TEST(WideText, Utf8BecomesUtf16AndBack) {
  EXPECT_EQ(WideText(kUtf8), kUtf16);
  EXPECT_EQ(Utf8Text(kUtf16), kUtf8);
  EXPECT_EQ(WideText(""), L"");
  EXPECT_EQ(Utf8Text(static_cast<const wchar_t*>(nullptr)), "");
}

TEST(WideText, ACharacterOutsideTheBasicPlaneTakesTwoUnits) {
  // U+1F3CE, a racing car: F0 9F 8F 8E in UTF-8, D83C DFCE in UTF-16.
  const std::wstring wide = WideText("\xF0\x9F\x8F\x8E");
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(wide[0], 0xD83C);
  EXPECT_EQ(wide[1], 0xDFCE);
}

TEST(WideText, SystemErrorsReadAsASentence) {
  const std::string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
  EXPECT_EQ(text.find("system error"), std::string::npos) << text;
}

TEST(RegularFileOnWindows, AUtf8NameReachesTheFileTheSystemNamesInUtf16) {
  wchar_t temporary[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temporary), 0u);
  const std::wstring wide = std::wstring(temporary) + kUtf16 + L".bin";
  {
    std::ofstream out(wide.c_str(), std::ios::binary);
    out << "CS27";
  }
  const std::string path = Utf8Text(wide);
  EXPECT_EQ(LookAtPath(path), PathKind::kRegularFile);
  RegularFile file;
  std::string why;
  ASSERT_EQ(file.Open(path, true, why), RegularFile::OpenResult::kOpened) << why;
  std::uint8_t bytes[8] = {};
  EXPECT_EQ(file.Read(bytes, sizeof bytes), 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 4), "CS27");
  RegularFile::Facts facts;
  ASSERT_TRUE(file.Look(facts));
  EXPECT_EQ(facts.size, 4u);
  file.Close();
  DeleteFileW(wide.c_str());
  EXPECT_EQ(LookAtPath(path), PathKind::kMissing);
}

TEST(RegularFileOnWindows, AFolderOrADeviceIsNoRegularFile) {
  wchar_t temporary[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temporary), 0u);
  RegularFile file;
  std::string why;
  EXPECT_EQ(file.Open(Utf8Text(temporary), true, why), RegularFile::OpenResult::kNotRegular);
  EXPECT_EQ(LookAtPath(Utf8Text(temporary)), PathKind::kOther);
  EXPECT_EQ(file.Open("NUL", true, why), RegularFile::OpenResult::kNotRegular);
  EXPECT_EQ(file.Open(Utf8Text(temporary) + "missing.bin", true, why),
            RegularFile::OpenResult::kCannotOpen);
  EXPECT_FALSE(why.empty());
}
