#pragma once
// The function codes a slot of the wheel profile can hold and the actions they stand for: reading
// a slot turns (code, parameter) into an action, writing it back turns the action into the
// code and the one parameter the program writes for it.

#include <cstdint>

constexpr int kActionCount = 21;
constexpr int kNoAction = -1;

struct ActionCode {
  std::uint8_t code;
  std::int16_t param;
};

// The code and parameter written for each action 0..20.
extern const ActionCode ActionCodeTable[kActionCount];

// The action a slot shows: only the sign of the parameter matters for the codes 18, 20 and 21;
// codes outside the table read as no action (-1).
int CodeActionTable(std::uint8_t code, std::int16_t param);

// The code and parameter written back for an action; no action (or any value outside 0..20)
// writes code 0 with parameter 0.
ActionCode ActionToCode(int action);
