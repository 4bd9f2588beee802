#pragma once
// One file fetched by DownloadFile on a worker thread, so that the window keeps drawing while a
// slow or silent server answers. The worker writes only the download's own buffer and count;
// the caller reads them once Finished says the worker is done.

#include <array>
#include <atomic>
#include <span>
#include <string>
#include <thread>

#include "online/preset_download.h"

class BackgroundDownload {
 public:
  BackgroundDownload() = default;
  // Cancels a running download and waits for its worker.
  ~BackgroundDownload();
  BackgroundDownload(const BackgroundDownload&) = delete;
  BackgroundDownload& operator=(const BackgroundDownload&) = delete;

  // Empties the buffer and starts fetching `address` (at most kDownloadFileLimit bytes). False
  // when a download is already under way or the worker cannot be started.
  bool Start(const char* address);
  // Whether a download was started and its result has not been taken yet.
  bool Busy() const { return busy_; }
  // Whether the started download has ended, successfully or not.
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  // Waits for the worker and returns what DownloadFile returned: the byte count, or -1. The
  // bytes stay in Bytes() until the next Start; Busy is false afterwards.
  int Take();
  // The buffer the last download filled; zeros after the bytes that arrived.
  std::span<const unsigned char> Bytes() const { return buffer_; }
  // Stops a running download (it ends as a failure) and waits for its worker.
  void Cancel();

 private:
  std::array<unsigned char, kDownloadFileLimit> buffer_{};
  std::string address_;
  std::thread worker_;
  std::atomic<bool> finished_{false};
  std::atomic<bool> cancel_{false};
  int count_ = 0;
  bool busy_ = false;
};
