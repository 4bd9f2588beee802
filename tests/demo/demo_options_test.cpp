// The demo's command line and where it finds the bundled presets.
#include "demo/demo_options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "demo/bundled_presets.h"

namespace {

bool Parse(std::vector<std::string> arguments, DemoOptions* options, std::string* error) {
  arguments.insert(arguments.begin(), "corsaro270-demo");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  return ParseDemoOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(DemoOptions, HidrawTakesNoVirtualReceiverOption) {
  DemoOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--hidraw", "--script", "s.txt", "--out", "o"}, &options, &error)) << error;
  EXPECT_TRUE(options.hidraw);
  for (std::vector<std::string> arguments :
       std::vector<std::vector<std::string>>{{"--hidraw", "--flash", "f.bin"},
                                             {"--hidraw", "--firmware-version", "1.80"},
                                             {"--no-receiver", "--hidraw"},
                                             {"--hidraw", "--usb-pace"}}) {
    DemoOptions refused;
    EXPECT_FALSE(Parse(arguments, &refused, &error)) << arguments[1];
    EXPECT_EQ(error,
              "--hidraw uses the receiver the system has: --flash, --firmware-version, "
              "--no-receiver and --usb-pace belong to the virtual one");
  }
}

TEST(DemoOptions, EveryOptionIsRead) {
  DemoOptions options;
  std::string error;
  ASSERT_TRUE(
      Parse({"--flash", "f.bin", "--firmware-version", "1.80", "--no-receiver", "--usb-pace",
             "--settings", "file:///s.xml", "--script", "s.txt", "--out", "o"},
            &options, &error))
      << error;
  EXPECT_EQ(options.flashFile, "f.bin");
  EXPECT_TRUE(options.firmwareVersionSet);
  EXPECT_EQ(options.firmwareVersion, 0x0180);
  EXPECT_TRUE(options.noReceiver);
  EXPECT_TRUE(options.usbPace);
  EXPECT_EQ(options.settingsAddress, "file:///s.xml");
  EXPECT_EQ(options.scriptFile, "s.txt");
  EXPECT_EQ(options.outFolder, "o");
  EXPECT_FALSE(options.help);

  DemoOptions none;
  ASSERT_TRUE(Parse({}, &none, &error));
  EXPECT_TRUE(none.flashFile.empty());
  EXPECT_FALSE(none.firmwareVersionSet);
  EXPECT_FALSE(none.noReceiver);
  EXPECT_TRUE(none.scriptFile.empty());
}

TEST(DemoOptions, BadCommandLinesSayWhy) {
  struct Case {
    std::vector<std::string> arguments;
    const char* error;
  };
  const Case cases[] = {
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"extra"}, "unexpected argument \"extra\""},
      {{"--flash"}, "--flash needs a value"},
      {{"--out", ""}, "--out needs a value"},
      {{"--firmware-version", "1.9z"},
       "bad firmware version \"1.9z\" (write it as 1.96 or 0x0196)"},
      {{"--firmware-version", "0x10000"},
       "bad firmware version \"0x10000\" (write it as 1.96 or 0x0196)"},
      {{"--script", "s.txt"}, "--script needs --out"},
  };
  for (const Case& c : cases) {
    DemoOptions options;
    std::string error;
    EXPECT_FALSE(Parse(c.arguments, &options, &error)) << c.error;
    EXPECT_EQ(error, c.error);
  }
  DemoOptions options;
  std::string error;
  EXPECT_TRUE(Parse({"--help", "--script", "s.txt"}, &options, &error));
  EXPECT_TRUE(options.help);
}

TEST(BundledPresets, FoundInTheSourceTreeAndBesideTheProgram) {
  namespace fs = std::filesystem;
  const std::string settings =
      fs::weakly_canonical(fs::path(CORSARO_SOURCE_DIR) / "assets/presets/tarnwick270/settings.xml")
          .string();
  EXPECT_EQ(BundledSettingsAddress("/no/such/program/", CORSARO_SOURCE_DIR), FileAddress(settings));
  // A program two folders below the checkout (build/bin) finds the checkout's assets.
  const std::string bin = (fs::path(CORSARO_SOURCE_DIR) / "build-x" / "bin").string() + "/";
  EXPECT_EQ(BundledSettingsAddress(bin, "/no/such/source"), FileAddress(settings));
  EXPECT_EQ(BundledSettingsAddress("/no/such/program/", "/no/such/source"), "");
}

TEST(BundledPresets, AnInstalledDemoFindsThemInItsSharedDataFolder) {
  namespace fs = std::filesystem;
  std::string prefix = (fs::temp_directory_path() / "corsaro-prefix-XXXXXX").string();
  ASSERT_NE(mkdtemp(prefix.data()), nullptr);
  fs::create_directories(prefix + "/bin");
  fs::create_directories(prefix + "/share/corsaro270/presets/tarnwick270");
  std::ofstream(prefix + "/share/corsaro270/presets/tarnwick270/settings.xml") << "<settings/>";
  EXPECT_EQ(BundledSettingsAddress(prefix + "/bin/", "/no/such/source"),
            FileAddress(prefix + "/share/corsaro270/presets/tarnwick270/settings.xml"));
  fs::remove_all(prefix);
}

TEST(BundledPresets, FileAddressesEscapeWhatAddressesReserve) {
  EXPECT_EQ(FileAddress("/a/b-c_d.e~f/settings.xml"), "file:///a/b-c_d.e~f/settings.xml");
  EXPECT_EQ(FileAddress("/my presets/100%/#1?x"), "file:///my%20presets/100%25/%231%3Fx");
  // A Windows path's drive is the address's first segment; a colon elsewhere is still escaped.
  EXPECT_EQ(FileAddress("Z:/work/a:b/settings.xml"), "file:///Z:/work/a%3Ab/settings.xml");
  EXPECT_EQ(FileAddress("/1:/settings.xml"), "file:///1%3A/settings.xml");
}

}  // namespace
