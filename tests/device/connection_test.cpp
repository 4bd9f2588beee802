#include "device/connection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/app_state.h"
#include "common/firmware_crc.h"
#include "device/connection_listener.h"
#include "device/firmware_version.h"
#include "device/hid_link.h"
#include "device/progress.h"
#include "device/virtual_receiver.h"
#include "device/wheel_protocol.h"
#include "firmware_assets.h"
#include "profile/factory_profiles.h"
#include "profile/headless_profile_controls.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"

namespace {

// Stands in for the screen: records what the connection tells it.
class RecordingListener final : public ConnectionListener {
 public:
  void SetControlsEnabled(int on) override { enableCalls.push_back(on); }
  void StartUpgradeWorker() override { ++workerStarts; }

  std::vector<int> enableCalls;
  int workerStarts = 0;
};

// What the shell's device-change function does with a notice.
void OnDeviceChange(int event, const char* path) {
  if (event == 0x8000 && !ReceiverConnected) ConnectReceiver(path);
  if (event == 0x8004 && ReceiverConnected) DisconnectReceiver();
}

const std::uint8_t kSignature[16] = {'O', 'R', 'M', 'I', 'C', '_', 'D', 'F', 'U'};

}  // namespace

class Connection : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.Add(&receiver);
    SetCurrentHidBackend(&backend);
    AppState = APP_NO_RECEIVER;
    StateBeforeUnplug = APP_MAIN_SCREEN;
    ReceiverConnected = 0;
    WheelFirmwareVersion = 0;
    FirmwareOutOfDate = 0;
    UpgradeAfterReconnect = 0;
    DfuSignaturePresent = 0;
    SetConnectionListener(&screen);
    InitProfileState();
    SetProfileControls(&controls);
  }
  void TearDown() override {
    DisconnectReceiver();
    SetProfileControls(nullptr);
    SetConnectionListener(nullptr);
    SetCurrentHidBackend(nullptr);
  }

  VirtualReceiver receiver;
  VirtualHidBackend backend;
  // The first angle of each profile's saved settings: 0 until the profile has been read.
  static std::vector<std::int32_t> SavedAngleA() {
    return {ProfileSettings[0].angleA, ProfileSettings[1].angleA, ProfileSettings[2].angleA};
  }

  RecordingListener screen;
  HeadlessProfileControls controls;
  const std::vector<int>& enableCalls = screen.enableCalls;
  const int& workerStarts = screen.workerStarts;
};

TEST_F(Connection, FreshReceiverShowsTheMainScreenWithFactoryProfiles) {
  ConnectReceiver(nullptr);
  ASSERT_NE(ReceiverLink, nullptr);
  EXPECT_EQ(ReceiverConnected, 1);
  EXPECT_EQ(WheelFirmwareVersion, 0x0196);
  EXPECT_EQ(AppState, APP_MAIN_SCREEN);
  EXPECT_EQ(FirmwareOutOfDate, 0);
  EXPECT_EQ(DfuSignaturePresent, 0);
  // All three records reached the controls' saved state: their angles 3000, 5500 and 6000.
  EXPECT_EQ(SavedAngleA(), (std::vector<std::int32_t>{3000, 5500, 6000}));
  EXPECT_EQ(enableCalls, std::vector<int>{1});
  for (int i = 0; i < kProfileCount; ++i) EXPECT_EQ(ProfileSet[i].bytes, FactoryProfiles[i].bytes);
}

TEST_F(Connection, FirmwareBelowTheCarriedVersionIsOutOfDate) {
  const struct {
    std::uint16_t version;
    std::uint8_t outOfDate;
  } cases[] = {{0x0195, 1}, {0x0196, 0}, {0x0200, 0}, {0x0000, 1}};
  for (const auto& c : cases) {
    FirmwareOutOfDate = 0;
    receiver.SetFirmwareVersion(c.version);
    ConnectReceiver(nullptr);
    EXPECT_EQ(FirmwareOutOfDate, c.outOfDate) << std::hex << c.version;
    EXPECT_EQ(WheelFirmwareVersion, c.version);
  }
}

TEST_F(Connection, NoReceiverLeavesTheNoReceiverScreen) {
  receiver.Unplug();
  ConnectReceiver(nullptr);
  EXPECT_EQ(ReceiverLink, nullptr);
  EXPECT_EQ(ReceiverConnected, 0);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
  EXPECT_EQ(SavedAngleA(), (std::vector<std::int32_t>{0, 0, 0}));
}

TEST_F(Connection, UnreadableVersionDisconnectsUntilTheReceiverAnswers) {
  receiver.SetFaults({.onlyCode = kCommandVersion, .noReply = true});
  ConnectReceiver(nullptr);
  EXPECT_EQ(ReceiverLink, nullptr);
  EXPECT_EQ(ReceiverConnected, 0);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);

  receiver.SetFaults({});
  receiver.Unplug();
  receiver.Plug();
  receiver.DeliverDeviceChanges(OnDeviceChange);
  EXPECT_EQ(ReceiverConnected, 1);
  EXPECT_EQ(AppState, APP_MAIN_SCREEN);
}

