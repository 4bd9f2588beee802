#include "profile/action_codes.h"

namespace {

constexpr std::int16_t kAxisFull = 32767;
constexpr std::uint8_t kCodeWheelTurn = 18;
constexpr std::uint8_t kCodeStickX = 20;
constexpr std::uint8_t kCodeStickY = 21;

}  // namespace

const ActionCode ActionCodeTable[kActionCount] = {
    {12, 1},          {11, 1},         {10, 1},          {9, 1},          {8, 1},
    {7, 1},           {6, 1},          {5, 1},           {15, 1},         {16, 255},
    {2, 1},           {14, 1},         {17, 255},        {1, 1},          {22, 384},
    {18, -kAxisFull}, {18, kAxisFull}, {20, -kAxisFull}, {20, kAxisFull}, {21, kAxisFull},
    {21, -kAxisFull},
};

int CodeActionTable(std::uint8_t code, std::int16_t param) {
  // The axis codes carry a direction in the parameter's sign; 21 reads "up" for zero.
  if (code == kCodeWheelTurn) return param < 0 ? 15 : 16;
  if (code == kCodeStickX) return param < 0 ? 17 : 18;
  if (code == kCodeStickY) return param < 0 ? 20 : 19;
  for (int action = 0; action < kActionCount; ++action) {
    if (ActionCodeTable[action].code == code) return action;
  }
  return kNoAction;
}

ActionCode ActionToCode(int action) {
  if (action < 0 || action >= kActionCount) return {0, 0};
  return ActionCodeTable[action];
}
