#pragma once
// What the log's first lines say about the system: its name, version and memory.

struct SystemFacts {
  const char* osName = "";  // "Linux", "Windows"
  long osMajor = 0, osMinor = 0, osBuild = 0;
  long totalKibibytes = 0, freeKibibytes = 0;
};

// The running system's facts; numbers it cannot tell stay 0.
SystemFacts ReadSystemFacts();
