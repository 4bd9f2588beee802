// The update screens' steps on a virtual receiver, through the frame function's state dispatch
// and the connection's own upgrade start: both paths through states 8 to 10, a removal during
// the transfer, a receiver that comes back with its old firmware, and where the overlay's pieces
// go.
#include "app/update_flow.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "app/main_screen_drawing.h"
#include "app/screen_connection_listener.h"
#include "app/update_overlay.h"
#include "device/firmware_upgrade.h"
#include "device/hid_link.h"
#include "device/virtual_receiver.h"
#include "tests/app/shell_fixture.h"

namespace {

constexpr const char* kFinished = "Your controller had been updated to the latest version.\n \n";
constexpr std::uint8_t kSignature[16] = {'O', 'R', 'M', 'I', 'C', '_', 'D', 'F', 'U'};

class UpdateFlow : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    receiver.SetFirmwareVersion(0x0180);
    backend.Add(&receiver);
    SetCurrentHidBackend(&backend);
    SetConnectionListener(&screen);
    InstallUpdateScreens();
  }
  void TearDown() override {
    StopFirmwareUpgrade();
    DisconnectReceiver();
    SetConnectionListener(nullptr);
    SetCurrentHidBackend(nullptr);
    for (int state = APP_UPDATE_REQUESTED; state <= APP_UPDATE_FAILED; ++state) {
      StateOverlays[state] = nullptr;
    }
    UpgradeAfterReconnect = 0;
    DfuSignaturePresent = 0;
    ProgressMessage = nullptr;
    ProgressPercent = 0;
    ShellTest::TearDown();
  }

  void Unplug() {
    receiver.Unplug();
    DisconnectReceiver();
  }
  void Plug() {
    receiver.Plug();
    ConnectReceiver(nullptr);
  }
  // Connects the old receiver and accepts the firmware prompt; the frame runs state 8.
  void AcceptUpgrade() {
    ConnectReceiver(nullptr);
    ASSERT_EQ(FirmwareOutOfDate, 1);
    dialogs.AnswerNextQuestion(MessageAnswer::kYes);
    EXPECT_FALSE(Frame());
  }
  bool WorkerEnds() { return WaitForFirmwareUpgrade(std::chrono::seconds(20)); }
  // A failed worker holds its text on screen for a while before it ends: wait for the text.
  bool MessageBecomes(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Message() != text) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  std::string Message() const {
    const char* message = ProgressMessage;
    return message != nullptr ? message : "(null)";
  }
  std::size_t Confirmations() const {
    std::size_t count = 0;
    for (const auto& shown : dialogs.shown()) count += shown.text == kFinished ? 1 : 0;
    return count;
  }
  bool SignedFlash() {
    std::uint8_t head[16];
    receiver.ReadFlash(0x10000, head, sizeof head);
    return std::memcmp(head, kSignature, 9) == 0;
  }

  VirtualReceiver receiver{"/dev/hidraw-update"};
  VirtualHidBackend backend;
  ScreenConnectionListener screen;
};

TEST_F(UpdateFlow, WithoutAStagedImageTheWorkerRunsThenRemovalAndReturnConfirmOnce) {
  AcceptUpgrade();
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
  EXPECT_EQ(UpgradeRunning, 1);
  ASSERT_TRUE(WorkerEnds());
  EXPECT_EQ(Message(), "REMOVE WHEEL");
  EXPECT_EQ(ProgressPercent, 100);
  EXPECT_EQ(UpgradeRunning, 0);
  EXPECT_TRUE(SignedFlash());

  Frame();  // still plugged in: nothing changes
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
  EXPECT_EQ(Message(), "REMOVE WHEEL");

  Unplug();
  // Awaited back from the removal on, so that an arrival handled with it counts as the return.
  EXPECT_EQ(AppState, APP_UPDATE_WAIT_RETURN) << "a removal keeps the update screen";
  Frame();
  EXPECT_EQ(Message(), "REINSERT WHEEL");
  EXPECT_EQ(AppState, APP_UPDATE_WAIT_RETURN);
  Frame();
  EXPECT_EQ(AppState, APP_UPDATE_WAIT_RETURN);

  Plug();
  EXPECT_EQ(WheelFirmwareVersion, 0x0196);
  Frame();
  EXPECT_EQ(AppState, APP_MAIN_SCREEN);
  EXPECT_EQ(Message(), "");
  Frame();
  Frame();
  EXPECT_EQ(Confirmations(), 1u);
  ASSERT_EQ(dialogs.shown().size(), 2u);  // the prompt, then the confirmation
  EXPECT_EQ(dialogs.shown()[1].icon, MessageIcon::kInformation);
  EXPECT_EQ(dialogs.shown()[1].caption, "Corsaro270 Customiser");
}

