// Profile records into the working state and back, and the working state onto the widgets: what
// a user sees of a record and what is written back when it is saved or assigned.
#include "profile/profile_mapping.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "common/app_state.h"
#include "profile/factory_profiles.h"
#include "profile/profile_controls.h"
#include "profile/profile_set.h"
#include "profile/profile_state.h"

namespace {

// The widgets as the mapping sees them, kept in plain values.
class FakeControls final : public ProfileControls {
 public:
  bool Checked(ProfileCheck check) const override { return checks[static_cast<int>(check)]; }
  void SetChecked(ProfileCheck check, bool on) override { checks[static_cast<int>(check)] = on; }
  void SliderAngles(double* a, double* b) const override {
    *a = angle1;
    *b = angle2;
  }
  void SetSliderAngles(double a, double b) override {
    angle1 = a;
    angle2 = b;
    ++sliderMoves;
  }

  bool Rear() const { return Checked(ProfileCheck::kRearLight); }
  bool Front() const { return Checked(ProfileCheck::kFrontLight); }
  // Which level dots are checked, as "LMH" with '-' for an unchecked dot.
  std::string Dots() const {
    return std::string(1, Checked(ProfileCheck::kLow) ? 'L' : '-') +
           (Checked(ProfileCheck::kMed) ? 'M' : '-') + (Checked(ProfileCheck::kHigh) ? 'H' : '-');
  }

  bool checks[5] = {};
  double angle1 = -1;
  double angle2 = -1;
  int sliderMoves = 0;
};

// Slot bytes of a record: the code at 8 + s, the little-endian parameter at 36 + 2s.
void PutSlot(WheelProfile& record, int slot, std::uint8_t code, std::int16_t param) {
  record.bytes[8 + slot] = code;
  record.bytes[36 + 2 * slot] = static_cast<std::uint8_t>(param & 0xFF);
  record.bytes[37 + 2 * slot] = static_cast<std::uint8_t>((param >> 8) & 0xFF);
}
int Code(const WheelProfile& record, int slot) {
  return record.bytes[8 + slot];
}
int Param(const WheelProfile& record, int slot) {
  return static_cast<std::int16_t>(record.bytes[36 + 2 * slot] | record.bytes[37 + 2 * slot] << 8);
}

class ProfileMapping : public ::testing::Test {
 protected:
  void SetUp() override {
    AppState = APP_MAIN_SCREEN;
    CurrentProfile = 0;
    for (int p = 0; p < 3; ++p) ProfileSet[p] = FactoryProfiles[p];
    InitProfileState();
    SetProfileControls(&controls);
  }
  void TearDown() override {
    SetProfileControls(nullptr);
    AppState = APP_NO_RECEIVER;
    CurrentProfile = 0;
    for (WheelProfile& record : ProfileSet) record = {};
  }

  // What a receiver read does.
  static void ReadAll() {
    for (int p = 0; p < 3; ++p) ProfileToControls(p);
  }
  // What Assign Setting does: capture the shown profile, write all three back.
  static void AssignAll() {
    ShowProfile(CurrentProfile, true);
    for (int p = 0; p < 3; ++p) ControlsToProfile(p);
  }
  // Record 1 shown and written back through the working state, as a Save does.
  static WheelProfile RoundTrip(const WheelProfile& record) {
    ProfileSet[0] = record;
    ProfileToControls(0);
    ShowProfile(0, true);
    ControlsToProfile(0);
    return ProfileSet[0];
  }

