// The two mandatory start-up prompts of the frame function, answered by script.
#include "tests/app/shell_fixture.h"

namespace {

bool newerApp = false;
bool firmwareOld = false;
int firmwareCleared = 0;

class FramePrompts : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    newerApp = false;
    firmwareOld = false;
    firmwareCleared = 0;
    browserResult() = SHELL_OPENED;
    settingsHooks.newerAppAvailable = [] { return newerApp; };
    settingsHooks.downloadPage = [] { return "http://downloads.example/corsaro"; };
    receiverHooks.firmwareOutOfDate = [] { return firmwareOld; };
    receiverHooks.clearFirmwareOutOfDate = [] {
      firmwareOld = false;
      ++firmwareCleared;
    };
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
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(FramePrompts, NewerVersionAcceptedOpensTheDownloadPageAndEnds) {
  newerApp = true;
  dialogs.AnswerNextQuestion(MessageAnswer::Yes);
  EXPECT_TRUE(Frame());
  ASSERT_EQ(dialogs.shown().size(), 1u);
  ExpectShown(0, MessageIcon::Question,
              "A newer version of this software is available online\n \nWould you like to "
              "download it now?\n \n");
  ASSERT_EQ(opened().size(), 1u);
  EXPECT_EQ(opened()[0], "http://downloads.example/corsaro");
}

TEST_F(FramePrompts, NewerVersionEndsEvenWhenTheBrowserFails) {
  newerApp = true;
  browserResult() = SHELL_NO_ASSOCIATION;
  dialogs.AnswerNextQuestion(MessageAnswer::Yes);
  EXPECT_TRUE(Frame());
  EXPECT_EQ(dialogs.shown().size(), 1u) << "a shell failure is only logged";
}

TEST_F(FramePrompts, NewerVersionDeclinedShowsTheRefusalAndEnds) {
  newerApp = true;
  dialogs.AnswerNextQuestion(MessageAnswer::No);
  EXPECT_TRUE(Frame());
  ASSERT_EQ(dialogs.shown().size(), 2u);
  ExpectShown(1, MessageIcon::Error,
              "You must upgrade to the latest version of the app to ensure you have\nthe latest "
              "firmware upgrades for your controller.");
  EXPECT_TRUE(opened().empty());
}

TEST_F(FramePrompts, WithBothFlagsOnlyTheNewerVersionIsAsked) {
  newerApp = true;
  firmwareOld = true;
  dialogs.AnswerNextQuestion(MessageAnswer::Yes);
  dialogs.AnswerNextQuestion(MessageAnswer::Yes);
  EXPECT_TRUE(Frame());
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, kNewerVersionQuestion);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
  EXPECT_EQ(firmwareCleared, 0);
}

TEST_F(FramePrompts, FirmwareUpgradeAcceptedRequestsTheUpdateOnce) {
  firmwareOld = true;
  AppState = APP_MAIN_SCREEN;
  dialogs.AnswerNextQuestion(MessageAnswer::Yes);
  EXPECT_FALSE(Frame());
  ASSERT_EQ(dialogs.shown().size(), 1u);
  ExpectShown(0, MessageIcon::Question,
              "The firmware version on your controller is out of date\n \nWould you like to "
              "upgrade it now?\n \n");
  EXPECT_EQ(AppState, APP_UPDATE_REQUESTED);
  EXPECT_EQ(firmwareCleared, 1);

  EXPECT_FALSE(Frame());
  EXPECT_EQ(dialogs.shown().size(), 1u) << "asked again on the next frame";
}

TEST_F(FramePrompts, FirmwareUpgradeDeclinedShowsTheRefusalAndEnds) {
  firmwareOld = true;
  AppState = APP_MAIN_SCREEN;
  dialogs.AnswerNextQuestion(MessageAnswer::No);
  EXPECT_TRUE(Frame());
  ASSERT_EQ(dialogs.shown().size(), 2u);
  ExpectShown(1, MessageIcon::Error,
              "You must upgrade to the latest version of the firmware for your\ncontroller to be "
              "able to use this software\n \n");
  EXPECT_EQ(AppState, APP_MAIN_SCREEN);
}

}  // namespace
