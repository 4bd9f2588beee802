#include "platform/sdl/video_driver.h"

#include <strings.h>

#include <cstring>
#include <string_view>

bool IsHeadlessVideoDriver(const char* driver) {
  return driver != nullptr &&
         (strcasecmp(driver, "offscreen") == 0 || strcasecmp(driver, "dummy") == 0);
}

bool VideoDriverRequested(const char* requested, const char* driver) {
  if (requested == nullptr || driver == nullptr) return false;
  const std::string_view wanted(driver);
  std::string_view rest(requested);
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    const std::string_view name = rest.substr(0, comma);
    if (name.size() == wanted.size() &&
        strncasecmp(name.data(), wanted.data(), wanted.size()) == 0) {
      return true;
    }
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return false;
}

bool VideoDriverAcceptable(const char* driver, const char* requested) {
  if (driver == nullptr) return false;
  return !IsHeadlessVideoDriver(driver) || VideoDriverRequested(requested, driver);
}

bool VideoDriverPlacesPointer(const char* driver) {
  return driver != nullptr && strcasecmp(driver, "wayland") != 0;
}