  FakeControls controls;
};

TEST_F(ProfileMapping, FactoryProfilesComeBackByteForByte) {
  ReadAll();
  AssignAll();
  EXPECT_EQ(ProfileSet[1].bytes, FactoryProfiles[1].bytes);
  EXPECT_EQ(ProfileSet[2].bytes, FactoryProfiles[2].bytes);
  // Profile 1 differs in one place only: its slot 23 holds code 18 with -32768, which reads as
  // the anticlockwise wheel and is written back as -32767.
  WheelProfile expected = FactoryProfiles[0];
  ASSERT_EQ(expected.bytes[82], 0x00);
  ASSERT_EQ(expected.bytes[83], 0x80);
  expected.bytes[82] = 0x01;
  EXPECT_EQ(ProfileSet[0].bytes, expected.bytes);
}

TEST_F(ProfileMapping, FactoryProfileOneShowsItsActionsLightsAndLevel) {
  ReadAll();
  // Controls 0..18 edit slots 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 22, 21, 20, 23, 24, 6,
  // 7, 8; their codes in profile 1 are 6, 5, 8, 7, 12, 11, 10, 9, 15, 16, 2, 1, 17, 14, 18 (-),
  // 18 (+), 11, 10, 12.
  const int expected[19] = {6, 7, 4, 5, 0, 1, 2, 3, 8, 9, 10, 13, 12, 11, 15, 16, 1, 2, 0};
  for (int control = 0; control < 19; ++control) {
    EXPECT_EQ(ControlActions[control], expected[control]) << control;
  }
  EXPECT_EQ(ProfileActionRows[0][19], 9) << "slot 4: code 16";
  EXPECT_EQ(ProfileActionRows[0][20], 12) << "slot 5: code 17";
  EXPECT_TRUE(controls.Rear());
  EXPECT_TRUE(controls.Front());
  EXPECT_EQ(controls.Dots(), "-M-");
  EXPECT_DOUBLE_EQ(controls.angle1, 3000 / 242.71851851851852);
  EXPECT_DOUBLE_EQ(controls.angle2, 135.0);
  EXPECT_EQ(ControlLabelRect[0].left, 82 - 18 - 27);
}

TEST_F(ProfileMapping, HiddenSlotsComeBackWithTheirCodeAndParameterZero) {
  PutSlot(ProfileSet[0], 4, 16, 255);
  PutSlot(ProfileSet[0], 5, 18, -32768);
  PutSlot(ProfileSet[1], 4, 22, 384);
  PutSlot(ProfileSet[1], 5, 3, 7);  // not a code of the table
  PutSlot(ProfileSet[2], 4, 2, -1);
  ReadAll();
  // Switching back and forth does not mix the hidden slots of the profiles.
  ShowProfile(1, true);
  ShowProfile(2, true);
  ShowProfile(0, true);
  for (int p = 0; p < 3; ++p) ControlsToProfile(p);
  EXPECT_EQ(Code(ProfileSet[0], 4), 16);
  EXPECT_EQ(Param(ProfileSet[0], 4), 0);
  EXPECT_EQ(Code(ProfileSet[0], 5), 18);
  EXPECT_EQ(Param(ProfileSet[0], 5), 0);
  EXPECT_EQ(Code(ProfileSet[1], 4), 22);
  EXPECT_EQ(Param(ProfileSet[1], 4), 0);
  EXPECT_EQ(Code(ProfileSet[1], 5), 0);
  EXPECT_EQ(Param(ProfileSet[1], 5), 0);
  EXPECT_EQ(Code(ProfileSet[2], 4), 2);
  EXPECT_EQ(Param(ProfileSet[2], 4), 0);
  EXPECT_EQ(Code(ProfileSet[2], 5), 17);
  EXPECT_EQ(Param(ProfileSet[2], 5), 0);
}

TEST_F(ProfileMapping, OnlyTheSignOfAnAxisParameterCounts) {
  WheelProfile record = FactoryProfiles[0];
  PutSlot(record, 9, 18, -32768);  // control 0
  PutSlot(record, 10, 21, 0);      // control 1
  PutSlot(record, 11, 21, -1);     // control 2
  PutSlot(record, 12, 20, 0);      // control 3
  PutSlot(record, 13, 20, -5);     // control 4
  PutSlot(record, 14, 18, 0);      // control 5
  const WheelProfile back = RoundTrip(record);
  EXPECT_EQ(ControlActions[0], 15) << "wheel anticlockwise";
  EXPECT_EQ(ControlActions[1], 19) << "stick up";
  EXPECT_EQ(ControlActions[2], 20) << "stick down";
  EXPECT_EQ(ControlActions[3], 18) << "stick right";
  EXPECT_EQ(ControlActions[4], 17) << "stick left";
  EXPECT_EQ(ControlActions[5], 16) << "wheel clockwise";
  const int written[6][2] = {{18, -32767}, {21, 32767},  {21, -32767},
                             {20, 32767},  {20, -32767}, {18, 32767}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Code(back, 9 + i), written[i][0]) << "slot " << 9 + i;
    EXPECT_EQ(Param(back, 9 + i), written[i][1]) << "slot " << 9 + i;
  }
}

