#pragma once
// The start-up download of the settings document on a worker thread of its own, so that it runs
// while the splash plays instead of after it. Only the transfer runs there; the document is
// handed over and parsed on the starting thread, before the first frame of the main screen.

#include <string>
#include <thread>

#include "online/http_download.h"
#include "online/settings_document.h"

// Time-outs of the start-up download: a server that accepts and never answers costs at most this,
// overlapping the splash.
constexpr DownloadTimeouts kStartUpDownloadTimeouts = {3000, 4000};

class SettingsDownload {
 public:
  SettingsDownload() = default;
  // Waits for a download that was started and not finished.
  ~SettingsDownload();
  SettingsDownload(const SettingsDownload&) = delete;
  SettingsDownload& operator=(const SettingsDownload&) = delete;

  // Starts downloading the document at address (null: the preset server's) on the worker.
  void Start(const char* address, const DownloadTimeouts& timeouts = kStartUpDownloadTimeouts);
  // Waits for the download to end, then, on success, hands its text to Settings and returns true;
  // a failure is logged and leaves Settings as it was. False when nothing was started.
  bool Finish();

 private:
  std::thread worker_;
  std::string address_;
  SettingsDocument document_;
  std::string error_;
  bool succeeded_ = false;
};
