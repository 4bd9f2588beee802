#include "common/log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

constexpr int kLogLineSize = 1024;

// The upgrade worker logs too, so the sink is read and set atomically.
std::atomic<LogSink> sink{nullptr};

}  // namespace

void SetLogSink(LogSink newSink) {
  sink.store(newSink);
}

void Log(const char* format, ...) {
  const LogSink current = sink.load();
  if (current == nullptr) return;
  char line[kLogLineSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  current(line);
}