TEST_F(ProfileMapping, CodesOutsideTheTablesShowNothingAndAreWrittenAsZero) {
  for (int code : {0, 3, 4, 13, 19, 23, 255}) {
    WheelProfile record = FactoryProfiles[0];
    PutSlot(record, 9, static_cast<std::uint8_t>(code), 1);   // control 0
    PutSlot(record, 8, static_cast<std::uint8_t>(code), -9);  // control 18
    const WheelProfile back = RoundTrip(record);
    EXPECT_EQ(ControlActions[0], -1) << code;
    EXPECT_EQ(ControlActions[18], -1) << code;
    EXPECT_EQ(ControlLabelRect[0].left, -1) << code;
    EXPECT_EQ(Code(back, 9), 0) << code;
    EXPECT_EQ(Param(back, 9), 0) << code;
    EXPECT_EQ(Code(back, 8), 0) << code;
    EXPECT_EQ(Param(back, 8), 0) << code;
    // Slots 0..3 and every byte that is not edited stay as loaded.
    for (int i : {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 33, 34,
                  35, 36, 37, 38, 39, 40, 41, 42, 43, 86, 87, 98, 99}) {
      EXPECT_EQ(back.bytes[i], record.bytes[i]) << "byte " << i << ", code " << code;
    }
  }
}

TEST_F(ProfileMapping, TheLevelShowsAsARangeAndIsWrittenAsItsChoice) {
  const struct {
    std::uint8_t high, low;
    const char* dots;
    std::uint8_t writtenHigh, writtenLow;
  } cases[] = {
      {0x00, 0x00, "L--", 0x00, 0x00}, {0x00, 0x01, "-M-", 0x40, 0x40},
      {0x40, 0x40, "-M-", 0x40, 0x40}, {0x40, 0x41, "--H", 0x7F, 0x7F},
      {0x80, 0x00, "--H", 0x7F, 0x7F}, {0xFF, 0xFF, "--H", 0x7F, 0x7F},
  };
  for (const auto& c : cases) {
    WheelProfile record = FactoryProfiles[0];
    record.bytes[96] = c.high;
    record.bytes[97] = c.low;
    ProfileSet[0] = record;
    ProfileToControls(0);
    EXPECT_EQ(controls.Dots(), c.dots) << int(c.high) << " " << int(c.low);
    // Written back without being captured, and again after a capture.
    ControlsToProfile(0);
    EXPECT_EQ(ProfileSet[0].bytes[96], c.writtenHigh);
    EXPECT_EQ(ProfileSet[0].bytes[97], c.writtenLow);
    const WheelProfile back = RoundTrip(record);
    EXPECT_EQ(back.bytes[96], c.writtenHigh);
    EXPECT_EQ(back.bytes[97], c.writtenLow);
  }
}

TEST_F(ProfileMapping, LightsReplaceOnlyTheLowNibble) {
  WheelProfile record = FactoryProfiles[0];
  record.bytes[0] = 0xA1;
  ProfileSet[0] = record;
  ProfileToControls(0);
  EXPECT_TRUE(controls.Rear());
  EXPECT_FALSE(controls.Front());
  controls.SetChecked(ProfileCheck::kRearLight, false);
  ShowProfile(0, true);
  ControlsToProfile(0);
  EXPECT_EQ(ProfileSet[0].bytes[0], 0xA0);

  controls.SetChecked(ProfileCheck::kRearLight, true);
  controls.SetChecked(ProfileCheck::kFrontLight, true);
  ShowProfile(0, true);
  ControlsToProfile(0);
  EXPECT_EQ(ProfileSet[0].bytes[0], 0xAF);

  // Not captured: the record's own nibble goes back as it came.
  ProfileSet[1] = record;
  ProfileToControls(1);
  ControlsToProfile(1);
  EXPECT_EQ(ProfileSet[1].bytes[0], 0xA1);
}

