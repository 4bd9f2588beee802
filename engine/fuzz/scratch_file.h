#pragma once
// One temporary file per fuzz process, rewritten with each input, for readers that take a path.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

class ScratchFile {
 public:
  explicit ScratchFile(const char* suffix) {
    // Memory-backed when the system has it: the file is rewritten for every input.
    std::string pattern =
        access("/dev/shm", W_OK) == 0 ? "/dev/shm/corsaro-fuzz-XXXXXX" : "/tmp/corsaro-fuzz-XXXXXX";
    pattern += suffix;
    const int descriptor = mkstemps(pattern.data(), static_cast<int>(std::string(suffix).size()));
    if (descriptor < 0) std::abort();
    close(descriptor);
    path_ = pattern;
  }
  ~ScratchFile() { std::remove(path_.c_str()); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Replaces the file's content with the bytes; aborts when that fails, which no input causes.
  const char* Hold(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (file == nullptr) std::abort();
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) std::abort();
    return path_.c_str();
  }

 private:
  std::string path_;
};