TEST_F(Connection, UnreadableProfilesKeepTheLinkOpenButNotConnected) {
  receiver.SetFaults({.onlyCode = kCommandReadMemory, .noReply = true});
  ConnectReceiver(nullptr);
  EXPECT_NE(ReceiverLink, nullptr);
  EXPECT_EQ(ReceiverConnected, 0);
  EXPECT_EQ(WheelFirmwareVersion, 0);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
  EXPECT_EQ(SavedAngleA(), (std::vector<std::int32_t>{0, 0, 0}));
}

TEST_F(Connection, RemovalSavesTheScreenAndReturnRestoresIt) {
  ConnectReceiver(nullptr);
  AppState = APP_PRESET_DIALOG;
  receiver.Unplug();
  receiver.DeliverDeviceChanges(OnDeviceChange);
  EXPECT_EQ(ReceiverLink, nullptr);
  EXPECT_EQ(ReceiverConnected, 0);
  EXPECT_EQ(WheelFirmwareVersion, 0);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
  EXPECT_EQ(StateBeforeUnplug, APP_PRESET_DIALOG);
  EXPECT_EQ(enableCalls, (std::vector<int>{1, 0}));

  receiver.Plug();
  receiver.DeliverDeviceChanges(OnDeviceChange);
  EXPECT_EQ(ReceiverConnected, 1);
  EXPECT_EQ(AppState, APP_PRESET_DIALOG);
}

TEST_F(Connection, TheNoReceiverStateIsNeverSavedAsTheOneToReturnTo) {
  DisconnectReceiver();
  EXPECT_EQ(StateBeforeUnplug, APP_MAIN_SCREEN);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
}

TEST_F(Connection, RemovalDuringAnUpdateLeavesTheUpdateScreen) {
  ConnectReceiver(nullptr);
  AppState = APP_UPDATE_RUNNING;
  UpgradeRunning = 1;  // the transfer still runs: no image is staged yet
  DisconnectReceiver();
  UpgradeRunning = 0;
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
  EXPECT_EQ(StateBeforeUnplug, APP_MAIN_SCREEN);
  EXPECT_EQ(ReceiverLink, nullptr);
  EXPECT_EQ(enableCalls, std::vector<int>{1}) << "the panels stay as the update screen left them";
}

TEST_F(Connection, ReturnWhileWaitingForTheUpdateKeepsTheUpdateState) {
  AppState = APP_UPDATE_WAIT_RETURN;
  ConnectReceiver(nullptr);
  EXPECT_EQ(ReceiverConnected, 1);
  EXPECT_EQ(AppState, APP_UPDATE_WAIT_RETURN);
  EXPECT_EQ(workerStarts, 0);
}

TEST_F(Connection, UpgradeAfterReconnectStartsTheWorker) {
  receiver.SetFirmwareVersion(0x0190);
  AppState = APP_UPDATE_RUNNING;
  UpgradeAfterReconnect = 1;
  ConnectReceiver(nullptr);
  EXPECT_EQ(AppState, APP_UPDATE_RUNNING);
  EXPECT_EQ(workerStarts, 1);
  EXPECT_EQ(UpgradeAfterReconnect, 0);
  EXPECT_EQ(FirmwareOutOfDate, 0) << "the upgrade is already under way";
}

TEST_F(Connection, StagedSignatureIsNoted) {
  receiver.LoadFlash(kDfuSignatureAddress, kSignature, sizeof kSignature);
  ConnectReceiver(nullptr);
  EXPECT_EQ(DfuSignaturePresent, 1);
  const std::uint8_t almost[16] = {'O', 'R', 'M', 'I', 'C', '_', 'D', 'F', 'X'};
  VirtualReceiver other("virtual:other");
  other.LoadFlash(kDfuSignatureAddress, almost, sizeof almost);
  backend.Add(&other);
  ConnectReceiver("virtual:other");
  EXPECT_EQ(DfuSignaturePresent, 0);
  DisconnectReceiver();  // before `other` goes away
}

TEST_F(Connection, ArrivalPathTriesTheArrivalProductIdFirst) {
  VirtualReceiver arrived("virtual:arrived", 0x0252);
  arrived.SetFirmwareVersion(0x0199);
  backend.Add(&arrived);
  ConnectReceiver("virtual:arrived");
  EXPECT_EQ(ReceiverConnected, 1);
  EXPECT_EQ(WheelFirmwareVersion, 0x0199);
  EXPECT_EQ(ReceiverLink->Path(), "virtual:arrived");
  ConnectReceiver("virtual:receiver");
  EXPECT_EQ(WheelFirmwareVersion, 0x0196);
  EXPECT_EQ(ReceiverLink->Path(), "virtual:receiver");
}

