// Start-up's engine reference also carries the log: lines of every layer reach the engine's log
// file while the engine is set, and none after tear-down.
#include "common/log.h"
#include "device/connection_listener.h"
#include "device/headless_connection_listener.h"
#include "device/virtual_receiver.h"
#include "tests/app/shell_fixture.h"

namespace {

class LogWiring : public ShellTest {};

TEST_F(LogWiring, LinesOfEveryLayerReachTheEnginesLog) {
  Log("shell line %d", 1);

  VirtualReceiver receiver("virtual:mute");
  receiver.SetFaults({.onlyCode = 0x03, .noReply = true});
  VirtualHidBackend backend;
  backend.Add(&receiver);
  SetCurrentHidBackend(&backend);
  HeadlessConnectionListener listener;
  SetConnectionListener(&listener);
  ConnectReceiver(nullptr);
  SetConnectionListener(nullptr);
  SetCurrentHidBackend(nullptr);

  EXPECT_FALSE(DownloadSettings("file:///nonexistent/settings.xml"));

  const std::string log = LogText();
  EXPECT_NE(log.find("shell line 1"), std::string::npos);
  EXPECT_NE(log.find("ERROR Reading firmware version"), std::string::npos);
  EXPECT_NE(log.find("Settings download from file:///nonexistent/settings.xml failed"),
            std::string::npos);
}

TEST_F(LogWiring, NothingIsLoggedOnceTheEngineIsGone) {
  SetShellEngine(nullptr);
  Log("after tear-down");
  SetShellEngine(&engine);
  EXPECT_EQ(LogText().find("after tear-down"), std::string::npos);
}

}  // namespace
