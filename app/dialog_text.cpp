// The dialogs' text rules, shared by the program and the dialogs module.
#include <strings.h>

#include <cstring>

#include "app/dialogs.h"

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