TEST_F(ProfileMapping, AnglesAreLimitedOnScreenButKeptUntilTheSliderMoves) {
  WheelProfile record = FactoryProfiles[0];
  record.bytes[88] = 0x40;  // angleA 40000 = 0x9C40
  record.bytes[89] = 0x9C;
  record.bytes[92] = 0xFB;  // angleB -5
  record.bytes[93] = 0xFF;
  record.bytes[94] = 0xFF;
  record.bytes[95] = 0xFF;
  const WheelProfile back = RoundTrip(record);
  EXPECT_DOUBLE_EQ(controls.angle1, 135.0);
  EXPECT_DOUBLE_EQ(controls.angle2, 0.0);
  EXPECT_EQ(back.bytes[88], 0x40);
  EXPECT_EQ(back.bytes[89], 0x9C);
  EXPECT_EQ(back.bytes[92], 0xFB);
  EXPECT_EQ(back.bytes[95], 0xFF);

  // The slider read back: 135 degrees are 32767 units, 12.5 degrees 3033.98... truncated.
  controls.angle1 = 135.0;
  controls.angle2 = 12.5;
  SliderToSettings(true, false);
  EXPECT_EQ(WorkingSettings.angleA, 32767);
  EXPECT_EQ(WorkingSettings.angleB, 3033);
  ShowProfile(0, true);
  ControlsToProfile(0);
  EXPECT_EQ(ProfileSet[0].bytes[88], 0xFF);
  EXPECT_EQ(ProfileSet[0].bytes[89], 0x7F);
  EXPECT_EQ(ProfileSet[0].bytes[92], 0xD9);  // 3033 = 0x0BD9
  EXPECT_EQ(ProfileSet[0].bytes[93], 0x0B);
}

TEST_F(ProfileMapping, TheSliderFollowsOnlyOnTheMainScreenUnlessForced) {
  AppState = APP_NO_RECEIVER;
  ReadAll();
  EXPECT_EQ(controls.sliderMoves, 0);
  SliderToSettings(false, false);
  EXPECT_EQ(controls.sliderMoves, 0);
  SliderToSettings(false, true);
  EXPECT_EQ(controls.sliderMoves, 1);
  EXPECT_DOUBLE_EQ(controls.angle1, 3000 / 242.71851851851852);
  EXPECT_DOUBLE_EQ(controls.angle2, 135.0);
  AppState = APP_MAIN_SCREEN;
  SliderToSettings(false, false);
  EXPECT_EQ(controls.sliderMoves, 2);
}

TEST_F(ProfileMapping, SwitchingAwayAndBackKeepsEdits) {
  ReadAll();
  ControlActions[0] = 3;  // Y onto the pad's left segment
  controls.SetChecked(ProfileCheck::kRearLight, false);
  controls.SetChecked(ProfileCheck::kMed, false);
  controls.SetChecked(ProfileCheck::kHigh, true);
  ShowProfile(1, true);
  EXPECT_EQ(ShownProfile, 1);
  EXPECT_EQ(ControlActions[0], 6) << "profile 2 shows its own";
  EXPECT_TRUE(controls.Rear());
  EXPECT_EQ(controls.Dots(), "-M-");
  ShowProfile(0, true);
  EXPECT_EQ(ControlActions[0], 3);
  EXPECT_FALSE(controls.Rear());
  EXPECT_EQ(controls.Dots(), "--H");
  EXPECT_EQ(ProfileSettings[0].lightFlags, 0x0C);
  EXPECT_EQ(ProfileSettings[0].level, 0x7F7F);
  EXPECT_EQ(ProfileSet[0].bytes, FactoryProfiles[0].bytes) << "the record learns at a save";
}

