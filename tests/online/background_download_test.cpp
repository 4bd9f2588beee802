// A preset fetched on a worker: the caller keeps running while the server is slow, a short file
// is never read with the tail of an earlier one, and a silent server ends as a failure by the
// time-outs or at once when cancelled.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

#include "online/background_download.h"
#include "online/http_download.h"
#include "tests/online/test_http_server.h"
#include "tests/support/fifo.h"

namespace {

TestHttpResponse Route(const std::string& path) {
  TestHttpResponse response;
  if (path == "/long") {
    response.body.assign(300, '\xAA');
  } else if (path == "/short") {
    response.body = "0123456789";
  } else if (path == "/to-file") {
    response.status = 302;
    response.headers = "Location: file:///etc/hostname\r\n";
  } else if (path == "/silent") {
    response.silent = true;
  } else {
    response.status = 404;
    response.body = "not here";
  }
  return response;
}

class BackgroundDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Running());
    saved = GetDownloadTimeouts();
  }
  void TearDown() override { SetDownloadTimeouts(saved); }

  // Polls as a frame loop would until the download has ended; the number of polls it took.
  static int PollUntilFinished(const BackgroundDownload& download) {
    int polls = 0;
    while (!download.Finished()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(16));
      ++polls;
    }
    return polls;
  }

  // The same within five seconds; false when the download had not ended by then.
  static bool PollUntilFinishedOr(const BackgroundDownload& download) {
    for (int polls = 0; polls < 312; ++polls) {
      if (download.Finished()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    return download.Finished();
  }

  TestHttpServer server{Route};
  DownloadTimeouts saved{};
};

TEST_F(BackgroundDownloadTest, AShortFileAfterALongOneReadsAsZerosBeyondItsEnd) {
  BackgroundDownload download;
  ASSERT_TRUE(download.Start(server.Url("/long").c_str()));
  EXPECT_TRUE(download.Busy());
  PollUntilFinished(download);
  ASSERT_EQ(download.Take(), 300);
  EXPECT_FALSE(download.Busy());
  EXPECT_EQ(download.Bytes()[299], 0xAA);

  ASSERT_TRUE(download.Start(server.Url("/short").c_str()));
  PollUntilFinished(download);
  ASSERT_EQ(download.Take(), 10);
  EXPECT_EQ(std::string(download.Bytes().begin(), download.Bytes().begin() + 10), "0123456789");
  for (std::size_t i = 10; i < 300; ++i) {
    ASSERT_EQ(download.Bytes()[i], 0) << "byte " << i << " is left from the earlier download";
  }
  EXPECT_EQ(download.Bytes().size(), 5120u);
}

TEST_F(BackgroundDownloadTest, FailuresReadAsMinusOne) {
  BackgroundDownload download;
  for (const std::string& address : {server.Url("/missing"), server.Url("/to-file"), std::string(),
                                     std::string("file:///nonexistent/x.cs270")}) {
    ASSERT_TRUE(download.Start(address.c_str())) << address;
    PollUntilFinished(download);
    EXPECT_EQ(download.Take(), -1) << address;
  }
}

TEST_F(BackgroundDownloadTest, OnlyOneDownloadAtATime) {
  SetDownloadTimeouts({500, 1000});
  BackgroundDownload download;
  ASSERT_TRUE(download.Start(server.Url("/silent").c_str()));
  EXPECT_FALSE(download.Start(server.Url("/short").c_str()));
  PollUntilFinished(download);
  EXPECT_EQ(download.Take(), -1);
}

TEST_F(BackgroundDownloadTest, ASilentServerFailsByTheTimeOutsWhileTheCallerKeepsPolling) {
  SetDownloadTimeouts({500, 1000});
  BackgroundDownload download;
  ASSERT_TRUE(download.Start(server.Url("/silent").c_str()));
  EXPECT_FALSE(download.Finished()) << "the start does not wait for the server";
  EXPECT_GT(PollUntilFinished(download), 1) << "the caller went on while the server was silent";
  EXPECT_EQ(download.Take(), -1);
}

TEST_F(BackgroundDownloadTest, CancelEndsASilentDownload) {
  SetDownloadTimeouts({60000, 120000});
  BackgroundDownload download;
  ASSERT_TRUE(download.Start(server.Url("/silent").c_str()));
  download.Cancel();
  EXPECT_FALSE(download.Busy());
  EXPECT_TRUE(download.Finished());
  EXPECT_EQ(download.Take(), -1);
  // Leaving a running download cancels it too: the destructor must not wait two minutes.
  BackgroundDownload abandoned;
  ASSERT_TRUE(abandoned.Start(server.Url("/silent").c_str()));
}

TEST_F(BackgroundDownloadTest, APresetFileThatIsAFifoNeverHoldsUpQuitting) {
  TestFifo fifo(std::filesystem::temp_directory_path() /
                ("corsaro-preset-fifo-" + std::to_string(getpid())));
  ASSERT_TRUE(fifo.Made());
  BackgroundDownload download;
  ASSERT_TRUE(download.Start(fifo.Address().c_str()));
  // Closing the dialog or quitting cancels the download; that must come back, FIFO or not.
  ASSERT_TRUE(fifo.Within(std::chrono::seconds(10), [&] { download.Cancel(); }))
      << "Cancel waited on the FIFO";
  EXPECT_FALSE(download.Busy());
  EXPECT_TRUE(download.Finished());
  EXPECT_EQ(download.Take(), -1);

  ASSERT_TRUE(download.Start(fifo.Address().c_str()));
  bool finished = false;
  ASSERT_TRUE(
      fifo.Within(std::chrono::seconds(10), [&] { finished = PollUntilFinishedOr(download); }));
  EXPECT_TRUE(finished) << "the download of a FIFO did not fail by itself";
  EXPECT_EQ(download.Take(), -1);
}

}  // namespace
