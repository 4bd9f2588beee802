// Options work before and after the command alike, --json prints one document that a JSON
// parser reads, and --quiet leaves only errors and the data asked for.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "device/hid_port.h"
#include "device/virtual_receiver.h"
#include "json_value.h"
#include "profile/factory_profiles.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string BundledUrl() {
  return std::string("file://") + CORSARO_SOURCE_DIR + "/assets/presets/tarnwick270/settings.xml";
}

JsonValue ParsedOrFail(const Result& result) {
  JsonValue document;
  EXPECT_TRUE(JsonReader::Parse(result.out, document)) << result.out;
  EXPECT_EQ(result.out.back(), '\n');
  return document;
}

class CliOptions : public Cli {
 protected:
  void SetUp() override {
    Cli::SetUp();
    for (int i = 0; i < 3; ++i) {
      WriteBytes(Path(("p" + std::to_string(i + 1) + ".cs270").c_str()),
                 Container(FactoryProfiles[i]));
    }
  }
};

TEST_F(CliOptions, EveryCommandTakesItsOptionsAfterItAsWellAsBefore) {
  const std::string flash = Path("flash.bin");
  const std::string url = BundledUrl();
  // The same run twice: options first, then options last.
  struct Case {
    std::vector<std::string> before;
    std::vector<std::string> after;
  };
  const std::vector<Case> cases = {
      {{"--virtual", flash, "list"}, {"list", "--virtual", flash}},
      {{"--virtual", flash, "info"}, {"info", "--virtual", flash}},
      {{"--virtual", flash, "read-profile", "2", Path("r.cs270")},
       {"read-profile", "2", Path("r.cs270"), "--virtual", flash}},
      {{"--virtual", flash, "write-profiles", Path("p1.cs270"), Path("p2.cs270"), Path("p3.cs270")},
       {"write-profiles", Path("p1.cs270"), Path("p2.cs270"), "--virtual", flash,
        Path("p3.cs270")}},
      {{"--json", "check", Path("p1.cs270")}, {"check", Path("p1.cs270"), "--json"}},
      {{"--url", url, "presets"}, {"presets", "--url", url}},
      {{"--url", url, "--virtual", flash, "install-preset", "Rally", "2"},
       {"install-preset", "Rally", "2", "--url", url, "--virtual", flash}},
      {{"--virtual", flash, "backup", Path("all.cs270set")},
       {"backup", Path("all.cs270set"), "--virtual", flash}},
      {{"--virtual", flash, "restore", Path("all.cs270set")},
       {"restore", Path("all.cs270set"), "--virtual", flash}},
      {{"--virtual", flash, "--latest", "restore"}, {"restore", "--virtual", flash, "--latest"}},
      {{"--virtual", flash, "--json", "backups"}, {"backups", "--json", "--virtual", flash}},
  };
  for (const Case& c : cases) {
    const Result before = Run(c.before);
    const Result after = Run(c.after);
    EXPECT_EQ(before.status, kExitOk)
        << c.before[0] << " " << c.before.back() << ": " << before.err;
    EXPECT_EQ(after.status, kExitOk) << c.after[0] << ": " << after.err;
    // Backups and restores name a new backup file each time; the rest print the same.
    if (c.after[0] != "restore" && c.after[0] != "write-profiles" && c.after[0] != "backups" &&
        c.after[0] != "install-preset") {
      EXPECT_EQ(before.out, after.out) << c.after[0];
    }
  }
}

TEST_F(CliOptions, ADoubleDashEndsTheOptions) {
  WriteBytes(Path("--odd.cs270"), Container(FactoryProfiles[0]));
  const std::string odd = "--odd.cs270";
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  const Result result = Run({"check", "--", odd});
  std::filesystem::current_path(previous);
  EXPECT_EQ(result.status, kExitOk) << result.err;
  EXPECT_TRUE(Contains(result.out, "--odd.cs270: valid profile file")) << result.out;
}

TEST_F(CliOptions, JsonIsRefusedWhereThereIsNoDocumentToPrint) {
  for (const char* command : {"write-profiles", "read-profile", "install-preset", "restore"}) {
    const Result result = Run({command, "--json"});
    EXPECT_EQ(result.status, kExitUsage) << command;
  }
  const Result result = RunVirtual(
      {"--json", "write-profiles", Path("p1.cs270"), Path("p2.cs270"), Path("p3.cs270")});
  EXPECT_EQ(result.status, kExitUsage);
  EXPECT_TRUE(Contains(result.err, "--json is not an option of write-profiles")) << result.err;
}

