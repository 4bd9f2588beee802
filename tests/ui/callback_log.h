#pragma once
// Records the calls a control makes to its WidgetCallback.

#include <vector>

#include "ui/base.h"

struct CallbackRecord {
  UIBase* control;
  int event;
  int userValue;
  bool checkedAtCall;  // for check boxes: the checked flag when the callback ran
};

std::vector<CallbackRecord>& CallbackLog();
// A WidgetCallback that appends to CallbackLog().
void RecordCallback(UIBase* control, int event, int userValue);
