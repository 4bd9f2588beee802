#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "online/http_download.h"
#include "online/preset_download.h"
#include "online/settings_document.h"
#include "online/settings_download.h"
#include "tests/online/test_http_server.h"
#include "tests/support/environment.h"

namespace {

const std::string kPresetRoot = std::string(CORSARO_SOURCE_DIR) + "/assets/presets";
const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";
constexpr DownloadTimeouts kTestTimeouts = {500, 1000};

std::string Repeat(const std::string& piece, std::size_t bytes) {
  std::string out;
  while (out.size() < bytes) out += piece;
  out.resize(bytes);
  return out;
}

// Serves the bundled preset content, plus a few misbehaving paths.
TestHttpResponse Route(const std::string& path) {
  TestHttpResponse response;
  if (path == "/silent") {
    response.silent = true;
  } else if (path == "/endless") {
    response.endless = true;
    response.body = Repeat("0123456789abcdef", 4096);
  } else if (path == "/big.xml") {
    response.body = kDeclaration + Repeat("<a>padding</a>", 200000);
  } else if (path == "/preset1024") {
    response.body = Repeat("P", 1024);
  } else if (path == "/preset1025") {
    response.body = Repeat("P", 1025);
  } else if (path == "/upper.xml") {
    response.body = "<?XML VERSION=\"1.0\" ENCODING=\"utf-8\" ?><settings/>";
  } else if (path == "/bom.xml") {
    response.body = "\xEF\xBB\xBF" + kDeclaration + "<settings/>";
  } else if (path == "/single.xml") {
    response.body = "<?xml version='1.0' encoding='UTF-8' ?><settings/>";
  } else if (path == "/spacing.xml") {
    response.body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><settings/>";
  } else if (path == "/error.xml") {
    response.status = 500;
    response.body = kDeclaration + "<settings><version>900</version></settings>";
  } else if (path == "/to-file") {
    response.status = 302;
    response.headers = "Location: file://" + kPresetRoot + "/tarnwick270/settings.xml\r\n";
  } else if (path == "/moved") {
    response.status = 302;
    response.headers = "Location: /tarnwick270/settings.xml\r\n";
  } else {
    response = ServeFolder(kPresetRoot, path);
  }
  return response;
}

// Short time-outs keep the tests fast; a proxy configured on the machine must not take the
// loopback requests elsewhere.
class LoopbackEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    SetEnvironment("no_proxy", "127.0.0.1");
    SetDownloadTimeouts(kTestTimeouts);
  }
};
::testing::Environment* const kLoopbackEnvironment =
    ::testing::AddGlobalTestEnvironment(new LoopbackEnvironment);

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.Running()); }

  std::string Url(const std::string& path) const { return server_.Url(path); }

  TestHttpServer server_{Route};
};

std::vector<unsigned char> ReadBundled(const std::string& name) {
  std::ifstream file(kPresetRoot + "/tarnwick270/" + name, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(file),
                                    std::istreambuf_iterator<char>());
}

TEST_F(DownloadTest, SettingsFromTheBundledServerContent) {
  SettingsDocument document;
  std::string error;
  std::string address = Url("/tarnwick270/settings.xml");
  ASSERT_TRUE(DownloadSettings(document, address.c_str(), error)) << error;
  EXPECT_EQ(document.address, address);
  XmlResults results;
  ASSERT_TRUE(ParseSettings(document, results));
  EXPECT_FALSE(document.newerAppAvailable);
  EXPECT_GE(document.presets.size(), 4u);
  EXPECT_LE(document.presets.size(), 6u);
  EXPECT_NE(server_.LastRequest().find("User-Agent: Corsaro270 Customiser\r\n"), std::string::npos);
}

TEST_F(DownloadTest, DeclarationMustMatchExceptForLetterCase) {
  SettingsDocument document;
  std::string error;
  EXPECT_TRUE(DownloadSettings(document, Url("/upper.xml").c_str(), error)) << error;
  for (const char* path : {"/bom.xml", "/single.xml", "/spacing.xml", "/nothing-here.xml"}) {
    EXPECT_FALSE(DownloadSettings(document, Url(path).c_str(), error)) << path;
    EXPECT_FALSE(error.empty());
  }
}

