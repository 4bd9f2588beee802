// Message boxes, the about box and the web pages.
#include "platform/null/null_platform.h"
#include "tests/app/shell_fixture.h"

namespace {

TEST(AboutText, WithoutReceiverTheWheelVersionIsZeroPointSpaceZero) {
  EXPECT_EQ(AboutText(0),
            "PC Software v1.3\n\rInternal Firmware v1.96\n\rWheel Firmware v0. 0            "
            "\n\rBuild Date - Jun 26 2012\n\r");
}

TEST(AboutText, MinorPartIsHexadecimalPaddedWithASpace) {
  EXPECT_EQ(AboutText(0x0201),
            "PC Software v1.3\n\rInternal Firmware v1.96\n\rWheel Firmware v2. 1            "
            "\n\rBuild Date - Jun 26 2012\n\r");
  EXPECT_NE(AboutText(0x0196).find("Wheel Firmware v1.96            \n\r"), std::string::npos);
}

class Messages : public ShellTest {};

TEST_F(Messages, BoxesCarryTheCaptionAndTheirIcon) {
  ShowInformation("report");
  ShowError("refusal");
  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  EXPECT_TRUE(AskYesNo("yes?"));
  dialogs.AnswerNextQuestion(MessageAnswer::kNo);
  EXPECT_FALSE(AskYesNo("no?"));
  EXPECT_FALSE(AskYesNo("closed?")) << "a question nobody answered is not a Yes";

  const auto& shown = dialogs.shown();
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_EQ(shown[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(shown[1].icon, MessageIcon::kError);
  EXPECT_EQ(shown[2].icon, MessageIcon::kQuestion);
  for (const auto& box : shown) EXPECT_EQ(box.caption, "Corsaro270 Customiser");
}

TEST_F(Messages, AboutBoxShowsTheConnectedReceiversVersion) {
  WheelFirmwareVersion = 0x0201;
  ShowAboutBox();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::kInformation);
  EXPECT_NE(dialogs.shown()[0].text.find("Wheel Firmware v2. 1"), std::string::npos);
  EXPECT_EQ(dialogs.shown()[0].text, AboutText(0x0201));
}

TEST_F(Messages, SupportPageFallsBackToTheBuiltInAddress) {
  OpenSupportPage();
  ASSERT_EQ(opened().size(), 1u);
  EXPECT_EQ(opened()[0], kBuiltInSupportPage);
  EXPECT_EQ(std::string(kBuiltInSupportPage).size(), 34u);
}

TEST_F(Messages, SupportPageOfTheSettingsDocumentReplacesTheBuiltInOne) {
  Settings.supportPage = "http://support.example/corsaro";
  OpenSupportPage();
  ASSERT_EQ(opened().size(), 1u);
  EXPECT_EQ(opened()[0], "http://support.example/corsaro");
}

TEST_F(Messages, EmptySupportPageIsPassedOnAsItIs) {
  Settings.supportPage = "";
  browserResult() = SHELL_FILE_NOT_FOUND;
  OpenSupportPage();
  ASSERT_EQ(opened().size(), 1u);
  EXPECT_EQ(opened()[0], "");
  EXPECT_TRUE(dialogs.shown().empty()) << "a failing shell never shows a box";
  EXPECT_EQ(LogText().find("Open"), std::string::npos) << "the support page logs nothing";
  browserResult() = SHELL_OPENED;
}

TEST_F(Messages, DownloadPageGivesTheShellsResult) {
  Settings.downloadPage = "http://downloads.example/new";
  browserResult() = SHELL_NO_ASSOCIATION;
  EXPECT_EQ(OpenDownloadPage(), SHELL_NO_ASSOCIATION);
  browserResult() = SHELL_OPENED;
  EXPECT_EQ(OpenDownloadPage(), SHELL_OPENED);
  ASSERT_EQ(opened().size(), 2u);
  EXPECT_EQ(opened()[1], "http://downloads.example/new");
  std::string log = LogText();
  EXPECT_NE(log.find("Open http://downloads.example/new - Error SE_ERR_NOASSOC"),
            std::string::npos);
  EXPECT_EQ(log.find("Error", log.find("SE_ERR_NOASSOC")), std::string::npos)
      << "a success logs nothing";
}

TEST(ShellErrors, LoggedResultsHaveTheirNames) {
  EXPECT_STREQ(ShellErrorName(2), "ERROR_FILE_NOT_FOUND");
  EXPECT_STREQ(ShellErrorName(11), "ERROR_BAD_FORMAT");
  EXPECT_STREQ(ShellErrorName(31), "SE_ERR_NOASSOC");
  EXPECT_STREQ(ShellErrorName(32), "SE_ERR_DLLNOTFOUND");
  for (int result : {0, 1, 4, 6, 12, 25, 33, 42}) {
    EXPECT_EQ(ShellErrorName(result), nullptr) << result;
  }
}

// The program's own opener hands the address to the platform; an address the platform cannot
// hand on has no program to open it, and an empty one is not handed on at all.
TEST_F(Messages, TheDesktopOpenerHandsTheAddressToThePlatform) {
  platform::null::ScopedNullPlatform os;
  SetUrlOpener(nullptr);
  Settings.downloadPage = "http://downloads.example/new";
  EXPECT_EQ(OpenDownloadPage(), SHELL_OPENED);
  os->SetUrlsOpen(false);
  EXPECT_EQ(OpenDownloadPage(), SHELL_NO_ASSOCIATION);
  Settings.downloadPage = "";
  EXPECT_EQ(OpenDownloadPage(), SHELL_FILE_NOT_FOUND);
  ASSERT_EQ(os->OpenedUrls().size(), 2u);
  EXPECT_EQ(os->OpenedUrls()[0], "http://downloads.example/new");
  EXPECT_EQ(os->OpenedUrls()[1], "http://downloads.example/new");
  EXPECT_TRUE(opened().empty()) << "the test's recorder was out of the way";
}

}  // namespace
