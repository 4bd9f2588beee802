#include "app/dialogs.h"

#include "app/dialog_module.h"
#include "common/log.h"

namespace {

Dialogs* chosenDialogs = nullptr;

Dialogs& DesktopDialogs() {
  // Made on the first dialog a user is shown, never at start.
  static std::unique_ptr<Dialogs> desktop = [] {
    std::unique_ptr<Dialogs> gtk = CreateGtkDialogs();
    return gtk != nullptr ? std::move(gtk) : CreatePlatformDialogs();
  }();
  return *desktop;
}

}  // namespace

Dialogs& CurrentDialogs() {
  return chosenDialogs != nullptr ? *chosenDialogs : DesktopDialogs();
}

void SetDialogs(Dialogs* dialogs) {
  chosenDialogs = dialogs;
}

std::unique_ptr<Dialogs> CreateGtkDialogs() {
  const std::string path = DialogModulePath();
  std::string why;
  std::unique_ptr<Dialogs> gtk = LoadGtkDialogs(path, &why);
  if (gtk != nullptr) {
    Log("Dialogs: GTK from %s", path.c_str());
  } else {
    Log("Dialogs: no GTK from %s (%s); message boxes instead, and no file chooser", path.c_str(),
        why.c_str());
  }
  return gtk;
}