TEST_F(DownloadTest, HttpErrorsFailEvenWithAValidBody) {
  SettingsDocument document;
  std::string error;
  EXPECT_FALSE(DownloadSettings(document, Url("/error.xml").c_str(), error));
  EXPECT_NE(error.find("500"), std::string::npos) << error;
  EXPECT_TRUE(document.text.empty());
}

TEST_F(DownloadTest, SilentServerEndsWithTheTimeOut) {
  auto start = std::chrono::steady_clock::now();
  SettingsDocument document;
  std::string error;
  EXPECT_FALSE(DownloadSettings(document, Url("/silent").c_str(), error));
  std::array<unsigned char, kDownloadFileLimit> buffer{};
  EXPECT_EQ(DownloadFile(Url("/silent").c_str(), buffer), -1);
  auto elapsed = std::chrono::steady_clock::now() - start;
  // Both gave up by themselves; the bound only proves the time-out fired, not a speed.
  EXPECT_LT(elapsed, std::chrono::milliseconds(10 * kTestTimeouts.transferMs));
  EXPECT_EQ(server_.RequestCount(), 2);
}

TEST_F(DownloadTest, ClosedPortFails) {
  std::string closed;
  {
    TestHttpServer gone(Route);
    closed = gone.Url("/tarnwick270/settings.xml");
  }
  SettingsDocument document;
  std::string error;
  EXPECT_FALSE(DownloadSettings(document, closed.c_str(), error));
  EXPECT_FALSE(error.empty());
}

TEST_F(DownloadTest, LargeSettingsBodyIsCutAtTheLimit) {
  SettingsDocument document;
  std::string error;
  ASSERT_TRUE(DownloadSettings(document, Url("/big.xml").c_str(), error)) << error;
  EXPECT_EQ(document.text.size(), kSettingsLimit);
  XmlResults results;
  EXPECT_FALSE(ParseSettings(document, results));
}

TEST_F(DownloadTest, EndlessBodyIsNotReadToTheEnd) {
  SettingsDocument document;
  std::string error;
  EXPECT_FALSE(DownloadSettings(document, Url("/endless").c_str(), error));
  EXPECT_EQ(document.text.size(), kSettingsLimit);
  std::array<unsigned char, kDownloadFileLimit> buffer{};
  EXPECT_EQ(DownloadFile(Url("/endless").c_str(), buffer), static_cast<int>(kDownloadFileLimit));
  EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 16), "0123456789abcdef");
}

TEST_F(DownloadTest, DownloadFileReadsAtMostTheLimitAndTheBuffer) {
  std::vector<unsigned char> big(kDownloadFileLimit * 2, 0xEE);
  EXPECT_EQ(DownloadFile(Url("/big.xml").c_str(), big), static_cast<int>(kDownloadFileLimit));
  EXPECT_EQ(big[kDownloadFileLimit], 0xEE);  // nothing written past the limit

  std::array<unsigned char, 100> small{};
  EXPECT_EQ(DownloadFile(Url("/big.xml").c_str(), small), 100);

  std::array<unsigned char, kDownloadFileLimit> buffer{};
  EXPECT_EQ(DownloadFile(Url("/tarnwick270/factory1.cs270").c_str(), buffer), 116);
  EXPECT_EQ(DownloadFile(Url("/missing.cs270").c_str(), buffer), -1);
  EXPECT_EQ(DownloadFile("", buffer), -1);
}

TEST_F(DownloadTest, PresetListFromTheBundledServerPointsBackAtIt) {
  std::vector<PresetEntry> presets;
  std::string error;
  ASSERT_TRUE(FetchPresetList(Url("/tarnwick270/settings.xml").c_str(), presets, error)) << error;
  ASSERT_GE(presets.size(), 4u);
  for (const PresetEntry& preset : presets) {
    EXPECT_EQ(std::string(preset.file).rfind(Url("/tarnwick270/"), 0), 0u) << preset.file;
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(DownloadPreset(preset.file, bytes, error)) << error;
    std::string name = std::string(preset.file).substr(Url("/tarnwick270/").size());
    EXPECT_EQ(bytes, ReadBundled(name));
  }
}

