#include "tools/cli/profile_report.h"

#include "profile/action_codes.h"

namespace {

// The inputs in the order of the wheel picture's controls, then the two slots without a control.
struct InputName {
  int slot;
  const char* name;
};

constexpr InputName kInputs[] = {
    {9, "Pad left"},       {10, "Pad right"},     {11, "Pad up"},        {12, "Pad down"},
    {13, "Face button 1"}, {14, "Face button 2"}, {15, "Face button 3"}, {16, "Face button 4"},
    {17, "Fan button 1"},  {18, "Fan button 2"},  {19, "Fan button 3"},  {22, "Fan button 4"},
    {21, "Fan button 5"},  {20, "Fan button 6"},  {23, "Left paddle"},   {24, "Right paddle"},
    {6, "Gear lever 1"},   {7, "Gear lever 2"},   {8, "Gear lever 3"},   {4, "Hidden slot 4"},
    {5, "Hidden slot 5"},
};

// What each action's tile shows.
constexpr const char* kActionNames[kActionCount] = {
    "A",
    "B",
    "X",
    "Y",
    "Up",
    "Down",
    "Left",
    "Right",
    "LB",
    "LT",
    "L",
    "RB",
    "RT",
    "R",
    "Steering boost",
    "Wheel anticlockwise",
    "Wheel clockwise",
    "Stick left",
    "Stick right",
    "Stick up",
    "Stick down",
};

const char* LevelName(Level level) {
  switch (level) {
    case Level::kLow:
      return "Low";
    case Level::kMed:
      return "Med";
    case Level::kHigh:
      return "High";
  }
  return "?";
}

// The action an input does, or null for none (unknown codes included).
const char* ActionName(const WheelProfile& profile, int slot) {
  const int action = CodeActionTable(SlotCode(profile, slot), SlotParam(profile, slot));
  return action == kNoAction ? nullptr : kActionNames[action];
}

}  // namespace

void PrintProfile(const WheelProfile& profile, std::FILE* out) {
  std::fprintf(out, "Rear light:  %s\n", RearLightOn(profile) ? "on" : "off");
  std::fprintf(out, "Front light: %s\n", FrontLightOn(profile) ? "on" : "off");
  std::fprintf(out, "Level:       %s\n", LevelName(LevelFromWord(LevelWord(profile))));
  std::fprintf(out, "Angle A:     %.1f degrees\n", AngleToDegrees(AngleA(profile)));
  std::fprintf(out, "Angle B:     %.1f degrees\n", AngleToDegrees(AngleB(profile)));
  std::fputs("Inputs:\n", out);
  for (const InputName& input : kInputs) {
    const std::uint8_t code = SlotCode(profile, input.slot);
    const int action = CodeActionTable(code, SlotParam(profile, input.slot));
    if (action == kNoAction && code != 0) {
      std::fprintf(out, "  %-14s none (unknown code %u)\n", input.name, code);
    } else {
      std::fprintf(out, "  %-14s %s\n", input.name,
                   action == kNoAction ? "none" : kActionNames[action]);
    }
  }
}

std::string ProfileSummary(const WheelProfile& profile) {
  char text[128];
  std::snprintf(text, sizeof text,
                "rear light %s, front light %s, level %s, angles %.1f and %.1f degrees",
                RearLightOn(profile) ? "on" : "off", FrontLightOn(profile) ? "on" : "off",
                LevelName(LevelFromWord(LevelWord(profile))), AngleToDegrees(AngleA(profile)),
                AngleToDegrees(AngleB(profile)));
  return text;
}

void WriteProfileJson(JsonWriter& json, const WheelProfile& profile, bool withInputs) {
  json.BeginObject();
  json.Key("rearLight");
  json.Bool(RearLightOn(profile));
  json.Key("frontLight");
  json.Bool(FrontLightOn(profile));
  json.Key("level");
  json.String(LevelName(LevelFromWord(LevelWord(profile))));
  json.Key("angleA");
  json.Number(AngleToDegrees(AngleA(profile)), 1);
  json.Key("angleB");
  json.Number(AngleToDegrees(AngleB(profile)), 1);
  if (withInputs) {
    json.Key("inputs");
    json.BeginArray();
    for (const InputName& input : kInputs) {
      json.BeginObject();
      json.Key("input");
      json.String(input.name);
      json.Key("action");
      if (const char* action = ActionName(profile, input.slot)) {
        json.String(action);
      } else {
        json.Null();
      }
      json.EndObject();
    }
    json.EndArray();
  }
  json.EndObject();
}
