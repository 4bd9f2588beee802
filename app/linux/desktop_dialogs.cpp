// The desktop's dialogs on Linux: GTK's, from the dialogs module, else the platform's message
// boxes.
#include "app/dialog_module.h"
#include "app/dialogs.h"
#include "common/log.h"

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

std::unique_ptr<Dialogs> CreateDesktopDialogs() {
  std::unique_ptr<Dialogs> gtk = CreateGtkDialogs();
  return gtk != nullptr ? std::move(gtk) : CreatePlatformDialogs();
}
