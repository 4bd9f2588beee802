#pragma once
// The screen state of the program and the state to return to when the receiver comes back.

#include <cstdint>

enum AppStateValue : std::int32_t {
  APP_NO_RECEIVER = 0,
  APP_SWITCH_SECOND_HALF = 4,
  APP_SWITCH_FIRST_HALF = 5,
  APP_MAIN_SCREEN = 6,
  APP_PRESET_DIALOG = 7,
  APP_UPDATE_REQUESTED = 8,
  APP_UPDATE_RUNNING = 9,
  APP_UPDATE_WAIT_RETURN = 10,
  APP_UPDATE_FAILED = 11,
};

extern std::int32_t AppState;
extern std::int32_t StateBeforeUnplug;
