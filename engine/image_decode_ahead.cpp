#include "engine/image_decode_ahead.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

struct Entry {
  std::span<const unsigned char> bytes;
  bool done = false;
  bool decoded = false;
  ImageArgb image;
};

// The set being decoded: the worker fills the entries in order under the mutex.
struct DecodeAhead {
  ~DecodeAhead() {
    if (worker.joinable()) worker.join();
  }
  std::mutex mutex;
  std::condition_variable finished;
  std::vector<Entry> entries;
  std::thread worker;
};

DecodeAhead ahead;

void DecodeAll() {
  for (std::size_t i = 0;; ++i) {
    std::span<const unsigned char> bytes;
    {
      const std::lock_guard<std::mutex> lock(ahead.mutex);
      if (i >= ahead.entries.size()) return;
      bytes = ahead.entries[i].bytes;
    }
    ImageArgb image;
    const bool decoded = DecodePng(bytes.data(), bytes.size(), &image);
    {
      const std::lock_guard<std::mutex> lock(ahead.mutex);
      Entry& entry = ahead.entries[i];
      entry.decoded = decoded;
      entry.image = std::move(image);
      entry.done = true;
    }
    ahead.finished.notify_all();
  }
}

}  // namespace

void DecodeImagesAhead(const std::vector<std::span<const unsigned char>>& images) {
  const std::lock_guard<std::mutex> lock(ahead.mutex);
  if (ahead.worker.joinable() || !ahead.entries.empty()) return;
  for (std::span<const unsigned char> bytes : images) {
    Entry entry;
    entry.bytes = bytes;
    ahead.entries.push_back(std::move(entry));
  }
  ahead.worker = std::thread(DecodeAll);
}

bool TakeDecodedImage(const void* bytes, std::size_t size, ImageArgb* image) {
  std::unique_lock<std::mutex> lock(ahead.mutex);
  for (Entry& entry : ahead.entries) {
    if (entry.bytes.data() != bytes || entry.bytes.size() != size) continue;
    ahead.finished.wait(lock, [&entry] { return entry.done; });
    if (!entry.decoded) return false;
    *image = std::move(entry.image);
    // Taken: the next load of these bytes decodes them itself.
    entry.decoded = false;
    return true;
  }
  return false;
}

void ForgetDecodedImages() {
  if (ahead.worker.joinable()) ahead.worker.join();
  const std::lock_guard<std::mutex> lock(ahead.mutex);
  ahead.entries.clear();
}
