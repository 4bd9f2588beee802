// The one log entry point: lines reach the sink that is set, and nowhere without one.
#include "common/log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>& Lines() {
  static std::vector<std::string> lines;
  return lines;
}

void Collect(const char* line) {
  Lines().push_back(line);
}

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override { Lines().clear(); }
  void TearDown() override { SetLogSink(nullptr); }
};

TEST_F(LogTest, LinesAreFormattedForTheSink) {
  SetLogSink(Collect);
  Log("ERROR Reading firmware version");
  Log("Open %s - Error %s", "http://x.example/", "SE_ERR_NOASSOC");
  Log("%d%%", 42);
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"ERROR Reading firmware version",
                                      "Open http://x.example/ - Error SE_ERR_NOASSOC", "42%"}));
}

TEST_F(LogTest, WithoutASinkNothingIsWritten) {
  Log("before any sink");
  SetLogSink(Collect);
  Log("kept");
  SetLogSink(nullptr);
  Log("after the sink was cleared");
  EXPECT_EQ(Lines(), std::vector<std::string>{"kept"});
}

TEST_F(LogTest, LongLinesAreCutAt1023Bytes) {
  SetLogSink(Collect);
  const std::string longText(3000, 'x');
  Log("%s", longText.c_str());
  ASSERT_EQ(Lines().size(), 1u);
  EXPECT_EQ(Lines()[0], std::string(1023, 'x'));
}

}  // namespace
