#include "app/profile_switch.h"

double LabelSlideProgress = 0;
