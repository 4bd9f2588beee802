// The dialogs interface: profile names, shown texts, the scripted answers and the fallback.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/dialog_module.h"
#include "app/dialogs.h"
#include "app/scripted_dialogs.h"
#include "common/log.h"
#include "platform/null/null_platform.h"

namespace {

std::vector<std::string>* loggedLines = nullptr;

// Collects the log's lines while it lives.
class ScopedLogLines {
 public:
  explicit ScopedLogLines(std::vector<std::string>* lines) {
    loggedLines = lines;
    SetLogSink([](const char* line) { loggedLines->push_back(line); });
  }
  ~ScopedLogLines() {
    SetLogSink(nullptr);
    loggedLines = nullptr;
  }
};

// The module as the build lays it out, beside the test programs' bin/ folder.
TEST(DialogModule, LiesInLibBesideTheProgramsFolder) {
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
  const std::filesystem::path module = DialogModulePath();
  EXPECT_EQ(module, program.parent_path().parent_path() / "lib" / "corsaro270" / "gtk-dialogs.so");
  EXPECT_TRUE(std::filesystem::is_regular_file(module)) << module;
}

// A module that cannot be trusted or is not one is never run; each says why.
TEST(DialogModule, RefusesWhatIsMissingUntrustedOrNotAModule) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("dialog-module-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::string why;
  EXPECT_EQ(LoadGtkDialogs((folder / "none.so").string(), &why), nullptr);
  EXPECT_EQ(why, "No such file or directory");
  EXPECT_EQ(LoadGtkDialogs("", &why), nullptr);
  EXPECT_EQ(why, "the program's own folder is unknown");

  const std::filesystem::path text = folder / "text.so";
  std::ofstream(text) << std::string(4096, '#') << "\nnot an ELF file\n";
  chmod(text.c_str(), 0644);
  EXPECT_EQ(LoadGtkDialogs(text.string(), &why), nullptr);
  EXPECT_NE(why.find("invalid ELF header"), std::string::npos) << why;

  // A copy of the real module, but one that anybody could have changed.
  const std::filesystem::path open = folder / "open.so";
  std::filesystem::copy_file(DialogModulePath(), open);
  chmod(open.c_str(), 0666);
  EXPECT_EQ(LoadGtkDialogs(open.string(), &why), nullptr);
  EXPECT_EQ(why, "others may write it");

  // A link is not followed, even to the real module.
  std::filesystem::create_symlink(DialogModulePath(), folder / "link.so");
  EXPECT_EQ(LoadGtkDialogs((folder / "link.so").string(), &why), nullptr);
  EXPECT_EQ(why, "Too many levels of symbolic links");

  // Some library, but not the dialogs module: it lacks the entry point.
  void* libc = dlopen("libc.so.6", RTLD_LAZY | RTLD_NOLOAD);
  link_map* loaded = nullptr;
  ASSERT_EQ(dlinfo(libc, RTLD_DI_LINKMAP, &loaded), 0) << dlerror();
  EXPECT_EQ(LoadGtkDialogs(std::filesystem::canonical(loaded->l_name).string(), &why), nullptr);
  dlclose(libc);
  EXPECT_EQ(why, "it has no CorsaroCreateGtkDialogs");
  std::filesystem::remove_all(folder);
}

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
  std::vector<std::string> lines;
  ScopedLogLines log(&lines);
  EXPECT_EQ(CreateGtkDialogs(), nullptr);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("Dialogs: no GTK from ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find("GTK cannot start"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("message boxes instead"), std::string::npos) << lines[0];
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
