#include "online/background_download.h"

#include <system_error>

#include "common/log.h"

BackgroundDownload::BackgroundDownload() : job_(std::make_shared<Job>()) {}

BackgroundDownload::~BackgroundDownload() {
  Cancel();
}

bool BackgroundDownload::Start(const char* address) {
  if (busy_) return false;
  // A fresh job: a short download is never read together with the tail of an earlier one, and a
  // worker left behind by Cancel keeps writing only its own.
  auto job = std::make_shared<Job>();
  job->address = address != nullptr ? address : "";
  try {
    worker_ = std::thread([job] {
      const int count = DownloadFile(job->address.c_str(), job->buffer, &job->cancel);
      std::lock_guard<std::mutex> lock(job->mutex);
      job->count = count;
      job->finished.store(true, std::memory_order_release);
      job->ended.notify_all();
    });
  } catch (const std::system_error& error) {
    Log("Download of %s not started: %s", job->address.c_str(), error.what());
    return false;
  }
  job_ = std::move(job);
  busy_ = true;
  return true;
}

int BackgroundDownload::Take() {
  if (worker_.joinable()) worker_.join();
  busy_ = false;
  return job_->count;
}

void BackgroundDownload::Cancel() {
  if (!busy_) return;
  job_->cancel.store(true);
  bool ended = false;
  {
    std::unique_lock<std::mutex> lock(job_->mutex);
    ended = job_->ended.wait_for(lock, kDownloadCancelWait,
                                 [this] { return job_->finished.load(std::memory_order_acquire); });
  }
  if (!ended) {
    // Quitting must not hang on a source that never answers; the worker owns all it touches.
    Log("Download of %s did not stop within %lld ms; left to end on its own", job_->address.c_str(),
        static_cast<long long>(kDownloadCancelWait.count()));
    worker_.detach();
    // What the caller sees from now on: a download that ended as a failure.
    job_ = std::make_shared<Job>();
    job_->finished.store(true);
    busy_ = false;
    return;
  }
  Take();
}
