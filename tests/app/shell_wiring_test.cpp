// The shell reads the wheel link's own flags once wired.
#include "app/shell_wiring.h"

#include "device/connection.h"
#include "tests/app/shell_fixture.h"

namespace {

class ShellWiring : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ReceiverConnected = 0;
    WheelFirmwareVersion = 0;
    FirmwareOutOfDate = 0;
    NewerAppAvailable = 0;
    WireShellToReceiver();
  }
  void TearDown() override {
    WheelFirmwareVersion = 0;
    FirmwareOutOfDate = 0;
    ShellTest::TearDown();
  }
};

TEST_F(ShellWiring, AboutBoxShowsTheReceiversVersion) {
  WheelFirmwareVersion = 0x0201;
  ShowAboutBox();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_NE(dialogs.shown()[0].text.find("Wheel Firmware v2. 1"), std::string::npos);
}

TEST_F(ShellWiring, AcceptedFirmwarePromptClearsTheLinksFlag) {
  FirmwareOutOfDate = 1;
  dialogs.AnswerNextQuestion(MessageAnswer::Yes);
  EXPECT_FALSE(Frame());
  EXPECT_EQ(FirmwareOutOfDate, 0);
  EXPECT_EQ(AppState, APP_UPDATE_REQUESTED);
}

}  // namespace
