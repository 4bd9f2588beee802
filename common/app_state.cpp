#include "common/app_state.h"

std::int32_t AppState = APP_NO_RECEIVER;
std::int32_t StateBeforeUnplug = APP_MAIN_SCREEN;
