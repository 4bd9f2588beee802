// The command that gives the user the receiver, for each place the program may run from.
#include "device/udev_rule.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr const char* kApply = "sudo udevadm control --reload && sudo udevadm trigger";

class UdevRule : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string made = (fs::temp_directory_path() / "corsaro-udev-XXXXXX").string();
    ASSERT_NE(mkdtemp(made.data()), nullptr);
    root = fs::canonical(made).string();
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  // A folder with the rule file in it, below root.
  std::string PlaceRule(const std::string& folder) {
    fs::create_directories(root + "/" + folder);
    std::ofstream(root + "/" + folder + "/60-corsaro270.rules") << "# rule\n";
    return root + "/" + folder + "/60-corsaro270.rules";
  }
  std::string Program(const std::string& folder) {
    fs::create_directories(root + "/" + folder);
    return root + "/" + folder + "/";
  }

  std::string root;
};

TEST_F(UdevRule, InstalledWhereUdevDoesNotLookTheRuleIsCopied) {
  const std::string rule = PlaceRule("opt/lib/udev/rules.d");
  EXPECT_EQ(UdevRuleCommand(Program("opt/bin")),
            "sudo cp " + rule + " /etc/udev/rules.d/ && " + kApply);
}

TEST_F(UdevRule, FromABuildTreeTheCheckoutsRuleIsCopied) {
  const std::string rule = PlaceRule("packaging");
  EXPECT_EQ(UdevRuleCommand(Program("build/bin")),
            "sudo cp " + rule + " /etc/udev/rules.d/ && " + kApply);
}

TEST_F(UdevRule, AnInstalledRuleComesBeforeAnyOther) {
  PlaceRule("packaging");
  const std::string installed = PlaceRule("build/lib/udev/rules.d");
  EXPECT_EQ(UdevRuleCommand(Program("build/bin")),
            "sudo cp " + installed + " /etc/udev/rules.d/ && " + kApply);
}

TEST_F(UdevRule, APathWithBlanksOrQuotesIsOneShellWord) {
  const std::string rule = PlaceRule("my 'wheel'/packaging");
  EXPECT_EQ(UdevRuleCommand(Program("my 'wheel'/build/bin")),
            "sudo cp '" + root + "/my '\\''wheel'\\''/packaging/60-corsaro270.rules' " +
                "/etc/udev/rules.d/ && " + kApply);
}

TEST_F(UdevRule, WithoutARuleNearbyTheCommandIsTheCheckouts) {
  EXPECT_EQ(UdevRuleCommand(Program("lonely/bin")),
            "sudo cp packaging/60-corsaro270.rules /etc/udev/rules.d/ && sudo udevadm control "
            "--reload && sudo udevadm trigger");
}

TEST(UdevRuleFolders, OnlyTheFoldersUdevReads) {
  EXPECT_TRUE(UdevReadsRulesIn("/usr/lib/udev/rules.d/"));
  EXPECT_TRUE(UdevReadsRulesIn("/usr/local/lib/udev/rules.d/"));
  EXPECT_TRUE(UdevReadsRulesIn("/etc/udev/rules.d/"));
  EXPECT_TRUE(UdevReadsRulesIn("/lib/udev/rules.d/"));
  EXPECT_FALSE(UdevReadsRulesIn("/opt/corsaro/lib/udev/rules.d/"));
  EXPECT_FALSE(UdevReadsRulesIn("/home/me/.local/lib/udev/rules.d/"));
}

}  // namespace