TEST_F(Connection, EveryConnectionEndsWithSyncAndAnEmptyQueue) {
  receiver.RecordRequests(true);
  ConnectReceiver(nullptr);
  const auto requests = receiver.RecordedRequests();
  ASSERT_GE(requests.size(), 4u);
  EXPECT_EQ(requests.front()[kPayloadCodeOffset], kCommandSync);
  EXPECT_EQ(requests[1][kPayloadCodeOffset], kCommandRadioState);
  EXPECT_EQ(requests[2][kPayloadCodeOffset], kCommandVersion);
  EXPECT_EQ(requests.back()[kPayloadCodeOffset], kCommandSync);
  std::uint8_t payload[kPayloadSize];
  ASSERT_NE(ReceiverLink, nullptr);
  EXPECT_FALSE(ReceiverLink->ReadReport(payload)) << "no stale reply left behind";
}

TEST(StagedImage, ValidImageIsInstalledOnReplug) {
  VirtualReceiver receiver;
  receiver.SetFirmwareVersion(0x0150);
  std::vector<std::uint8_t> body(kFirmwareBodyLength, 0x11);
  receiver.SetExpectedBodyCrc(FirmwareCrc(body.data(), body.size()));
  receiver.LoadFlash(kFirmwareBodyAddress, body.data(), kFirmwareBodyLength);
  receiver.LoadFlash(kDfuSignatureAddress, kSignature, sizeof kSignature);
  receiver.Unplug();
  receiver.Plug();
  EXPECT_EQ(receiver.FirmwareVersion(), 0x0196);
  std::uint8_t area[16];
  receiver.ReadFlash(kDfuSignatureAddress, area, sizeof area);
  for (std::uint8_t b : area) EXPECT_EQ(b, 0xFF);
}

TEST(StagedImage, TheCarriedImageWrittenOverTheLinkIsInstalled) {
  const auto image = firmware_assets::Get("firmware/firmware.bin");
  ASSERT_EQ(image.size(), 0xC000u);
  VirtualReceiver receiver;
  receiver.SetFirmwareVersion(0x0190);
  VirtualHidBackend backend;
  backend.Add(&receiver);
  HidLink link(backend);
  ASSERT_TRUE(link.OpenFirstReceiver());
  ASSERT_TRUE(EraseSectors(link, kUpgradeAreaAddress, kUpgradeAreaLength));
  ASSERT_TRUE(WriteMemory(link, kFirmwareBodyAddress, image.data() + 16, kFirmwareBodyLength));
  ASSERT_TRUE(WriteMemory(link, kDfuSignatureAddress, image.data(), kDfuSignatureSize));
  receiver.Unplug();
  receiver.Plug();
  EXPECT_EQ(receiver.FirmwareVersion(), 0x0196);
}

TEST(StagedImage, BodyWithTheWrongCrcIsNotInstalled) {
  VirtualReceiver receiver;
  receiver.SetFirmwareVersion(0x0150);
  receiver.SetExpectedBodyCrc(0x12345678);
  receiver.LoadFlash(kDfuSignatureAddress, kSignature, sizeof kSignature);
  receiver.Unplug();
  receiver.Plug();
  EXPECT_EQ(receiver.FirmwareVersion(), 0x0150);
  std::uint8_t area[9];
  receiver.ReadFlash(kDfuSignatureAddress, area, sizeof area);
  EXPECT_EQ(std::memcmp(area, kSignature, 9), 0);
}

TEST(VersionRules, FirmwareVersionIsShownAsTheAboutBoxShowsIt) {
  char text[16];
  FormatFirmwareVersion(0x0196, text, sizeof text);
  EXPECT_STREQ(text, "1.96");
  FormatFirmwareVersion(0x0201, text, sizeof text);
  EXPECT_STREQ(text, "2. 1");
  FormatFirmwareVersion(0, text, sizeof text);
  EXPECT_STREQ(text, "0. 0");
}

TEST(VersionRules, VersionsAreReadAsTheAboutBoxShowsThemOrAsNumbers) {
  const struct {
    const char* text;
    std::uint16_t version;
  } good[] = {{"1.96", 0x0196},   {"2.1", 0x0201}, {"a.ff", 0x0AFF},
              {"0x0196", 0x0196}, {"406", 0x0196}, {"0", 0}};
  for (const auto& c : good) {
    std::uint16_t version = 0xEEEE;
    EXPECT_TRUE(ParseFirmwareVersion(c.text, version)) << c.text;
    EXPECT_EQ(version, c.version) << c.text;
  }
  const char* bad[] = {"",     "1.", ".96",     "1.9z",  "1.100", "100.1", " 1.96", "+1.96",
                       "1.-5", "-1", "0x10000", "65536", "1.96x", "x",     "1..2"};
  for (const char* text : bad) {
    std::uint16_t version = 0xEEEE;
    EXPECT_FALSE(ParseFirmwareVersion(text, version)) << text;
    EXPECT_EQ(version, 0xEEEE) << text;
  }
  std::uint16_t version = 0;
  EXPECT_FALSE(ParseFirmwareVersion(nullptr, version));
}
