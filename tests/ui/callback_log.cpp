#include "callback_log.h"

#include "ui/button.h"
#include "ui/check.h"

std::vector<CallbackRecord>& CallbackLog() {
  static std::vector<CallbackRecord> log;
  return log;
}

void RecordCallback(UIBase* control, int event, int userValue) {
  bool checked = false;
  if (control->kind == KIND_CHECK) checked = static_cast<UICheck*>(control)->checked;
  if (control->kind == KIND_BUTTON) checked = static_cast<UIButton*>(control)->pressed;
  CallbackLog().push_back({control, event, userValue, checked});
}
