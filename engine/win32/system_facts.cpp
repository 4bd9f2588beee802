#include <windows.h>

#include "engine/system_facts.h"

namespace {

constexpr int kKibibyteShift = 10;

// GetVersionExW answers what the program's manifest admits to knowing; ntdll's RtlGetVersion
// answers the version that runs.
using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

void ReadVersion(SystemFacts* facts) {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll == nullptr) return;
  auto getVersion = reinterpret_cast<RtlGetVersionFunction>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (getVersion == nullptr || getVersion(&version) != 0) return;
  facts->osMajor = static_cast<long>(version.dwMajorVersion);
  facts->osMinor = static_cast<long>(version.dwMinorVersion);
  facts->osBuild = static_cast<long>(version.dwBuildNumber);
}

}  // namespace

SystemFacts ReadSystemFacts() {
  SystemFacts facts;
  facts.osName = "Windows";
  ReadVersion(&facts);
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof memory;
  if (GlobalMemoryStatusEx(&memory)) {
    facts.totalKibibytes = static_cast<long>(memory.ullTotalPhys >> kKibibyteShift);
    facts.freeKibibytes = static_cast<long>(memory.ullAvailPhys >> kKibibyteShift);
  }
  return facts;
}
