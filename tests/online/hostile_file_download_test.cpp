// File addresses that name something hostile: a FIFO nobody writes, a device, a folder, links.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "online/http_download.h"
#include "online/preset_download.h"
#include "online/settings_document.h"
#include "online/settings_download.h"
#include "tests/support/fifo.h"

namespace {

// A file address is read only when it names a regular file: a FIFO nobody writes, a device or a
// folder fails at once with the reason, and none is waited on.
class HostileFileDownload : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("corsaro-file-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  std::filesystem::path folder_;
};

TEST_F(HostileFileDownload, AFifoAsTheSettingsDocumentFailsAtOnce) {
  TestFifo fifo(Path("settings.xml"));
  ASSERT_TRUE(fifo.Made());
  SettingsDocument document;
  std::string error;
  bool downloaded = true;
  ASSERT_TRUE(fifo.Within(std::chrono::seconds(10), [&] {
    downloaded = DownloadSettings(document, fifo.Address().c_str(), error);
  })) << "the download waited on the FIFO";
  EXPECT_FALSE(downloaded);
  EXPECT_EQ(error, fifo.Path() + ": not a regular file");

  // The start-up download on its worker too.
  SettingsDownload startUp;
  bool finished = true;
  ASSERT_TRUE(fifo.Within(std::chrono::seconds(10), [&] {
    startUp.Start(fifo.Address().c_str());
    finished = startUp.Finish();
  })) << "start-up waited on the FIFO";
  EXPECT_FALSE(finished);
}

TEST_F(HostileFileDownload, APresetFileThatIsAFifoFailsAtOnce) {
  TestFifo fifo(Path("rally.cs270"));
  ASSERT_TRUE(fifo.Made());
  std::vector<unsigned char> bytes;
  std::string error;
  std::array<unsigned char, kDownloadFileLimit> buffer{};
  int count = 0;
  bool downloaded = true;
  ASSERT_TRUE(fifo.Within(std::chrono::seconds(10), [&] {
    count = DownloadFile(fifo.Address().c_str(), buffer);
    downloaded = DownloadPreset(fifo.Address().c_str(), bytes, error);
  }));
  EXPECT_EQ(count, -1);
  EXPECT_FALSE(downloaded);
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

TEST_F(HostileFileDownload, DevicesAndFoldersAreRefusedAndLinksFollowed) {
  std::string body;
  std::string error;
  EXPECT_FALSE(HttpGet("file:///dev/zero", 100, body, error));
  EXPECT_EQ(error, "/dev/zero: not a regular file");
  EXPECT_FALSE(HttpGet(("file://" + folder_.string()).c_str(), 100, body, error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  EXPECT_FALSE(HttpGet(("file://" + Path("none.xml")).c_str(), 100, body, error));
  EXPECT_EQ(error, Path("none.xml") + ": No such file or directory");
  EXPECT_TRUE(body.empty());

  // A link the user made to a file of theirs is read, and a long file is cut at the limit.
  std::ofstream(Path("real file.xml"), std::ios::binary) << "0123456789";
  std::filesystem::create_symlink(Path("real file.xml"), Path("link.xml"));
  EXPECT_TRUE(HttpGet(("file://" + Path("link.xml")).c_str(), 100, body, error)) << error;
  EXPECT_EQ(body, "0123456789");
  EXPECT_TRUE(HttpGet(("FILE://localhost" + Path("real%20file.xml")).c_str(), 4, body, error))
      << error;
  EXPECT_EQ(body, "0123");
  // A link to a FIFO is no better than the FIFO.
  TestFifo fifo(Path("fifo"));
  ASSERT_TRUE(fifo.Made());
  std::filesystem::create_symlink(fifo.Path(), Path("to-fifo.xml"));
  bool downloaded = true;
  ASSERT_TRUE(fifo.Within(std::chrono::seconds(10), [&] {
    downloaded = HttpGet(("file://" + Path("to-fifo.xml")).c_str(), 100, body, error);
  }));
  EXPECT_FALSE(downloaded);
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  // Another host's file is not ours to read.
  EXPECT_FALSE(HttpGet(("file://elsewhere" + Path("link.xml")).c_str(), 100, body, error));
}

}  // namespace
