// The start-up download of the settings document on its worker: it runs while the caller goes on,
// its text reaches Settings only through Finish, and a server that never answers costs no more
// than the time-outs and changes nothing.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "common/log.h"
#include "online/settings_download.h"
#include "tests/online/test_http_server.h"
#include "tests/support/environment.h"

namespace {

const std::string kPresetRoot = std::string(CORSARO_SOURCE_DIR) + "/assets/presets";
constexpr DownloadTimeouts kShortTimeouts = {200, 400};

std::vector<std::string> logged;
void KeepLine(const char* line) {
  logged.emplace_back(line);
}

class SettingsDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnvironment("no_proxy", "127.0.0.1");
    logged.clear();
    SetLogSink(KeepLine);
    Settings = SettingsDocument();
    Settings.supportPage = "http://built-in/";
  }
  void TearDown() override {
    SetLogSink(nullptr);
    Settings = SettingsDocument();
  }
};

TEST_F(SettingsDownloadTest, TheTransferRunsWhileTheCallerGoesOn) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  TestHttpServer server([released](const std::string& path) {
    // The server answers only once the caller, which started the download, lets it.
    released.wait();
    return ServeFolder(kPresetRoot, path);
  });
  const std::string address = server.Url("/tarnwick270/settings.xml");
  SettingsDownload download;
  download.Start(address.c_str(), kShortTimeouts);
  // Start returned although the server has not answered; nothing reached Settings yet.
  EXPECT_TRUE(Settings.text.empty());
  release.set_value();
  ASSERT_TRUE(download.Finish());
  EXPECT_EQ(Settings.address, address);
  EXPECT_EQ(Settings.text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>", 0), 0u);
  ParseSettings();
  EXPECT_FALSE(Settings.presets.empty());
  EXPECT_TRUE(logged.empty());
}

TEST_F(SettingsDownloadTest, ASilentServerFailsWithinTheTimeOutsAndChangesNothing) {
  TestHttpServer server([](const std::string&) {
    TestHttpResponse response;
    response.silent = true;
    return response;
  });
  const std::string address = server.Url("/tarnwick270/settings.xml");
  SettingsDownload download;
  download.Start(address.c_str(), kShortTimeouts);
  EXPECT_FALSE(download.Finish());
  EXPECT_TRUE(Settings.text.empty());
  EXPECT_TRUE(Settings.address.empty());
  EXPECT_EQ(Settings.supportPage, "http://built-in/");
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0].rfind("Settings download from " + address + " failed: ", 0), 0u) << logged[0];
}

TEST_F(SettingsDownloadTest, NothingStartedFinishesFalseAndAnUnfinishedOneIsWaitedFor) {
  SettingsDownload idle;
  EXPECT_FALSE(idle.Finish());
  TestHttpServer server([](const std::string& path) { return ServeFolder(kPresetRoot, path); });
  {
    SettingsDownload abandoned;
    abandoned.Start(server.Url("/tarnwick270/settings.xml").c_str(), kShortTimeouts);
  }
  // Only Finish hands the text over.
  EXPECT_TRUE(Settings.text.empty());
  EXPECT_EQ(server.RequestCount(), 1);
}

}  // namespace
