#include "app/dialogs.h"

#include <strings.h>

#include <cstring>

namespace {

Dialogs* chosenDialogs = nullptr;

Dialogs& DesktopDialogs() {
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

std::string WithProfileExtension(const std::string& path) {
  std::size_t extensionLength = std::strlen(kProfileExtension);
  if (path.size() >= extensionLength &&
      strcasecmp(path.c_str() + path.size() - extensionLength, kProfileExtension) == 0) {
    return path;
  }
  return path + kProfileExtension;
}

std::string DisplayText(const char* text) {
  std::string shown;
  if (text == nullptr) return shown;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c != '\r') {
      shown += *c;
    } else if (c == text || c[-1] != '\n') {
      shown += '\n';  // a lone carriage return still ends a line
    }
  }
  return shown;
}
