// The no-receiver overlay's line for a receiver that is plugged in but may not be opened, and the
// log line that goes with it.
#include "app/receiver_access_line.h"

#include "device/headless_connection_listener.h"
#include "device/receiver_access.h"
#include "device/virtual_receiver.h"
#include "tests/app/shell_fixture.h"

namespace {

class ReceiverAccessLineTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    backend.Add(&receiver);
    SetCurrentHidBackend(&backend);
    SetConnectionListener(&listener);
  }
  void TearDown() override {
    DisconnectReceiver();
    NoteReceiverOpenResult(HidOpenError::kNotPresent, "");
    SetConnectionListener(nullptr);
    SetCurrentHidBackend(nullptr);
    ShellTest::TearDown();
  }

  VirtualReceiver receiver{"/dev/hidraw5"};
  VirtualHidBackend backend;
  HeadlessConnectionListener listener;
};

TEST_F(ReceiverAccessLineTest, ARefusedReceiverNamesTheAccessAndTheCommand) {
  receiver.SetAccessDenied(true);
  ConnectReceiver(nullptr);
  const char* line = ReceiverAccessLine();
  ASSERT_NE(line, nullptr);
  const std::string text = line;
  EXPECT_EQ(text.rfind("No permission to open the receiver. To allow it, run: sudo ", 0), 0u)
      << text;
  EXPECT_NE(text.find("sudo udevadm control --reload && sudo udevadm trigger"), std::string::npos)
      << text;
  const std::string log = LogText();
  EXPECT_NE(log.find("Receiver /dev/hidraw5: permission denied. To give this user access to it, "
                     "run: sudo "),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("sudo udevadm control --reload && sudo udevadm trigger"), std::string::npos);
}

TEST_F(ReceiverAccessLineTest, NoLineWithoutAReceiverOrOnceItOpens) {
  receiver.Unplug();
  ConnectReceiver(nullptr);
  EXPECT_EQ(ReceiverAccessLine(), nullptr) << "nothing is plugged in";
  receiver.Plug();
  receiver.SetAccessDenied(true);
  ConnectReceiver(nullptr);
  EXPECT_NE(ReceiverAccessLine(), nullptr);
  receiver.SetAccessDenied(false);
  ConnectReceiver(nullptr);
  EXPECT_EQ(ReceiverConnected, 1);
  EXPECT_EQ(ReceiverAccessLine(), nullptr);
}

}  // namespace
