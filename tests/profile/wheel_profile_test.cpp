#include "profile/wheel_profile.h"

#include <gtest/gtest.h>

#include "profile/action_codes.h"
#include "profile/factory_profiles.h"

TEST(FactoryProfiles, DecodeToTheDocumentedSettings) {
  const std::int32_t angleA[kProfileCount] = {3000, 5500, 6000};
  const struct {
    std::uint8_t code;
    std::int16_t param;
  } sharedSlots[6] = {{3, 1}, {13, 1}, {4, 1}, {18, 0}, {16, 0}, {17, 0}};
  for (int p = 0; p < kProfileCount; ++p) {
    const WheelProfile& profile = FactoryProfiles[p];
    EXPECT_TRUE(RearLightOn(profile)) << p;
    EXPECT_TRUE(FrontLightOn(profile)) << p;
    EXPECT_EQ(LevelWord(profile), kLevelMed) << p;
    EXPECT_EQ(AngleA(profile), angleA[p]) << p;
    EXPECT_EQ(AngleB(profile), 32767) << p;
    for (int s = 0; s < 6; ++s) {
      EXPECT_EQ(SlotCode(profile, s), sharedSlots[s].code) << p << " slot " << s;
      EXPECT_EQ(SlotParam(profile, s), sharedSlots[s].param) << p << " slot " << s;
    }
    const std::uint8_t kept[8] = {0x0F, 0x04, 0x05, 0x17, 0x18, 0x00, 0x00, 0x00};
    for (int b = 0; b < 8; ++b) EXPECT_EQ(profile.bytes[b], kept[b]) << p << " byte " << b;
  }
  // Spot checks against the hex rows: the parameters of code 18 slots and the level bytes.
  EXPECT_EQ(SlotParam(FactoryProfiles[0], 23), -32768);
  EXPECT_EQ(SlotParam(FactoryProfiles[1], 17), -32767);
  EXPECT_EQ(FactoryProfiles[2].bytes[28], 0x14);
  EXPECT_EQ(FactoryProfiles[2].bytes[96], 0x40);
}

TEST(WheelProfileFields, LevelIsReadAsARangeAndWrittenExactly) {
  EXPECT_EQ(LevelFromWord(0x0000), Level::kLow);
  EXPECT_EQ(LevelFromWord(0x0001), Level::kMed);
  EXPECT_EQ(LevelFromWord(0x4040), Level::kMed);
  EXPECT_EQ(LevelFromWord(0x4041), Level::kHigh);
  EXPECT_EQ(LevelFromWord(0x8000), Level::kHigh);
  WheelProfile profile{};
  SetLevel(profile, Level::kHigh);
  EXPECT_EQ(profile.bytes[96], 0x7F);
  EXPECT_EQ(profile.bytes[97], 0x7F);
  profile.bytes[96] = 0x00;
  profile.bytes[97] = 0x01;  // big-endian: 0x0001
  EXPECT_EQ(LevelWord(profile), 0x0001);
  SetLevel(profile, LevelFromWord(LevelWord(profile)));
  EXPECT_EQ(LevelWord(profile), kLevelMed);
}

TEST(WheelProfileFields, AnglesAreLimitedWhenShownButKeptInTheRecord) {
  WheelProfile profile{};
  SetAngleA(profile, 40000);
  EXPECT_DOUBLE_EQ(AngleToDegrees(AngleA(profile)), 135.0);
  EXPECT_EQ(AngleA(profile), 40000);
  EXPECT_DOUBLE_EQ(AngleToDegrees(-5), 0.0);
  EXPECT_NEAR(AngleToDegrees(3000), 12.36, 0.01);
  EXPECT_EQ(DegreesToAngle(135.0), 32767);
  EXPECT_EQ(DegreesToAngle(12.4), 3009);  // truncated toward zero, not rounded
  SetAngleB(profile, -1);
  EXPECT_EQ(profile.bytes[92], 0xFF);
  EXPECT_EQ(AngleB(profile), -1);
}

TEST(WheelProfileFields, LightsReplaceOnlyTheLowNibble) {
  WheelProfile profile{};
  profile.bytes[0] = 0xA1;
  EXPECT_TRUE(RearLightOn(profile));
  EXPECT_FALSE(FrontLightOn(profile));
  SetLights(profile, false, false);
  EXPECT_EQ(profile.bytes[0], 0xA0);
  SetLights(profile, true, true);
  EXPECT_EQ(profile.bytes[0], 0xAF);
}

TEST(WheelProfileFields, SlotsKeepNegativeParametersAndNeighbouringBytes) {
  WheelProfile profile = FactoryProfiles[0];
  SetSlot(profile, 24, 21, -32767);
  EXPECT_EQ(SlotCode(profile, 24), 21);
  EXPECT_EQ(SlotParam(profile, 24), -32767);
  EXPECT_EQ(profile.bytes[33], 0x00) << "kept byte after the codes";
  EXPECT_EQ(profile.bytes[86], 0x00) << "kept byte after the parameters";
  EXPECT_EQ(SlotCode(profile, 23), SlotCode(FactoryProfiles[0], 23));
}

TEST(ActionCodes, DirectionsComeFromTheParametersSign) {
  EXPECT_EQ(CodeActionTable(18, -32768), 15);
  EXPECT_EQ(CodeActionTable(18, 0), 16);
  EXPECT_EQ(CodeActionTable(20, -1), 17);
  EXPECT_EQ(CodeActionTable(20, 5), 18);
  EXPECT_EQ(CodeActionTable(21, 0), 19);
  EXPECT_EQ(CodeActionTable(21, -32767), 20);
}

TEST(ActionCodes, CodesOutsideTheTableReadAsNoActionAndWriteBackEmpty) {
  for (std::uint8_t code : {0, 3, 4, 13, 19, 23, 255}) {
    EXPECT_EQ(CodeActionTable(code, 1), kNoAction) << int(code);
  }
  EXPECT_EQ(ActionToCode(kNoAction).code, 0);
  EXPECT_EQ(ActionToCode(kNoAction).param, 0);
  EXPECT_EQ(ActionToCode(kActionCount).code, 0);
}

TEST(ActionCodes, EveryActionSurvivesARoundTrip) {
  for (int action = 0; action < kActionCount; ++action) {
    const ActionCode written = ActionToCode(action);
    EXPECT_EQ(CodeActionTable(written.code, written.param), action) << action;
  }
  EXPECT_EQ(ActionToCode(14).param, 384);
  EXPECT_EQ(ActionToCode(9).param, 255);
}