TEST_F(ProfileMapping, ReadingARecordDropsTheShownProfilesUncapturedEdits) {
  ReadAll();
  ControlActions[0] = 3;
  ShowProfile(0, true);  // captured, as a save does
  ControlActions[0] = 5;
  controls.SetChecked(ProfileCheck::kFrontLight, false);
  ProfileToControls(2);
  EXPECT_EQ(ShownProfile, 0) << "the current profile is shown again";
  EXPECT_EQ(ControlActions[0], 3) << "as last captured";
  EXPECT_TRUE(controls.Front());

  CurrentProfile = 1;
  ProfileToControls(0);
  EXPECT_EQ(ShownProfile, 1);
}

TEST_F(ProfileMapping, HiddenEntriesAreNeverCopiedByShowProfile) {
  ReadAll();
  ControlActions[19] = 7;
  ControlActions[20] = 7;
  ShowProfile(1, true);
  EXPECT_EQ(ProfileActionRows[0][19], 9);
  EXPECT_EQ(ProfileActionRows[0][20], 12);
  EXPECT_EQ(ControlActions[19], 7);
}

TEST_F(ProfileMapping, SteeringBoostComesOnlyFromARecord) {
  WheelProfile record = FactoryProfiles[0];
  PutSlot(record, 9, 22, 384);  // control 0, label on the left of (82, 256)
  const WheelProfile back = RoundTrip(record);
  EXPECT_EQ(ControlActions[0], 14);
  EXPECT_EQ(ControlLabelRect[0].left, -77);
  EXPECT_EQ(ControlLabelRect[0].top, 242);
  EXPECT_EQ(ControlLabelRect[0].right, 64);
  EXPECT_EQ(ControlLabelRect[0].bottom, 269);
  EXPECT_EQ(Code(back, 9), 22);
  EXPECT_EQ(Param(back, 9), 384);
}

TEST_F(ProfileMapping, EveryCodeInEverySlotStaysInsideTheTables) {
  for (int code = 0; code < 256; ++code) {
    for (std::int16_t param : {-32768, -1, 0, 1, 255, 32767}) {
      WheelProfile record = FactoryProfiles[2];
      for (int slot = 4; slot < 25; ++slot)
        PutSlot(record, slot, static_cast<std::uint8_t>(code), param);
      const WheelProfile back = RoundTrip(record);
      for (int entry = 0; entry < 21; ++entry) {
        ASSERT_GE(ControlActions[entry], -1);
        ASSERT_LE(ControlActions[entry], 20);
        ASSERT_GE(ProfileActionRows[0][entry], -1);
        ASSERT_LE(ProfileActionRows[0][entry], 20);
      }
      const bool known = ControlActions[0] != -1;
      for (int slot = 4; slot < 25; ++slot) {
        ASSERT_EQ(Code(back, slot), known ? code : 0) << code << " slot " << slot;
      }
      for (int i = 0; i < 36; ++i) {
        if (i >= 12 && i < 33) continue;  // codes of slots 4..24
        ASSERT_EQ(back.bytes[i], record.bytes[i]) << "byte " << i << ", code " << code;
      }
    }
  }
}

TEST_F(ProfileMapping, InitialStateIsEmpty) {
  ReadAll();
  InitProfileState();
  for (int p = 0; p < 3; ++p) {
    for (int entry = 0; entry < 21; ++entry) EXPECT_EQ(ProfileActionRows[p][entry], -1);
    EXPECT_EQ(ProfileSettings[p].angleA, 0);
    EXPECT_EQ(ProfileSettings[p].angleB, 32767);
    EXPECT_EQ(ProfileSettings[p].level, 0);
    EXPECT_EQ(ProfileSettings[p].lightFlags, 0);
  }
  for (int control = 0; control < 19; ++control) {
    EXPECT_EQ(ControlActions[control], -1);
    EXPECT_EQ(ControlLabelRect[control].left, -1);
    EXPECT_EQ(ControlLabelRect[control].bottom, -1);
  }
}

}  // namespace
