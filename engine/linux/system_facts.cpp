#include "engine/system_facts.h"

#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <cstdio>

namespace {
constexpr int kKibibyteShift = 10;
}  // namespace

SystemFacts ReadSystemFacts() {
  SystemFacts facts;
  facts.osName = "Linux";
  // The kernel release ("6.1.0-18-amd64") read as major, minor and build numbers.
  utsname name;
  if (uname(&name) == 0) {
    std::sscanf(name.release, "%ld.%ld.%ld", &facts.osMajor, &facts.osMinor, &facts.osBuild);
  }
  struct sysinfo memory {};
  sysinfo(&memory);
  const unsigned long long unit = memory.mem_unit;
  facts.totalKibibytes = static_cast<long>(memory.totalram * unit >> kKibibyteShift);
  facts.freeKibibytes = static_cast<long>(memory.freeram * unit >> kKibibyteShift);
  return facts;
}