TEST_F(CliOptions, ListAndInfoPrintOneJsonDocument) {
  const JsonValue list = ParsedOrFail(RunVirtual({"list", "--json"}));
  ASSERT_EQ(list["receivers"].items.size(), 1u);
  const JsonValue& receiver = list["receivers"].items[0];
  EXPECT_EQ(receiver["path"].text, "virtual:" + Path("flash.bin"));
  EXPECT_EQ(list["version"].number, 1);
  EXPECT_EQ(receiver["vendorId"].text, "0x2E7B");
  EXPECT_EQ(receiver["productId"].text, "0x0262");
  EXPECT_FALSE(receiver["permissionDenied"].boolean);
  // The identifiers as the text output writes them.
  EXPECT_EQ(RunVirtual({"list"}).out, "virtual:" + Path("flash.bin") + "  vendor " +
                                          receiver["vendorId"].text + "  product " +
                                          receiver["productId"].text + "\n");

  const JsonValue fresh = ParsedOrFail(RunVirtual({"info", "--json"}));
  EXPECT_EQ(fresh["wheelFirmware"].text, "1.96");
  EXPECT_EQ(fresh["internalFirmware"].text, "1.96");
  EXPECT_FALSE(fresh["firmwareOutOfDate"].boolean);
  EXPECT_EQ(fresh["profilesStored"].kind, JsonValue::Kind::kBool);
  EXPECT_FALSE(fresh["profilesStored"].boolean);
  EXPECT_FALSE(fresh["upgradeImageStaged"].boolean);

  ASSERT_EQ(
      RunVirtual({"write-profiles", Path("p1.cs270"), Path("p2.cs270"), Path("p3.cs270")}).status,
      kExitOk);
  const JsonValue old = ParsedOrFail(RunVirtual({"info", "--json", "--firmware-version", "1.95"}));
  EXPECT_EQ(old["wheelFirmware"].text, "1.95");
  EXPECT_TRUE(old["firmwareOutOfDate"].boolean);
  EXPECT_TRUE(old["profilesStored"].boolean);
}

TEST_F(CliOptions, EveryJsonDocumentBeginsWithItsVersion) {
  const std::vector<std::vector<std::string>> commands = {{"list"},
                                                          {"info"},
                                                          {"check", Path("p1.cs270")},
                                                          {"presets", "--url", BundledUrl()},
                                                          {"backups"}};
  for (std::vector<std::string> command : commands) {
    command.push_back("--json");
    const Result result = RunVirtual(command);
    EXPECT_EQ(result.status, kExitOk) << command[0] << ": " << result.err;
    EXPECT_EQ(result.out.rfind("{\"version\":1,", 0), 0u) << result.out;
    EXPECT_EQ(ParsedOrFail(result)["version"].number, 1) << command[0];
  }
}

TEST_F(CliOptions, VersionAndHelpPrintAndExit) {
  const Result version = Run({"--version"});
  EXPECT_EQ(version.status, kExitOk);
  EXPECT_EQ(version.out, "corsaro270-cli 1.3\n");
  EXPECT_EQ(version.err, "");
  EXPECT_EQ(Run({"list", "--version", "--firmware-version", "1.95"}).out, "corsaro270-cli 1.3\n")
      << "--version wins over the rest, as --help does";

  const Result help = Run({"--help"});
  EXPECT_EQ(help.status, kExitOk);
  EXPECT_EQ(help.out.rfind("Usage: corsaro270-cli [options] COMMAND [ARGUMENTS]\n", 0), 0u);
  for (const std::vector<std::string>& same :
       {std::vector<std::string>{"-h"}, {"help"}, {"info", "-h"}}) {
    const Result other = Run(same);
    EXPECT_EQ(other.status, kExitOk) << same[0];
    EXPECT_EQ(other.out, help.out) << same[0];
  }
  EXPECT_TRUE(Contains(help.out, "\n  help                       show this text\n")) << help.out;
  EXPECT_EQ(Run({"help", "extra"}).status, kExitUsage);
  // After "--", -h is a file name like any other.
  const Result file = Run({"check", "--", "-h"});
  EXPECT_EQ(file.status, kExitFailure);
  EXPECT_TRUE(Contains(file.err, "-h: ")) << file.err;
}

TEST_F(CliOptions, AnEmptyListingPrintsNothingOnStandardOutput) {
  VirtualHidBackend nothingPlugged;
  SetCurrentHidBackend(&nothingPlugged);
  const Result list = Run({"list"});
  const Result quiet = Run({"list", "--quiet"});
  SetCurrentHidBackend(nullptr);
  EXPECT_EQ(list.status, kExitOk);
  EXPECT_EQ(list.out, "");
  EXPECT_EQ(list.err, "No receiver found.\n");
  EXPECT_EQ(quiet.err, "");

  std::ofstream(Path("empty.xml"))
      << "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<settings><version>103</version>"
         "<presets></presets></settings>\n";
  const Result presets = Run({"presets", "--url", "file://" + Path("empty.xml")});
  EXPECT_EQ(presets.status, kExitOk) << presets.err;
  EXPECT_EQ(presets.out, "");
  EXPECT_EQ(presets.err, "The preset server lists no presets.\n");
  const JsonValue none =
      ParsedOrFail(Run({"presets", "--json", "--url", "file://" + Path("empty.xml")}));
  EXPECT_EQ(none["presets"].kind, JsonValue::Kind::kArray);
  EXPECT_TRUE(none["presets"].items.empty());
}

