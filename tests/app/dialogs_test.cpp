// The dialogs interface: profile names, shown texts, the scripted answers and the fallback.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/dialogs.h"
#include "app/scripted_dialogs.h"
#include "platform/null/null_platform.h"

namespace {

TEST(ProfileExtension, AppendedOnlyWhenMissing) {
  EXPECT_EQ(WithProfileExtension("/home/me/race"), "/home/me/race.cs270");
  EXPECT_EQ(WithProfileExtension("/home/me/race.cs270"), "/home/me/race.cs270");
  EXPECT_EQ(WithProfileExtension("/home/me/RACE.CS270"), "/home/me/RACE.CS270");
  EXPECT_EQ(WithProfileExtension("/home/me/race.txt"), "/home/me/race.txt.cs270");
  EXPECT_EQ(WithProfileExtension("cs270"), "cs270.cs270");
  EXPECT_EQ(WithProfileExtension(""), ".cs270");
}

TEST(DisplayText, LineEndsBecomePlainBreaks) {
  EXPECT_EQ(DisplayText("a\n\rb\n\r"), "a\nb\n");
  EXPECT_EQ(DisplayText("a\rb"), "a\nb");
  EXPECT_EQ(DisplayText("a\n \nb"), "a\n \nb");
  EXPECT_EQ(DisplayText(nullptr), "");
}

TEST(ScriptedDialogs, FileChoosersAnswerFromTheScript) {
  ScriptedDialogs dialogs;
  std::string path = "unchanged";
  EXPECT_FALSE(dialogs.ChooseOpenFile(&path)) << "nothing scripted: cancelled";
  EXPECT_EQ(path, "unchanged");

  dialogs.AnswerNextFile("/tmp/in.cs270");
  dialogs.AnswerNextFile(std::nullopt);
  dialogs.AnswerNextFile("/tmp/out");
  EXPECT_TRUE(dialogs.ChooseOpenFile(&path));
  EXPECT_EQ(path, "/tmp/in.cs270");
  EXPECT_FALSE(dialogs.ChooseSaveFile(&path));
  EXPECT_TRUE(dialogs.ChooseSaveFile(&path));
  EXPECT_EQ(path, "/tmp/out.cs270");
  EXPECT_EQ(dialogs.fileChoosersShown(), 4);
}

TEST(ScriptedDialogs, CurrentDialogsAreTheOnesSet) {
  ScriptedDialogs dialogs;
  SetDialogs(&dialogs);
  CurrentDialogs().ShowMessage(nullptr, MessageIcon::kError, "caption", "text");
  SetDialogs(nullptr);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, "text");
}

// Without any display nothing can be shown, and an unseen question must not count as Yes.
TEST(DesktopDialogs, WithoutADisplayQuestionsAnswerNo) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  EXPECT_EQ(CreateGtkDialogs(), nullptr);
  std::unique_ptr<Dialogs> sdl = CreatePlatformDialogs();
  EXPECT_EQ(sdl->ShowMessage(nullptr, MessageIcon::kQuestion, "caption", "Proceed?"),
            MessageAnswer::kNo);
  EXPECT_EQ(sdl->ShowMessage(nullptr, MessageIcon::kInformation, "caption", "Report"),
            MessageAnswer::kOk);
  std::string path;
  EXPECT_FALSE(sdl->ChooseSaveFile(&path));
}

// Without GTK the boxes are the platform's: a question with its default, the text with plain
// line breaks, and the caption as given.
TEST(DesktopDialogs, BoxesReachThePlatformWithTheirButtonsAndPlainLineBreaks) {
  platform::null::ScopedNullPlatform os;
  std::unique_ptr<Dialogs> boxes = CreatePlatformDialogs();
  os->AnswerBoxesWith(platform::BoxAnswer::kYes);
  EXPECT_EQ(boxes->ShowQuestionDefaultNo(nullptr, "Corsaro", "Overwrite?\n\rSure?"),
            MessageAnswer::kYes);
  os->AnswerBoxesWith(platform::BoxAnswer::kNo);
  EXPECT_EQ(boxes->ShowMessage(nullptr, MessageIcon::kQuestion, "Corsaro", "Go on?"),
            MessageAnswer::kNo);
  EXPECT_EQ(boxes->ShowMessage(nullptr, MessageIcon::kError, "Corsaro", "Failed"),
            MessageAnswer::kOk);

  const auto& shown = os->Boxes();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].icon, platform::BoxIcon::kQuestion);
  EXPECT_TRUE(shown[0].question);
  EXPECT_TRUE(shown[0].defaultNo);
  EXPECT_EQ(shown[0].text, "Overwrite?\nSure?");
  EXPECT_EQ(shown[0].caption, "Corsaro");
  EXPECT_TRUE(shown[1].question);
  EXPECT_FALSE(shown[1].defaultNo);
  EXPECT_EQ(shown[2].icon, platform::BoxIcon::kError);
  EXPECT_FALSE(shown[2].question);
}

}  // namespace
