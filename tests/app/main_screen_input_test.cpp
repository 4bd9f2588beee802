// The built main screen as the receiver comes and goes and as the user clicks without one:
// device notices go through DeviceChangeFunc and the wheel link's own connection, clicks through
// the frame function's no-receiver handler.
#include <cstring>

#include "app/main_screen_drawing.h"
#include "tests/app/main_screen_fixture.h"
#include "ui/radio_group.h"

namespace {

// A flash whose profile sector holds the marker 0x98765432 and three records: the first with
// Rear Light only, level High (0x8000), angleA 5000 and angleB 24272 (100 degrees), the others
// zero.
void StoreProfiles(VirtualReceiver& receiver) {
  std::uint8_t sector[0x180];
  std::memset(sector, 0xFF, sizeof sector);
  const std::uint8_t marker[4] = {0x32, 0x54, 0x76, 0x98};
  std::memcpy(sector, marker, 4);
  for (int record = 0; record < 3; ++record) std::memset(sector + 0x10 + record * 0x80, 0, 100);
  std::uint8_t* first = sector + 0x10;
  first[0] = 0x03;
  first[88] = 0x88;  // 5000 = 0x1388
  first[89] = 0x13;
  first[92] = 0xD0;  // 24272 = 0x5ED0
  first[93] = 0x5E;
  first[96] = 0x80;
  receiver.LoadFlash(0xC000, sector, sizeof sector);
}

class MainScreenInput : public MainScreenTest {
 protected:
  // A click as the frame loop sees it: a press frame, then a release frame.
  bool Click(float x, float y) {
    Press(x, y);
    bool end = Frame();
    Release(x, y);
    return Frame() || end;
  }

  // Whether the panel's first control (the first member, for a radio group) takes input.
  static bool Enabled(UIPanel* panel) {
    const UIBase* control = panel->first;
    if (control != nullptr && control->kind == KIND_RADIO_GROUP) {
      control = static_cast<const UIRadioGroup*>(control)->first;
    }
    return control != nullptr && control->enabled;
  }
};

TEST_F(MainScreenInput, TheArrivingReceiversProfileAppearsAndThePanelsWake) {
  StoreProfiles(receiver);
  ASSERT_FALSE(Enabled(ProfileBarPanel));
  Plug();
  ASSERT_EQ(ReceiverConnected, 1);
  EXPECT_EQ(AppState, APP_MAIN_SCREEN);
  EXPECT_TRUE(Enabled(ProfileBarPanel));
  EXPECT_TRUE(Enabled(ProfileSelectionPanel));
  EXPECT_TRUE(RearLightCheck->checked);
  EXPECT_FALSE(FrontLightCheck->checked);
  EXPECT_FALSE(LevelLowCheck->checked);
  EXPECT_FALSE(LevelMedCheck->checked);
  EXPECT_TRUE(LevelHighCheck->checked);
  EXPECT_DOUBLE_EQ(AngleSlider->angle1, 5000 / 242.71851851851852);
  EXPECT_DOUBLE_EQ(AngleSlider->angle2, 24272 / 242.71851851851852);
  EXPECT_EQ(ControlActions[0], -1) << "an empty record maps nothing";
}

TEST_F(MainScreenInput, SetControlsEnabledOnlyBelowTheUpdateStates) {
  Plug();
  for (int state :
       {APP_UPDATE_REQUESTED, APP_UPDATE_RUNNING, APP_UPDATE_WAIT_RETURN, APP_UPDATE_FAILED}) {
    AppState = state;
    SetControlsEnabled(0);
    EXPECT_EQ(AppState, state);
    EXPECT_TRUE(Enabled(ProfileBarPanel)) << state;
  }
  AppState = APP_PRESET_DIALOG;
  SetControlsEnabled(0);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
  EXPECT_EQ(StateBeforeUnplug, APP_PRESET_DIALOG);
  SetControlsEnabled(0);  // the no-receiver state is never the one to return to
  EXPECT_EQ(StateBeforeUnplug, APP_PRESET_DIALOG);
  SetControlsEnabled(2);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
  EXPECT_FALSE(Enabled(ProfileBarPanel));
  AngleSlider->SetAngles(1, 2);
  SetControlsEnabled(1);
  EXPECT_EQ(AppState, APP_PRESET_DIALOG);
  EXPECT_TRUE(Enabled(ProfileBarPanel));
  EXPECT_DOUBLE_EQ(AngleSlider->angle2, 135) << "forced, though not on the main screen";
}

TEST_F(MainScreenInput, WithoutAReceiverOnlyTheWindowButtonsReact) {
  // The about button, a click in its middle.
  EXPECT_FALSE(Click(1002, 76));
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(dialogs.shown()[0].caption, "Corsaro270 Customiser");
  EXPECT_EQ(dialogs.shown()[0].text,
            "PC Software v1.3\n\rInternal Firmware v1.96\n\rWheel Firmware v0. 0            "
            "\n\rBuild Date - Jun 26 2012\n\r");
  // The support button.
  EXPECT_FALSE(Click(30, 36));
  ASSERT_EQ(opened().size(), 1u);
  EXPECT_EQ(opened()[0], "http://www.corsaro270.example/help");
  // Minimise (the off-screen driver has no minimised state to show): the program goes on.
  EXPECT_FALSE(Click(1002, 48));
  // Load, a profile disc, the slider's handle and a level dot do nothing.
  const UIBase* disc2 = static_cast<const UIRadioGroup*>(ProfileSelectionPanel->first)->first->next;
  ASSERT_EQ(disc2->id, 22);
  EXPECT_FALSE(Click(595, 35));
  EXPECT_FALSE(Click(870, 35));
  EXPECT_FALSE(Click(607, 537));
  EXPECT_FALSE(static_cast<const UICheck*>(disc2)->checked);
  EXPECT_TRUE(LevelLowCheck->checked);
  EXPECT_FALSE(LevelMedCheck->checked);
  EXPECT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(AppState, APP_NO_RECEIVER);
  // Close ends the program on the frame of the release.
  Press(1002, 20);
  EXPECT_FALSE(Frame());
  Release(1002, 20);
  EXPECT_TRUE(Frame());
  EXPECT_TRUE(QuitRequested);
}

TEST_F(MainScreenInput, TheWindowButtonsCallbackActsOnlyWithUserValueZero) {
  UIBase* about = WindowButtonsPanel->first->next;  // created 1, 2, 4, 3: the list is 3, 4, 2, 1
  ASSERT_EQ(about->id, 4);
  about->callback(about, EVENT_CLICKED, 1);
  EXPECT_TRUE(dialogs.shown().empty());
  about->callback(about, EVENT_CLICKED, 0);
  EXPECT_EQ(dialogs.shown().size(), 1u);
  UIBase* close = about->next->next;
  ASSERT_EQ(close->id, 1);
  close->callback(close, EVENT_CLICKED, 7);
  EXPECT_FALSE(QuitRequested);
}

}  // namespace
