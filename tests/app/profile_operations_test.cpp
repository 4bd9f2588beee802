// Assign Setting, Clear Map and Reset to default from the profile bar, checked against the
// receiver's flash and the messages the user sees.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "device/receiver_lock.h"
#include "profile/profile_mapping.h"
#include "tests/app/editing_fixture.h"
#include "tests/support/profile_records.h"

namespace {

class ProfileOperations : public EditingTest {
 protected:
  std::vector<std::uint8_t> Sector() const { return FlashBytes(0xC000, 4096); }
  std::uint32_t Marker() const {
    const std::vector<std::uint8_t> bytes = FlashBytes(0xC000, 4);
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  }
  Record InMemory(int profile) const {
    Record record;
    std::copy(ProfileSet[profile].bytes.begin(), ProfileSet[profile].bytes.end(), record.begin());
    return record;
  }
  void ExpectNotice(std::size_t index, const std::string& text) {
    ASSERT_GT(dialogs.shown().size(), index);
    EXPECT_EQ(dialogs.shown()[index].icon, MessageIcon::kInformation);
    EXPECT_EQ(dialogs.shown()[index].caption, "Corsaro270 Customiser");
    EXPECT_EQ(dialogs.shown()[index].text, text);
  }
  void ExpectQuestion(std::size_t index, const std::string& text) {
    ASSERT_GT(dialogs.shown().size(), index);
    EXPECT_EQ(dialogs.shown()[index].icon, MessageIcon::kQuestion);
    EXPECT_EQ(dialogs.shown()[index].caption, "Corsaro270 Customiser");
    EXPECT_EQ(dialogs.shown()[index].text, text);
  }
  void SwitchTo(float discX) {
    Click(discX, kDiscY);
    FramesUntilMainScreen();
  }
};

constexpr const char* kWritten =
    "Wheel profile data has been written correctly\n\r \n\rYou may now disconnect your wheel.";
constexpr const char* kWriteFailed = "ERROR WRITING DATA TO WHEEL";

TEST_F(ProfileOperations, AssignWritesTheEditsOfEveryProfileAndTheMarkerLast) {
  // Profile 1: A onto control 5 (slot 14). Profile 3: B's label of control 5 moved to control 7
  // (slot 16), and the Rear Light off.
  DragFromTo(kTileAX, kTileAY, kControl5X, kControl5Y);
  SwitchTo(kDisc3X);
  DragFromTo(kLabel5X, kLabel5Y, kControl7X, kControl7Y);
  Click(kRearLightX, kBarY);
  SwitchTo(kDisc1X);
  Click(kAssignX, kBarY);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  ExpectNotice(0, kWritten);

  Record one = WrittenBack(FactoryRecord(0));
  PutSlot(one, 14, 12, 1);
  Record three = WrittenBack(FactoryRecord(2));
  PutSlot(three, 14, 0, 0);
  PutSlot(three, 16, 11, 1);
  three[0] = 0x0C;
  EXPECT_EQ(Sector(), ProfileSector(one, WrittenBack(FactoryRecord(1)), three));
  EXPECT_EQ(InMemory(0), one);
  EXPECT_EQ(InMemory(2), three);
}

// Cut after every number of reports a whole write takes: the marker never stands over a sector
// that is not complete, the user is told and the new records stay in memory.
TEST_F(ProfileOperations, AReceiverPulledHalfWayNeverHoldsTheMarkerOverAPartialSector) {
  DragFromTo(kTileAX, kTileAY, kControl5X, kControl5Y);
  Record one = WrittenBack(FactoryRecord(0));
  PutSlot(one, 14, 12, 1);
  const std::vector<std::uint8_t> complete =
      ProfileSector(one, WrittenBack(FactoryRecord(1)), WrittenBack(FactoryRecord(2)));

  const int start = receiver.RequestCount();
  Click(kAssignX, kBarY);
  const int whole = receiver.RequestCount() - start;
  ASSERT_EQ(Sector(), complete);
  ASSERT_GT(whole, 10);
  // From a receiver without profiles again, so that any marker found is the cut write's.
  const std::vector<std::uint8_t> erased(4096, 0xFF);
  receiver.LoadFlash(0xC000, erased.data(), 4096);
  Unplug();
  Plug();
  DragFromTo(kTileAX, kTileAY, kControl5X, kControl5Y);

  for (int cut = 0; cut < whole; ++cut) {
    SCOPED_TRACE("pulled after " + std::to_string(cut) + " reports");
    VirtualReceiverFaults faults;
    faults.removeAfterReports = receiver.RequestCount() + cut;
    receiver.SetFaults(faults);
    const std::size_t shown = dialogs.shown().size();
    Click(kAssignX, kBarY);
    ExpectNotice(shown, kWriteFailed);
    EXPECT_NE(Marker(), 0x98765432u);
    EXPECT_EQ(InMemory(0), one);
    receiver.SetFaults({});
    Unplug();
    // Back in, the receiver still holds no profiles, as when it was last read: the edit stays.
    Plug();
    ASSERT_EQ(AppState, 6);
    ASSERT_EQ(ControlActions[5], 0);
  }
  Click(kAssignX, kBarY);
  EXPECT_EQ(Sector(), complete);
}

TEST_F(ProfileOperations, AReceiverThatStopsAnsweringOrAnswersWronglyFailsTheWrite) {
  DragFromTo(kTileAX, kTileAY, kControl5X, kControl5Y);
  Record one = WrittenBack(FactoryRecord(0));
  PutSlot(one, 14, 12, 1);
  VirtualReceiverFaults silent;
  silent.noReply = true;
  VirtualReceiverFaults wrong;
  wrong.wrongCode = true;
  for (const VirtualReceiverFaults& faults : {silent, wrong}) {
    receiver.SetFaults(faults);
    const std::size_t shown = dialogs.shown().size();
    Click(kAssignX, kBarY);
    ExpectNotice(shown, kWriteFailed);
    EXPECT_NE(Marker(), 0x98765432u);
    EXPECT_EQ(InMemory(0), one) << "the records in memory keep the new content";
    receiver.SetFaults({});
  }
}

TEST_F(ProfileOperations, AnotherWriterHoldingTheReceiverFailsTheWriteAndSaysWhy) {
  std::string why;
  ReceiverLock other;
  ASSERT_TRUE(other.Acquire(ReceiverIdentity(kReceiverNode), 0, why)) << why;
  const int before = receiver.RequestCount();
  Click(kAssignX, kBarY);
  ExpectNotice(0, kWriteFailed);
  EXPECT_EQ(receiver.RequestCount(), before) << "nothing reached the receiver";
  EXPECT_NE(LogText().find("Assign Setting: nothing written:"), std::string::npos) << LogText();
  other.Release();
  Click(kAssignX, kBarY);
  ExpectNotice(1, kWritten);
}

TEST_F(ProfileOperations, AssignAsksBeforeWritingWhatItCouldNotBackUpAndNoWritesNothing) {
  Click(kAssignX, kBarY);  // the fresh receiver held nothing to keep
  ASSERT_EQ(dialogs.shown().size(), 1u);
  const std::vector<std::uint8_t> stored = Sector();
  // Where the backups would go is a file: no backup can be made.
  const std::string data = ::testing::TempDir() + "profile_operations_data";
  std::filesystem::remove_all(data);
  { std::ofstream(data) << "not a folder"; }
  const char* before = std::getenv("XDG_DATA_HOME");
  const std::string saved = before != nullptr ? before : "";
  setenv("XDG_DATA_HOME", data.c_str(), 1);

  DragFromTo(kTileAX, kTileAY, kControl5X, kControl5Y);
  dialogs.AnswerNextQuestion(MessageAnswer::kNo);
  Click(kAssignX, kBarY);
  const std::string question =
      "The profiles on the wheel could not be backed up (cannot make the "
      "folder " +
      data + "/corsaro270: Not a directory). Write anyway?";
  ASSERT_EQ(dialogs.shown().size(), 2u) << "after No nothing more is said";
  ExpectQuestion(1, question);
  EXPECT_TRUE(dialogs.shown()[1].defaultNo);
  EXPECT_EQ(Sector(), stored);

  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  Click(kAssignX, kBarY);
  ASSERT_EQ(dialogs.shown().size(), 4u);
  ExpectQuestion(2, question);
  ExpectNotice(3, kWritten);
  Record one = WrittenBack(FactoryRecord(0));
  PutSlot(one, 14, 12, 1);
  EXPECT_EQ(Sector(),
            ProfileSector(one, WrittenBack(FactoryRecord(1)), WrittenBack(FactoryRecord(2))));
  setenv("XDG_DATA_HOME", saved.c_str(), 1);
  std::filesystem::remove(data);
}

TEST_F(ProfileOperations, ClearMapEmptiesTheControlsAndKeepsLightsLevelAndHiddenSlots) {
  Click(kRearLightX, kBarY);
  Click(kHighDotX, kDotY);
  const std::int32_t hidden4 = ProfileActionRows[0][19];
  const std::int32_t hidden5 = ProfileActionRows[0][20];
  const Record stored = InMemory(0);

  Click(kClearX, kBarY);  // answered No
  ExpectQuestion(0, "Clear Current Profile Data?");
  EXPECT_EQ(ControlActions[5], 1);

  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  Click(kClearX, kBarY);
  ExpectQuestion(1, "Clear Current Profile Data?");
  for (int control = 0; control < 19; ++control) {
    EXPECT_EQ(ControlActions[control], -1) << control;
    EXPECT_EQ(ControlLabelRect[control].left, -1) << control;
    EXPECT_EQ(ProfileActionRows[0][control], -1) << control;
  }
  EXPECT_EQ(ProfileActionRows[0][19], hidden4);
  EXPECT_EQ(ProfileActionRows[0][20], hidden5);
  EXPECT_FALSE(RearLightCheck->checked);
  EXPECT_TRUE(FrontLightCheck->checked);
  EXPECT_TRUE(LevelHighCheck->checked);
  EXPECT_DOUBLE_EQ(AngleSlider->angle1, 0);
  EXPECT_DOUBLE_EQ(AngleSlider->angle2, 135);
  EXPECT_EQ(InMemory(0), stored) << "the record changes only at Save or Assign Setting";

  Click(kAssignX, kBarY);
  Record cleared = FactoryRecord(0);
  for (int slot = 6; slot < 25; ++slot) PutSlot(cleared, slot, 0, 0);
  cleared[0] = 0x0C;
  cleared[88] = cleared[89] = cleared[90] = cleared[91] = 0;  // angleA 0
  cleared[92] = 0xFF;                                         // angleB 32767
  cleared[93] = 0x7F;
  cleared[96] = cleared[97] = 0x7F;  // High
  EXPECT_EQ(InMemory(0), cleared);
}

TEST_F(ProfileOperations, ResetRestoresTheFactoryRecordOfTheCurrentProfileOnly) {
  // Edits in profile 1 (captured by the switch) and profile 2 (on screen).
  DragFromTo(kTileAX, kTileAY, kControl5X, kControl5Y);
  SwitchTo(kDisc2X);
  DragFromTo(kTileAX, kTileAY, kControl7X, kControl7Y);
  ProfileSet[1].bytes[1] = 0x55;  // a kept byte, to see the record replaced
  Click(kResetX, kBarY);
  ExpectQuestion(0, "Reset Profile Data To Factory Default Setting?");
  EXPECT_EQ(ControlActions[7], 0) << "answered No";

  dialogs.AnswerNextQuestion(MessageAnswer::kYes);
  Click(kResetX, kBarY);
  ASSERT_EQ(dialogs.shown().size(), 2u) << "no message after the reset";
  EXPECT_EQ(InMemory(1), FactoryRecord(1));
  EXPECT_EQ(ControlActions[7], 3) << "factory profile 2 holds Y on control 7 (slot 16, code 9)";
  EXPECT_EQ(ProfileActionRows[0][5], 0) << "profile 1's captured edit is untouched";
  SwitchTo(kDisc1X);
  SwitchTo(kDisc2X);
  EXPECT_EQ(ControlActions[7], 3);
  EXPECT_NE(Marker(), 0x98765432u) << "the receiver is written only by Assign Setting";
}

}  // namespace
