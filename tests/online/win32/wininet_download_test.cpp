// What only the Windows downloads do: file addresses in Windows' own form, addresses resolved by
// WinINet, and a transfer WinINet would wait on ended by its cancel flag.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "online/http_download.h"
#include "tests/online/test_http_server.h"

namespace {

namespace fs = std::filesystem;

class WindowsFileAddress : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / L"file addresses";
    fs::create_directories(folder);
    std::ofstream(folder / L"real file.xml", std::ios::binary) << "0123456789";
    // "C:/users/…/file addresses", as a file address writes it.
    path = folder.generic_string();
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path folder;
  std::string path;
};

std::string Escaped(std::string text) {
  for (std::size_t at = text.find(' '); at != std::string::npos; at = text.find(' ', at))
    text.replace(at, 1, "%20");
  return text;
}

}  // namespace

TEST_F(WindowsFileAddress, EveryWayOfWritingALocalFileReadsIt) {
  for (const std::string& address : {"file:///" + Escaped(path) + "/real%20file.xml",
                                     "FILE://localhost/" + Escaped(path) + "/real%20file.xml",
                                     "file://" + Escaped(path) + "/real%20file.xml",
                                     "file:///" + Escaped(path) + "/real%20file.xml?query#part"}) {
    std::string body;
    std::string error;
    EXPECT_TRUE(HttpGet(address.c_str(), 100, body, error)) << address << ": " << error;
    EXPECT_EQ(body, "0123456789") << address;
  }
  std::string body;
  std::string error;
  EXPECT_TRUE(HttpGet(("file:///" + Escaped(path) + "/real%20file.xml").c_str(), 4, body, error));
  EXPECT_EQ(body, "0123");
}

TEST_F(WindowsFileAddress, FoldersMissingFilesAndOtherHostsAreRefused) {
  std::string body;
  std::string error;
  EXPECT_FALSE(HttpGet(("file:///" + Escaped(path)).c_str(), 100, body, error));
  EXPECT_EQ(error, path + ": not a regular file");
  EXPECT_FALSE(HttpGet(("file:///" + Escaped(path) + "/none.xml").c_str(), 100, body, error));
  EXPECT_EQ(error.rfind(path + "/none.xml: ", 0), 0u) << error;
  EXPECT_FALSE(HttpGet(("file://elsewhere/" + Escaped(path) + "/real%20file.xml").c_str(), 100,
                       body, error));
  EXPECT_EQ(error, "not a local file address");
  EXPECT_FALSE(HttpGet("file:///relative/name.xml", 100, body, error));
  EXPECT_EQ(error, "not a local file address");
  EXPECT_TRUE(body.empty());
}

TEST(WindowsAddresses, ReferencesResolveAgainstTheDocumentsAddress) {
  const char* base = "http://127.0.0.1:8080/tarnwick270/settings.xml";
  std::string out;
  ASSERT_TRUE(ResolveAddress(base, "rally.cs270", out));
  EXPECT_EQ(out, "http://127.0.0.1:8080/tarnwick270/rally.cs270");
  ASSERT_TRUE(ResolveAddress(base, "../other/x.cs270", out));
  EXPECT_EQ(out, "http://127.0.0.1:8080/other/x.cs270");
  ASSERT_TRUE(ResolveAddress(base, "/top.cs270", out));
  EXPECT_EQ(out, "http://127.0.0.1:8080/top.cs270");
  ASSERT_TRUE(ResolveAddress(base, "https://example.org/a.cs270", out));
  EXPECT_EQ(out, "https://example.org/a.cs270");
}

TEST(WindowsDownload, ASilentServerIsLeftWhenTheCancelFlagIsSet) {
  TestHttpServer server([](const std::string&) {
    TestHttpResponse response;
    response.silent = true;
    return response;
  });
  ASSERT_TRUE(server.Running());
  std::atomic<bool> cancel{false};
  std::thread canceller([&] {
    while (server.RequestCount() == 0) Sleep(10);
    cancel = true;
  });
  std::string body;
  std::string error;
  // Only the flag can end this transfer before the test's own time-out.
  const DownloadTimeouts patient = {600000, 600000};
  EXPECT_FALSE(HttpGet(server.Url("/settings.xml").c_str(), 100, patient, body, error, &cancel));
  canceller.join();
  EXPECT_EQ(error, "cancelled");
}

TEST(WindowsDownload, OnlyHttpAndHttpsGoOut) {
  std::string body;
  std::string error;
  EXPECT_FALSE(HttpGet("ftp://127.0.0.1/x", 100, body, error));
  EXPECT_NE(error.find("Protocol not supported"), std::string::npos) << error;
}
