#include "tools/cli/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "profile/factory_profiles.h"
#include "profile/profile_file.h"
#include "tests/online/test_http_server.h"
#include "tests/support/fifo.h"

TEST_F(Cli, FreshVirtualReceiverGivesFactoryProfileOneAndIsCreated) {
  const Result result = RunVirtual({"read-profile", "1", Path("p1.cs270")});
  ASSERT_EQ(result.status, kExitOk) << result.err;
  EXPECT_EQ(ReadBytes(Path("p1.cs270")), Container(FactoryProfiles[0]));
  EXPECT_TRUE(std::filesystem::exists(Path("flash.bin")));
  EXPECT_NE(result.out.find("factory"), std::string::npos);
}

TEST_F(Cli, WrittenProfilesReadBackByteForByte) {
  std::vector<std::string> files;
  for (int i = 0; i < 3; ++i) {
    WheelProfile profile = FactoryProfiles[2 - i];
    SetLights(profile, i == 0, i == 1);
    SetAngleA(profile, 1000 * (i + 1));
    files.push_back(Path(("in" + std::to_string(i) + ".cs270").c_str()));
    WriteBytes(files.back(), Container(profile));
  }
  const Result written = RunVirtual({"write-profiles", files[0], files[1], files[2]});
  ASSERT_EQ(written.status, kExitOk) << written.err;
  EXPECT_NE(written.out.find("written correctly"), std::string::npos);
  for (int i = 0; i < 3; ++i) {
    const std::string back = Path(("out" + std::to_string(i) + ".cs270").c_str());
    ASSERT_EQ(RunVirtual({"read-profile", std::to_string(i + 1), back}).status, kExitOk);
    EXPECT_EQ(ReadBytes(back), ReadBytes(files[i])) << "profile " << i + 1;
  }
  const Result info = RunVirtual({"info"});
  EXPECT_NE(info.out.find("Profiles stored: yes"), std::string::npos) << info.out;
}

TEST_F(Cli, CheckRejectsAFileWithOneRecordByteChanged) {
  std::vector<std::uint8_t> bytes = Container(FactoryProfiles[0]);
  WriteBytes(Path("good.cs270"), bytes);
  const Result good = Run({"check", Path("good.cs270")});
  ASSERT_EQ(good.status, kExitOk) << good.err;
  EXPECT_NE(good.out.find("Level:       Med"), std::string::npos) << good.out;
  EXPECT_NE(good.out.find("Angle A:     12.4 degrees"), std::string::npos) << good.out;
  EXPECT_NE(good.out.find("Pad left       Left"), std::string::npos) << good.out;

  bytes[16 + 50] ^= 0x04;
  WriteBytes(Path("bad.cs270"), bytes);
  const Result bad = Run({"check", Path("bad.cs270")});
  EXPECT_EQ(bad.status, kExitFailure);
  EXPECT_NE(bad.err.find("CRC"), std::string::npos) << bad.err;
  EXPECT_TRUE(bad.out.empty());
}

TEST_F(Cli, CheckNamesWhatIsWrongWithAFile) {
  const struct {
    const char* name;
    std::size_t offset;  // byte to damage, or the size to cut the file to
    bool cut;
    const char* message;
  } cases[] = {
      {"short.cs270", 60, true, "CRC"},      {"empty.cs270", 0, true, "CS27"},
      {"magic.cs270", 1, false, "CS27"},     {"reserved.cs270", 6, false, "reserved"},
      {"length.cs270", 12, false, "length"}, {"crc.cs270", 9, false, "CRC"},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> bytes = Container(FactoryProfiles[1]);
    if (c.cut) {
      bytes.resize(c.offset);
    } else {
      bytes[c.offset] ^= 0x10;
    }
    WriteBytes(Path(c.name), bytes);
    const Result result = Run({"check", Path(c.name)});
    EXPECT_EQ(result.status, kExitFailure) << c.name;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.name << ": " << result.err;
  }
  const Result missing = Run({"check", Path("missing.cs270")});
  EXPECT_EQ(missing.status, kExitFailure);
  EXPECT_NE(missing.err.find("cannot open"), std::string::npos) << missing.err;
}

