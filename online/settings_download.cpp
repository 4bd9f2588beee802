#include "online/settings_download.h"

SettingsDownload::~SettingsDownload() {
  if (worker_.joinable()) worker_.join();
}

void SettingsDownload::Start(const char* address, const DownloadTimeouts& timeouts) {
  if (worker_.joinable()) return;
  address_ = address != nullptr ? address : kSettingsAddress;
  succeeded_ = false;
  // The worker touches only this object's document and error, and nothing else until it is joined.
  worker_ = std::thread([this, timeouts] {
    succeeded_ = DownloadSettings(document_, address_.c_str(), timeouts, error_);
  });
}

bool SettingsDownload::Finish() {
  if (!worker_.joinable()) return false;
  worker_.join();
  return AdoptSettingsDownload(address_.c_str(), document_, succeeded_, error_);
}
