#include "engine/key_names.h"

#include <array>

namespace {

constexpr int kKeyCount = 256;
constexpr const char* kUnknown = "?";

struct NamedKey {
  int code;
  const char* name;
};

constexpr NamedKey kNamedKeys[] = {
    {1, "Left Mouse Button"},
    {2, "Right Mouse Button"},
    {4, "Middle Mouse Button"},
    {8, "Backspace"},
    {9, "Tab"},
    {13, "Enter"},
    {16, "Shift"},
    {17, "Ctrl"},
    {18, "Alt"},
    {19, "Pause"},
    {20, "Caps Lock"},
    {27, "Escape"},
    {32, "Space"},
    {33, "Page Up"},
    {34, "Page Down"},
    {35, "End"},
    {36, "Home"},
    {37, "Left Arrow"},
    {38, "Up Arrow"},
    {39, "Right Arrow"},
    {40, "Down Arrow"},
    {45, "Insert"},
    {46, "Delete"},
    {48, "0"},
    {49, "1"},
    {50, "2"},
    {51, "3"},
    {52, "4"},
    {53, "5"},
    {54, "6"},
    {55, "7"},
    {56, "8"},
    {57, "9"},
    {65, "A"},
    {66, "B"},
    {67, "C"},
    {68, "D"},
    {69, "E"},
    {70, "F"},
    {71, "G"},
    {72, "H"},
    {73, "I"},
    {74, "J"},
    {75, "K"},
    {76, "L"},
    {77, "M"},
    {78, "N"},
    {79, "O"},
    {80, "P"},
    {81, "Q"},
    {82, "R"},
    {83, "S"},
    {84, "T"},
    {85, "U"},
    {86, "V"},
    {87, "W"},
    {88, "X"},
    {89, "Y"},
    {90, "Z"},
    {91, "Left Win"},
    {92, "Right Win"},
    {93, "Application"},
    {96, "NumPad 0"},
    {97, "NumPad 1"},
    {98, "NumPad 2"},
    {99, "NumPad 3"},
    {100, "NumPad 4"},
    {101, "NumPad 5"},
    {102, "NumPad 6"},
    {103, "NumPad 7"},
    {104, "NumPad 8"},
    {105, "NumPad 9"},
    {106, "Multiply"},
    {107, "Add"},
    {109, "Subtract"},
    {110, "Decimal"},
    {111, "Divide"},
    {112, "F1"},
    {113, "F2"},
    {114, "F3"},
    {115, "F4"},
    {116, "F5"},
    {117, "F6"},
    {118, "F7"},
    {119, "F8"},
    {120, "F9"},
    {121, "F10"},
    {122, "F11"},
    {123, "F12"},
    {144, "Num Lock"},
    {145, "Scroll Lock"},
    {186, "Semicolon"},
    {187, "Equals"},
    {188, "Comma"},
    {189, "Minus"},
    {190, "Period"},
    {191, "Slash"},
    {192, "Grave"},
    {219, "Left bracket"},
    {220, "Backslash"},
    {221, "Right bracket"},
    {222, "Apostrophe"},
};

constexpr std::array<const char*, kKeyCount> BuildTable() {
  std::array<const char*, kKeyCount> table{};
  for (const char*& name : table) name = kUnknown;
  for (const NamedKey& key : kNamedKeys) table[key.code] = key.name;
  return table;
}

constexpr std::array<const char*, kKeyCount> kKeyNames = BuildTable();

}  // namespace

const char* KeyName(int virtualKey) {
  if (virtualKey < 0 || virtualKey >= kKeyCount) return kUnknown;
  return kKeyNames[virtualKey];
}