TEST_F(Cli, NothingIsWrittenWhenOneFileFailsItsCheck) {
  WriteBytes(Path("a.cs270"), Container(FactoryProfiles[0]));
  std::vector<std::uint8_t> damaged = Container(FactoryProfiles[1]);
  damaged[100] ^= 1;
  WriteBytes(Path("b.cs270"), damaged);
  const Result result =
      RunVirtual({"write-profiles", Path("a.cs270"), Path("b.cs270"), Path("a.cs270")});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_NE(result.err.find("Nothing was written"), std::string::npos) << result.err;
  const Result info = RunVirtual({"info"});
  EXPECT_NE(info.out.find("Profiles stored: no"), std::string::npos) << info.out;
}

TEST_F(Cli, FirmwareVersionIsSetAndKeptWithTheFlashFile) {
  ASSERT_EQ(RunVirtual({"--firmware-version", "1.95", "info"}).status, kExitOk);
  const Result info = RunVirtual({"info"});
  EXPECT_NE(info.out.find("Wheel Firmware v1.95"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("out of date"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("Upgrade image staged: no"), std::string::npos) << info.out;

  WriteBytes(Path("a.cs270"), Container(FactoryProfiles[0]));
  const Result write =
      RunVirtual({"write-profiles", Path("a.cs270"), Path("a.cs270"), Path("a.cs270")});
  EXPECT_EQ(write.status, kExitFailure) << "old firmware is not written to";
  EXPECT_NE(write.err.find("The wheel firmware v1.95 is out of date (v1.96 is required); upgrade "
                           "it first with corsaro270-cli upgrade. Nothing was written."),
            std::string::npos)
      << write.err;

  ASSERT_EQ(RunVirtual({"--firmware-version", "0x0201", "info"}).status, kExitOk);
  EXPECT_NE(RunVirtual({"info"}).out.find("Wheel Firmware v2. 1"), std::string::npos);
}

TEST_F(Cli, DamagedFlashFileIsReportedAndKept) {
  WriteBytes(Path("flash.bin"), {1, 2, 3});
  const Result result = RunVirtual({"info"});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_NE(result.err.find("not a virtual receiver flash file"), std::string::npos) << result.err;
  EXPECT_EQ(ReadBytes(Path("flash.bin")), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(Cli, ListShowsTheVirtualReceiver) {
  const Result result = RunVirtual({"list"});
  EXPECT_EQ(result.status, kExitOk);
  EXPECT_NE(result.out.find("vendor 0x2E7B  product 0x0262"), std::string::npos) << result.out;
}

TEST_F(Cli, BadUsageExitsWithTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"check"},
      {"check", "a", "b"},
      {"--virtual"},
      {"--bogus", "x", "list"},
      {"--firmware-version", "1.96", "info"},
      {"--virtual", Path("flash.bin"), "--firmware-version", "1.9z", "info"},
      {"--virtual", Path("flash.bin"), "read-profile", "4", Path("x.cs270")},
      {"--virtual", Path("flash.bin"), "read-profile", "0", Path("x.cs270")},
  };
  for (const auto& arguments : cases) {
    const Result result = Run(arguments);
    EXPECT_EQ(result.status, kExitUsage) << (arguments.empty() ? "" : arguments[0]);
    EXPECT_FALSE(result.err.empty());
  }
}

TEST_F(Cli, HelpListsEveryCommand) {
  const Result result = Run({"--help"});
  EXPECT_EQ(result.status, kExitOk);
  for (const char* command : {"list", "info", "read-profile", "write-profiles", "check"}) {
    EXPECT_NE(result.out.find(command), std::string::npos) << command;
  }
}

TEST_F(Cli, OversizedFilesFailingTheCheckAreRefusedBeforeAnythingIsWritten) {
  ASSERT_EQ(RunVirtual({"info"}).status, kExitOk);
  std::vector<std::uint8_t> big(4096, 0);
  WriteBytes(Path("big.cs270"), big);
  const Result result =
      RunVirtual({"write-profiles", Path("big.cs270"), Path("big.cs270"), Path("big.cs270")});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_NE(result.err.find("CS27"), std::string::npos) << result.err;
  EXPECT_NE(RunVirtual({"info"}).out.find("Profiles stored: no"), std::string::npos);
}

// The preset commands read the preset server's content that the program ships.
class CliPresets : public Cli {
 protected:
  static std::string BundledUrl() {
    return std::string("file://") + CORSARO_SOURCE_DIR + "/assets/presets/tarnwick270/settings.xml";
  }
  static std::vector<std::uint8_t> BundledPreset(const char* file) {
    return ReadBytes(std::string(CORSARO_SOURCE_DIR) + "/assets/presets/tarnwick270/" + file);
  }

  // A settings document in the test's folder naming one preset file beside it.
  std::string LocalServer(const std::vector<std::uint8_t>& presetBytes) {
    std::ofstream(Path("settings.xml"))
        << "<?xml version=\"1.0\" encoding=\"UTF-8\" "
           "?>\n<settings><version>103</version><presets><preset>"
           "<name>Broken</name><note>n</note><type>2</type><file>broken.cs270</file>"
           "</preset></presets></settings>\n";
    WriteBytes(Path("broken.cs270"), presetBytes);
    return "file://" + Path("settings.xml");
  }
};

TEST_F(CliPresets, ListNamesEveryPresetWithItsNote) {
  const Result result = Run({"--url", BundledUrl(), "presets"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Factory Profile 1  (type 1)"), std::string::npos);
  EXPECT_NE(result.out.find("Rally  (type 2)"), std::string::npos);
  // A tilde in the note is a line break.
  EXPECT_NE(result.out.find("gravel and snow.\n    Level High."), std::string::npos);
}

TEST_F(CliPresets, UnreachableServerFailsWithItsAddress) {
  const Result result = Run({"--url", "file://" + Path("missing.xml"), "presets"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("missing.xml"), std::string::npos);
}

TEST_F(CliPresets, ASettingsDocumentThatIsAFifoFailsAtOnce) {
  TestFifo fifo(Path("settings.xml"));
  ASSERT_TRUE(fifo.Made());
  Result result{};
  ASSERT_TRUE(fifo.Within(std::chrono::seconds(10), [&] {
    result = Run({"--url", fifo.Address(), "presets"});
  })) << "presets waited on the FIFO";
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "Cannot read the preset list from " + fifo.Address() +
                            ": cannot read the settings document: " + fifo.Path() +
                            ": not a regular file\n");
  EXPECT_EQ(result.out, "");
}

// A preset server whose names and notes carry terminal escape codes: set the title, clear the
// screen, go up a line and overwrite it, and the same as a C1 control in UTF-8.
TestHttpResponse HostileServer(const std::string& path) {
  TestHttpResponse response;
  if (path != "/settings.xml") {
    response.status = 404;
    return response;
  }
  response.body =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><settings><version>103</version><presets>"
      "<preset><name>Evil\x1b]0;owned\x07\x1b[2J</name><type>2</type>"
      "<note>first~\x1b[1A\x1b[2Kfaked\xC2\x9B"
      "31m</note><file>evil.cs270</file></preset>"
      "<preset><name>Caf\xC3\xA9 \\ bar</name><type>1</type><file>cafe.cs270</file></preset>"
      "</presets></settings>";
  return response;
}

TEST_F(CliPresets, EscapeCodesFromTheServerAreShownEscaped) {
  setenv("no_proxy", "127.0.0.1", 1);
  TestHttpServer server(HostileServer);
  ASSERT_TRUE(server.Running());
  const std::string url = server.Url("/settings.xml");

  const Result list = Run({"--url", url, "presets"});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out,
            "Evil\\x1b]0;owned\\x07\\x1b[2J  (type 2)\n"
            "    first\n"
            "    \\x1b[1A\\x1b[2Kfaked\\xc2\\x9b31m\n"
            "Caf\xC3\xA9 \\\\ bar  (type 1)\n");

  // JSON escapes them too, the C1 control included.
  const Result json = Run({"--url", url, "--json", "presets"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_NE(json.out.find("\"name\":\"Evil\\u001b]0;owned\\u0007\\u001b[2J\""), std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("faked\\u009b31m"), std::string::npos) << json.out;
  EXPECT_EQ(json.out.find("\xC2\x9B"), std::string::npos) << json.out;

  // The name as the server gave it, typed back, reaches the download, whose failure shows it
  // escaped again.
  const Result install = Run({"--url", url, "install-preset", "Evil\x1b]0;owned\x07\x1b[2J", "1"});
  EXPECT_EQ(install.status, 1);
  EXPECT_EQ(install.err.rfind("Cannot download preset \"Evil\\x1b]0;owned\\x07\\x1b[2J\": ", 0), 0u)
      << install.err;
  EXPECT_EQ(install.err.find('\x1b'), std::string::npos) << install.err;
  const Result unknown = Run({"--url", url, "install-preset", "\x1b[2J", "1"});
  EXPECT_EQ(unknown.err, "No preset is called \"\\x1b[2J\" (see the presets command).\n");
}

TEST_F(CliPresets, InstallWritesOnlyTheChosenSlot) {
  const std::vector<std::uint8_t> one = Container(FactoryProfiles[0]);
  const std::vector<std::uint8_t> three = Container(FactoryProfiles[2]);
  WriteBytes(Path("1.cs270"), one);
  WriteBytes(Path("2.cs270"), Container(FactoryProfiles[1]));
  WriteBytes(Path("3.cs270"), three);
  ASSERT_EQ(
      RunVirtual({"write-profiles", Path("1.cs270"), Path("2.cs270"), Path("3.cs270")}).status, 0);

  const Result install = RunVirtual({"--url", BundledUrl(), "install-preset", "rally", "2"});
  ASSERT_EQ(install.status, 0) << install.err;

  for (int slot = 1; slot <= 3; ++slot) {
    const std::string file = Path("back.cs270");
    ASSERT_EQ(RunVirtual({"read-profile", std::to_string(slot), file}).status, 0);
    const std::vector<std::uint8_t> expected =
        slot == 2 ? BundledPreset("rally.cs270") : (slot == 1 ? one : three);
    EXPECT_EQ(ReadBytes(file), expected) << "profile " << slot;
  }
}

TEST_F(CliPresets, PresetFailingItsCheckIsNeverWritten) {
  std::vector<std::uint8_t> damaged = BundledPreset("rally.cs270");
  damaged[40] ^= 0x01;
  const std::string url = LocalServer(damaged);

  const Result install = RunVirtual({"--url", url, "install-preset", "Broken", "1"});
  EXPECT_EQ(install.status, 1);
  EXPECT_NE(install.err.find("failed the profile file check"), std::string::npos) << install.err;
  // The receiver was never touched: it still has no stored profiles.
  const Result info = RunVirtual({"info"});
  EXPECT_NE(info.out.find("Profiles stored: no"), std::string::npos) << info.out;
}

TEST_F(CliPresets, UnknownNameAndBadSlotAreRefused) {
  EXPECT_EQ(Run({"--url", BundledUrl(), "install-preset", "No Such Preset", "1"}).status, 1);
  EXPECT_EQ(Run({"--url", BundledUrl(), "install-preset", "Rally", "4"}).status, 2);
}

TEST_F(Cli, FileNamesAreEchoedWithTheirControlCharactersEscaped) {
  const std::string name = Path("x") + "\x1b]0;owned\x07.cs270";
  const std::string shown = Path("x") + "\\x1b]0;owned\\x07.cs270";
  const Result check = Run({"check", name});
  EXPECT_EQ(check.status, kExitFailure);
  EXPECT_EQ(check.err.rfind(shown + ": ", 0), 0u) << check.err;
  const Result restore = RunVirtual({"restore", name});
  EXPECT_EQ(restore.status, kExitFailure);
  EXPECT_EQ(restore.err.rfind(shown + ": ", 0), 0u) << restore.err;
  const Result unknown =
      Run({"--\x9b"
           "2J"});
  EXPECT_EQ(unknown.err, "corsaro270-cli: unknown option --\\x9b2J\n");
  for (const Result& result : {check, restore, unknown}) {
    EXPECT_EQ(result.err.find('\x1b'), std::string::npos) << result.err;
  }
}