TEST_F(DownloadTest, PresetListFailuresSayWhy) {
  std::vector<PresetEntry> presets(1);
  std::string error;
  EXPECT_FALSE(FetchPresetList(Url("/missing.xml").c_str(), presets, error));
  EXPECT_NE(error.find("settings document"), std::string::npos) << error;
  EXPECT_FALSE(FetchPresetList(Url("/big.xml").c_str(), presets, error));
  EXPECT_NE(error.find("not valid"), std::string::npos) << error;
  EXPECT_EQ(presets.size(), 1u);
}

TEST_F(DownloadTest, PresetFilesAboveOneKilobyteAreRefused) {
  std::vector<unsigned char> bytes;
  std::string error;
  EXPECT_TRUE(DownloadPreset(Url("/preset1024").c_str(), bytes, error)) << error;
  EXPECT_EQ(bytes.size(), kPresetFileLimit);
  EXPECT_FALSE(DownloadPreset(Url("/preset1025").c_str(), bytes, error));
  EXPECT_NE(error.find("1024"), std::string::npos);
  EXPECT_FALSE(DownloadPreset(Url("/missing").c_str(), bytes, error));
}

TEST_F(DownloadTest, RedirectsAreFollowedButNeverToLocalFiles) {
  SettingsDocument document;
  std::string error;
  EXPECT_TRUE(DownloadSettings(document, Url("/moved").c_str(), error)) << error;
  EXPECT_FALSE(DownloadSettings(document, Url("/to-file").c_str(), error));
}

TEST(FileDownload, FileAddressesWork) {
  std::string address = "file://" + kPresetRoot + "/tarnwick270/settings.xml";
  std::vector<PresetEntry> presets;
  std::string error;
  ASSERT_TRUE(FetchPresetList(address.c_str(), presets, error)) << error;
  ASSERT_FALSE(presets.empty());
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(DownloadPreset(presets[0].file, bytes, error)) << error;
  EXPECT_EQ(bytes.size(), 116u);
  std::string missing = "file://" + kPresetRoot + "/none.xml";
  EXPECT_FALSE(FetchPresetList(missing.c_str(), presets, error));
}

TEST(FileDownload, OtherSchemesAreRefused) {
  std::array<unsigned char, 16> buffer{};
  EXPECT_EQ(DownloadFile("ftp://127.0.0.1/x", buffer), -1);
  EXPECT_EQ(DownloadFile("not an address", buffer), -1);
}

TEST(StartUpSettings, UnreachableServerLeavesTheSettingsEmpty) {
  std::string closed;
  {
    TestHttpServer gone(Route);
    closed = gone.Url("/tarnwick270/settings.xml");
  }
  Settings.supportPage = "http://built-in/";
  EXPECT_FALSE(DownloadSettings(closed.c_str()));
  EXPECT_TRUE(Settings.presets.empty());
  EXPECT_EQ(Settings.supportPage, "http://built-in/");
  EXPECT_FALSE(NewerAppAvailable());
}

TEST(StartUpSettings, NewerVersionSetsTheFlag) {
  TestHttpServer server([](const std::string&) {
    TestHttpResponse response;
    response.body = kDeclaration +
                    "<settings><version>104</version><presets>"
                    "<preset><name>x</name><file>x.cs270</file></preset></presets></settings>";
    return response;
  });
  std::string address = server.Url("/tarnwick270/settings.xml");
  ASSERT_TRUE(DownloadSettings(address.c_str()));
  ParseSettings();
  EXPECT_TRUE(NewerAppAvailable());
  ASSERT_EQ(Settings.presets.size(), 1u);
  EXPECT_EQ(std::string(Settings.presets[0].file), server.Url("/tarnwick270/x.cs270"));
  Settings = SettingsDocument();
  EXPECT_FALSE(NewerAppAvailable());
}

}  // namespace
