#include "app/dialogs.h"

namespace {

Dialogs* chosenDialogs = nullptr;

Dialogs& DesktopDialogs() {
  // Made on the first dialog a user is shown, never at start.
  static std::unique_ptr<Dialogs> desktop = CreateDesktopDialogs();
  return *desktop;
}

}  // namespace

Dialogs& CurrentDialogs() {
  return chosenDialogs != nullptr ? *chosenDialogs : DesktopDialogs();
}

void SetDialogs(Dialogs* dialogs) {
  chosenDialogs = dialogs;
}