TEST_F(UpdateFlow, AStagedImageIsClearedAndTheReplugStartsTheWorker) {
  receiver.LoadFlash(0x10000, kSignature, sizeof kSignature);
  AcceptUpgrade();
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
  EXPECT_EQ(Message(), "REMOVE WHEEL");
  EXPECT_EQ(UpgradeAfterReconnect, 1);
  EXPECT_EQ(UpgradeRunning, 1);
  EXPECT_FALSE(SignedFlash());
  EXPECT_FALSE(FirmwareUpgradeUsesLink()) << "no worker before the replug";

  Unplug();
  Frame();
  EXPECT_EQ(Message(), "REINSERT WHEEL");
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING) << "no upgrade has run yet";

  Plug();
  EXPECT_EQ(UpgradeAfterReconnect, 0);
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
  ASSERT_TRUE(WorkerEnds());
  EXPECT_EQ(Message(), "REMOVE WHEEL");
  EXPECT_TRUE(SignedFlash());
  Unplug();
  Frame();
  EXPECT_EQ(AppState, APP_UPDATE_WAIT_RETURN);
  Plug();
  Frame();
  EXPECT_EQ(AppState, APP_MAIN_SCREEN);
  EXPECT_EQ(Confirmations(), 1u);
}

TEST_F(UpdateFlow, AStagedImageThatCannotBeClearedShowsTheErrorPanel) {
  receiver.LoadFlash(0x10000, kSignature, sizeof kSignature);
  receiver.SetFaults({.onlyCode = 0x0F, .noReply = true});
  AcceptUpgrade();
  EXPECT_EQ(AppState, APP_UPDATE_FAILED);
  EXPECT_NE(LogText().find("ID clear - flash write error"), std::string::npos) << LogText();
  EXPECT_EQ(StateOverlays[APP_UPDATE_FAILED], DrawUpdateErrorPanel);
  Frame();
  EXPECT_EQ(AppState, APP_UPDATE_FAILED) << "state 11 has no step of its own";
}

TEST_F(UpdateFlow, RemovalDuringTheTransferWaitsForTheReceiverInStateNine) {
  receiver.SetFaults({.removeAfterReports = 1500});  // about half of the body's reports
  AcceptUpgrade();
  ASSERT_TRUE(MessageBecomes("Reprogramming firmware failed")) << Message();
  EXPECT_EQ(UpgradeRunning, 1);
  DisconnectReceiver();  // the removal's notice
  for (int frame = 0; frame < 3; ++frame) {
    Frame();
    EXPECT_EQ(Message(), "REINSERT WHEEL");
    EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
  }
  EXPECT_FALSE(SignedFlash());

  // Back in, still old: the prompt comes again and the user may retry.
  receiver.SetFaults({});
  Plug();
  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  Frame();
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
  ASSERT_TRUE(WorkerEnds());
  EXPECT_EQ(Message(), "REMOVE WHEEL");
}

TEST_F(UpdateFlow, AReceiverBackWithItsOldFirmwareGetsTheErrorPanelNotTheConfirmation) {
  receiver.SetExpectedBodyCrc(0x12345678);  // the receiver refuses the staged body on plug
  AcceptUpgrade();
  ASSERT_TRUE(WorkerEnds());
  Unplug();
  Frame();
  ASSERT_EQ(AppState, APP_UPDATE_WAIT_RETURN);
  Plug();
  EXPECT_EQ(WheelFirmwareVersion, 0x0180);
  const std::size_t before = dialogs.shown().size();
  Frame();
  EXPECT_EQ(AppState, APP_UPDATE_FAILED);
  EXPECT_EQ(Confirmations(), 0u);
  EXPECT_EQ(dialogs.shown().size(), before) << "the error panel comes before the prompt";
  // The next frame offers the retry.
  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  Frame();
  ASSERT_EQ(dialogs.shown().size(), before + 1);
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
}

TEST(UpdateOverlayLayout, PiecesFollowThePictureSize) {
  SkinRegion picture{};
  picture.w = 400;
  picture.h = 201;
  const UpdateOverlayLayout layout = LayOutUpdateOverlay(picture);
  // x0 = (1024 - 400) / 2 = 312, y0 = (580 - 201) / 2 - 50 = 139, bar y = 139 + 201 + 20 = 360.
  EXPECT_EQ(layout.frameX, 282);
  EXPECT_EQ(layout.frameY, 109);
  EXPECT_EQ(layout.frameW, 460);
  EXPECT_EQ(layout.frameH, 313);
  EXPECT_EQ(layout.pictureX, 312);
  EXPECT_EQ(layout.pictureY, 139);
  EXPECT_EQ(layout.barFrameX, 302);
  EXPECT_EQ(layout.barFrameY, 350);
  EXPECT_EQ(layout.barFrameW, 420);
  EXPECT_EQ(layout.barFrameH, 40);
  EXPECT_EQ(layout.barX, 312);
  EXPECT_EQ(layout.barY, 360);
  EXPECT_EQ(layout.barW, 400);
  EXPECT_EQ(layout.barH, 20);
  EXPECT_EQ(layout.messageX, 512);
  EXPECT_EQ(layout.messageY, 360);
}

TEST(UpdateOverlayLayout, TheBarFillsFourPixelsAPercent) {
  EXPECT_EQ(UpdateBarFill(0), 0);
  EXPECT_EQ(UpdateBarFill(1), 4);
  EXPECT_EQ(UpdateBarFill(50), 200);
  EXPECT_EQ(UpdateBarFill(99), 396);
  EXPECT_EQ(UpdateBarFill(100), 400);
  EXPECT_EQ(UpdateBarFill(-3), 0);
  EXPECT_EQ(UpdateBarFill(250), 400) << "never past the bar";
}

}  // namespace