TEST_F(CliOptions, CheckPrintsTheVerdictAndTheDecodedProfileAsJson) {
  const Result good = Run({"check", Path("p1.cs270"), "--json"});
  EXPECT_EQ(good.status, kExitOk);
  const JsonValue valid = ParsedOrFail(good);
  EXPECT_EQ(valid["file"].text, Path("p1.cs270"));
  EXPECT_TRUE(valid["valid"].boolean);
  const JsonValue& profile = valid["profile"];
  EXPECT_EQ(profile["level"].text, "Med");
  EXPECT_DOUBLE_EQ(profile["angleA"].number, 12.4);
  EXPECT_DOUBLE_EQ(profile["angleB"].number, 135.0);
  ASSERT_EQ(profile["inputs"].items.size(), 21u);
  EXPECT_EQ(profile["inputs"].items[0]["input"].text, "Pad left");

  std::vector<std::uint8_t> bytes = Container(FactoryProfiles[0]);
  bytes[40] ^= 0x10;
  WriteBytes(Path("bad \"quoted\"\n.cs270"), bytes);
  const Result bad = Run({"check", "--json", Path("bad \"quoted\"\n.cs270")});
  EXPECT_EQ(bad.status, kExitFailure);
  const JsonValue invalid = ParsedOrFail(bad);
  EXPECT_EQ(invalid["file"].text, Path("bad \"quoted\"\n.cs270"));
  EXPECT_FALSE(invalid["valid"].boolean);
  EXPECT_EQ(invalid["error"].text, "the record does not match its CRC");
  EXPECT_FALSE(invalid.Has("profile"));

  // A file name that is not UTF-8 still gives a document a parser accepts.
  WriteBytes(Path("latin\xE9.cs270"), Container(FactoryProfiles[0]));
  const Result latin = Run({"check", "--json", Path("latin\xE9.cs270")});
  EXPECT_EQ(latin.status, kExitOk);
  EXPECT_TRUE(Contains(latin.out, "latin\\u00e9.cs270")) << latin.out;
  EXPECT_EQ(ParsedOrFail(latin)["file"].text, Path("latin\xC3\xA9.cs270"));
}

TEST_F(CliOptions, PresetsPrintAsJsonWithTheirNotes) {
  const JsonValue presets = ParsedOrFail(Run({"presets", "--json", "--url", BundledUrl()}));
  const std::vector<JsonValue>& items = presets["presets"].items;
  ASSERT_GE(items.size(), 4u);
  EXPECT_EQ(items[0]["name"].text, "Factory Profile 1");
  EXPECT_EQ(items[0]["type"].number, 1);
  EXPECT_EQ(items[3]["name"].text, "Rally");
  EXPECT_EQ(items[3]["type"].number, 2);
  EXPECT_TRUE(Contains(items[3]["note"].text, "gravel and snow.")) << items[3]["note"].text;
  EXPECT_EQ(items[3]["file"].text, std::string("file://") + CORSARO_SOURCE_DIR +
                                       "/assets/presets/tarnwick270/rally.cs270");
}

TEST_F(CliOptions, QuietLeavesOnlyErrorsAndTheDataAskedFor) {
  const Result write = RunVirtual(
      {"write-profiles", Path("p1.cs270"), Path("p2.cs270"), Path("p3.cs270"), "--quiet"});
  EXPECT_EQ(write.status, kExitOk);
  EXPECT_EQ(write.out, "");
  EXPECT_EQ(write.err, "");
  const Result again = RunVirtual(
      {"--quiet", "write-profiles", Path("p2.cs270"), Path("p2.cs270"), Path("p2.cs270")});
  EXPECT_EQ(again.status, kExitOk);
  EXPECT_EQ(again.out, "") << "not even where the backup went";
  const Result read = RunVirtual({"read-profile", "1", Path("back.cs270"), "--quiet"});
  EXPECT_EQ(read.out, "");
  EXPECT_EQ(ReadBytes(Path("back.cs270")), Container(FactoryProfiles[1]));

  const Result check = Run({"--quiet", "check", Path("p1.cs270")});
  EXPECT_TRUE(Contains(check.out, "Level:       Med")) << "the data asked for is still printed";
  const Result missing = Run({"--quiet", "check", Path("missing.cs270")});
  EXPECT_EQ(missing.status, kExitFailure);
  EXPECT_FALSE(missing.err.empty()) << "errors are still printed";
}

}  // namespace
