#pragma once
// Helpers shared by the engine's system and resource tests: a scratch folder and a clock that
// the test drives.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/millisecond_clock.h"

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corsaro-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern + "/";
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder with a trailing '/'.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

inline std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A clock that moves only when told to: Sleep and SleepUntil advance it, and so does polling, by
// one millisecond every few readings, as a real clock moves while the loop spins on it.
class DrivenClock final : public MillisecondClock {
 public:
  explicit DrivenClock(std::uint32_t start = 1000) : now_(start) {}

  std::uint32_t Now() override {
    if (++reads_ % kReadsPerMillisecond == 0) ++now_;
    return now_;
  }
  void Sleep(std::uint32_t milliseconds) override {
    now_ += milliseconds;
    ++sleeps_;
  }
  void SleepUntil(std::uint32_t deadline) override {
    if (static_cast<std::int32_t>(deadline - now_) > 0) now_ = deadline;
    ++sleeps_;
  }

  void Advance(std::uint32_t milliseconds) { now_ += milliseconds; }
  std::uint32_t Peek() const { return now_; }
  int Sleeps() const { return sleeps_; }
  int Reads() const { return reads_; }

 private:
  static constexpr int kReadsPerMillisecond = 4;
  std::uint32_t now_;
  int reads_ = 0;
  int sleeps_ = 0;
};
