#pragma once
// One file fetched by DownloadFile on a worker thread, so that the window keeps drawing while a
// slow or silent server answers. The worker writes only its own job (buffer, count, end flag),
// which it shares with this object: a worker that does not end when cancelled can be left behind
// without touching anything that is gone. The caller reads the job once Finished says it is done.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "online/preset_download.h"

// How long Cancel waits for a worker before it leaves it behind.
inline constexpr std::chrono::milliseconds kDownloadCancelWait{2000};

class BackgroundDownload {
 public:
  BackgroundDownload();
  // Cancels a running download and waits for its worker, at most kDownloadCancelWait.
  ~BackgroundDownload();
  BackgroundDownload(const BackgroundDownload&) = delete;
  BackgroundDownload& operator=(const BackgroundDownload&) = delete;

  // Empties the buffer and starts fetching `address` (at most kDownloadFileLimit bytes). False
  // when a download is already under way or the worker cannot be started.
  bool Start(const char* address);
  // Whether a download was started and its result has not been taken yet.
  bool Busy() const { return busy_; }
  // Whether the started download has ended, successfully or not.
  bool Finished() const { return job_->finished.load(std::memory_order_acquire); }
  // Waits for the worker and returns what DownloadFile returned: the byte count, or -1. The
  // bytes stay in Bytes() until the next Start; Busy is false afterwards.
  int Take();
  // The buffer the last download filled; zeros after the bytes that arrived.
  std::span<const unsigned char> Bytes() const { return job_->buffer; }
  // Stops a running download (it ends as a failure) and waits for its worker, at most
  // kDownloadCancelWait; a worker still running then is left to end on its own, and logged.
  void Cancel();

 private:
  struct Job {
    std::array<unsigned char, kDownloadFileLimit> buffer{};
    std::string address;
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    int count = -1;
    std::mutex mutex;
    std::condition_variable ended;
  };

  std::shared_ptr<Job> job_;
  std::thread worker_;
  bool busy_ = false;
};
