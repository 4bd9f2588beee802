#include "online/http_download.h"

#include "online/file_address.h"
#include "online/platform_download.h"

const char kDownloadAgent[] = "Corsaro270 Customiser";

namespace {

constexpr DownloadTimeouts kDefaultTimeouts = {4000, 8000};

DownloadTimeouts currentTimeouts = kDefaultTimeouts;

}  // namespace

void SetDownloadTimeouts(const DownloadTimeouts& timeouts) {
  currentTimeouts = timeouts;
}

DownloadTimeouts GetDownloadTimeouts() {
  return currentTimeouts;
}

bool HttpGet(const char* address, std::size_t limit, std::string& body, std::string& error,
             const std::atomic<bool>* cancel) {
  return HttpGet(address, limit, currentTimeouts, body, error, cancel);
}

bool HttpGet(const char* address, std::size_t limit, const DownloadTimeouts& timeouts,
             std::string& body, std::string& error, const std::atomic<bool>* cancel) {
  body.clear();
  error.clear();
  if (address == nullptr || *address == '\0') {
    error = "no address";
    return false;
  }
  if (IsFileAddress(address)) return ReadFileAddress(address, limit, body, error, cancel);
  return NetworkGet(address, limit, timeouts, body, error, cancel);
}
