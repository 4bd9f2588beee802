// The two mandatory start-up prompts of the frame function, answered by script.
#include "tests/app/shell_fixture.h"

namespace {

class FramePrompts : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    browserResult() = SHELL_OPENED;
  }

  // The settings document of a run whose server names `version` as the latest program.
  void ReadSettings(const char* version) {
    Settings.text = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" ?><settings><version>") +
                    version +
                    "</version><download>http://downloads.example/corsaro</download></settings>";
    ParseSettings();
  }

  void ExpectShown(std::size_t index, MessageIcon icon, const char* text) {
    ASSERT_LT(index, dialogs.shown().size());
    const ScriptedDialogs::ShownMessage& shown = dialogs.shown()[index];
    EXPECT_EQ(shown.icon, icon);
    EXPECT_EQ(shown.caption, "Corsaro270 Customiser");
    EXPECT_EQ(shown.text, text);
  }
};

TEST_F(FramePrompts, NoPromptWithoutFlags) {
  EXPECT_FALSE(Frame());
  ReadSettings("103");
  EXPECT_FALSE(Frame());
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(FramePrompts, NewerVersionAcceptedOpensTheDownloadPageAndEnds) {
  ReadSettings("104");
  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  EXPECT_TRUE(Frame());
  ASSERT_EQ(dialogs.shown().size(), 1u);
  ExpectShown(0, MessageIcon::kQuestion,
              "A newer version of this software is available online\n \nWould you like to "
              "download it now?\n \n");
  ASSERT_EQ(opened().size(), 1u);
  EXPECT_EQ(opened()[0], "http://downloads.example/corsaro");
}

TEST_F(FramePrompts, NewerVersionEndsEvenWhenTheBrowserFails) {
  ReadSettings("104");
  browserResult() = SHELL_NO_ASSOCIATION;
  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  EXPECT_TRUE(Frame());
  EXPECT_EQ(dialogs.shown().size(), 1u) << "a shell failure is only logged";
}

TEST_F(FramePrompts, NewerVersionDeclinedShowsTheRefusalAndEnds) {
  ReadSettings("104");
  dialogs.AnswerNextQuestion(MessageAnswer::kNo);
  EXPECT_TRUE(Frame());
  ASSERT_EQ(dialogs.shown().size(), 2u);
  ExpectShown(1, MessageIcon::kError,
              "You must upgrade to the latest version of the app to ensure you have\nthe latest "
              "firmware upgrades for your controller.");
  EXPECT_TRUE(opened().empty());
}

TEST_F(FramePrompts, WithBothFlagsOnlyTheNewerVersionIsAsked) {
  ReadSettings("104");
  FirmwareOutOfDate = 1;
  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  EXPECT_TRUE(Frame());
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, kNewerVersionQuestion);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
  EXPECT_EQ(FirmwareOutOfDate, 1);
}

TEST_F(FramePrompts, FirmwareUpgradeAcceptedRequestsTheUpdateOnce) {
  FirmwareOutOfDate = 1;
  AppState = APP_MAIN_SCREEN;
  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  EXPECT_FALSE(Frame());
  ASSERT_EQ(dialogs.shown().size(), 1u);
  ExpectShown(0, MessageIcon::kQuestion,
              "The firmware version on your controller is out of date\n \nWould you like to "
              "upgrade it now?\n \n");
  EXPECT_EQ(AppState, APP_UPDATE_REQUESTED);
  EXPECT_EQ(FirmwareOutOfDate, 0);

  EXPECT_FALSE(Frame());
  EXPECT_EQ(dialogs.shown().size(), 1u) << "asked again on the next frame";
}

TEST_F(FramePrompts, FirmwareUpgradeDeclinedShowsTheRefusalAndEnds) {
  FirmwareOutOfDate = 1;
  AppState = APP_MAIN_SCREEN;
  dialogs.AnswerNextQuestion(MessageAnswer::kNo);
  EXPECT_TRUE(Frame());
  ASSERT_EQ(dialogs.shown().size(), 2u);
  ExpectShown(1, MessageIcon::kError,
              "You must upgrade to the latest version of the firmware for your\ncontroller to be "
              "able to use this software\n \n");
  EXPECT_EQ(AppState, APP_MAIN_SCREEN);
}

}  // namespace
