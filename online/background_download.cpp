#include "online/background_download.h"

#include <system_error>

#include "common/log.h"

BackgroundDownload::~BackgroundDownload() {
  Cancel();
}

bool BackgroundDownload::Start(const char* address) {
  if (busy_) return false;
  // A short download must never be read together with the tail of an earlier one.
  buffer_.fill(0);
  address_ = address != nullptr ? address : "";
  count_ = -1;
  finished_.store(false);
  cancel_.store(false);
  try {
    worker_ = std::thread([this] {
      count_ = DownloadFile(address_.c_str(), buffer_, &cancel_);
      finished_.store(true, std::memory_order_release);
    });
  } catch (const std::system_error& error) {
    Log("Download of %s not started: %s", address_.c_str(), error.what());
    return false;
  }
  busy_ = true;
  return true;
}

int BackgroundDownload::Take() {
  if (worker_.joinable()) worker_.join();
  busy_ = false;
  return count_;
}

void BackgroundDownload::Cancel() {
  if (!busy_) return;
  cancel_.store(true);
  Take();
}
