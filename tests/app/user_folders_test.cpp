// Where the program writes: beside itself in the build tree, in the user's XDG folders when
// installed.
#include "app/user_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Puts the variables back as they were when the test ends.
class SavedEnvironment {
 public:
  SavedEnvironment() {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.push_back(value != nullptr ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  ~SavedEnvironment() {
    for (std::size_t i = 0; i < saved_.size(); ++i) {
      if (saved_[i]) {
        setenv(kNames[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kNames[i]);
      }
    }
  }

 private:
  static constexpr const char* kNames[] = {"HOME", "XDG_STATE_HOME", "XDG_CONFIG_HOME",
                                           "XDG_RUNTIME_DIR"};
  std::vector<std::optional<std::string>> saved_;
};

class UserFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string folder = (fs::temp_directory_path() / "corsaro-folders-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    root = folder;
    fs::create_directories(root + "/prefix/bin");
    fs::create_directories(root + "/prefix/share/corsaro270");
    fs::create_directories(root + "/build/bin");
    setenv("HOME", (root + "/home").c_str(), 1);
    unsetenv("XDG_STATE_HOME");
    unsetenv("XDG_CONFIG_HOME");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(root + "/build/bin", fs::perms::owner_all, ignored);
    fs::remove_all(root, ignored);
  }

  std::string Installed() const { return root + "/prefix/bin/"; }
  std::string BuildTree() const { return root + "/build/bin/"; }

  SavedEnvironment environment;
  std::string root;
};

TEST_F(UserFolders, AnInstalledLayoutOrAFolderThatCannotBeWrittenMeansInstalled) {
  EXPECT_TRUE(RunsInstalled(Installed()));
  EXPECT_FALSE(RunsInstalled(BuildTree()));

  // Whether this user may write there decides, so the check runs as a user other than root, who
  // may reach the folder but not write in it.
  fs::permissions(root, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(root + "/build",
                  fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(BuildTree(), fs::perms::owner_read | fs::perms::owner_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    _exit(RunsInstalled(BuildTree()) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "a folder this user cannot write counts as installed";
}

TEST_F(UserFolders, FromTheBuildTreeFilesStayBesideTheProgram) {
  std::string why;
  EXPECT_EQ(UserFilePath(UserFileKind::kState, "Corsaro270.log", BuildTree(), &why),
            "Corsaro270.log");
  EXPECT_FALSE(fs::exists(root + "/home")) << "nothing is made in the user's folders";
}

TEST_F(UserFolders, InstalledTheLogGoesToTheStateFolderMadeForTheUserAlone) {
  setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
  std::string why;
  EXPECT_EQ(UserFilePath(UserFileKind::kState, "Corsaro270.log", Installed(), &why),
            root + "/state/corsaro270/Corsaro270.log")
      << why;
  struct stat status {};
  ASSERT_EQ(stat((root + "/state/corsaro270").c_str(), &status), 0);
  EXPECT_TRUE(S_ISDIR(status.st_mode));
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_EQ(UserFilePath(UserFileKind::kState, "/var/tmp/x.log", Installed(), &why),
            "/var/tmp/x.log")
      << "an absolute name is kept";
}

TEST_F(UserFolders, WithoutTheVariablesTheFoldersLieBelowHome) {
  setenv("XDG_CONFIG_HOME", "relative/config", 1);  // ignored: not an absolute path
  std::string why;
  EXPECT_EQ(UserFilePath(UserFileKind::kState, "Corsaro270.log", Installed(), &why),
            root + "/home/.local/state/corsaro270/Corsaro270.log");
  EXPECT_EQ(UserFilePath(UserFileKind::kSettings, "corsaro270.ini", Installed(), &why),
            root + "/home/.config/corsaro270/corsaro270.ini");
  setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  EXPECT_EQ(UserFolder(UserFileKind::kSettings), root + "/config/corsaro270");
}

TEST_F(UserFolders, AFolderThatCannotBeMadeGivesNoPathAndSaysWhy) {
  std::ofstream(root + "/state") << "a file where the folder should be";
  setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
  std::string why;
  EXPECT_EQ(UserFilePath(UserFileKind::kState, "Corsaro270.log", Installed(), &why), "");
  EXPECT_NE(why.find(root + "/state"), std::string::npos) << why;
  unsetenv("XDG_STATE_HOME");
  setenv("HOME", "", 1);
  why.clear();
  EXPECT_EQ(UserFilePath(UserFileKind::kState, "Corsaro270.log", Installed(), &why), "");
  EXPECT_FALSE(why.empty());
}

TEST_F(UserFolders, TheRuntimeFolderMustBeTheUsersAlone) {
  fs::create_directories(root + "/run");
  fs::permissions(root + "/run", fs::perms::owner_all);
  setenv("XDG_RUNTIME_DIR", (root + "/run").c_str(), 1);
  std::string why;
  EXPECT_EQ(UserRuntimeFolder(&why), root + "/run");

  fs::permissions(root + "/run", fs::perms::owner_all | fs::perms::others_all);
  const std::string fallback = "/tmp/corsaro270-" + std::to_string(getuid());
  EXPECT_EQ(UserRuntimeFolder(&why), fallback) << why;
  struct stat status {};
  ASSERT_EQ(lstat(fallback.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0077, 0u);
}

}  // namespace
