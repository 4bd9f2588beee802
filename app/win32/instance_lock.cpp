// One run per user session: a named mutex is the lock, a named event the poke. Both live in the
// session's own namespace ("Local\"), which other users' sessions do not share.
#include <windows.h>

#include "app/instance_lock.h"

namespace {

std::wstring KernelName(const char* kind, const std::string& name) {
  std::wstring wide = L"Local\\corsaro270-";
  for (const char c : std::string(kind) + "-" + name) {
    // Backslashes separate namespaces; the rest of the name is the program's own.
    wide.push_back(c == '\\' ? L'_' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
  }
  return wide;
}

std::string Explain(const char* what) {
  return std::string(what) + " failed (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

InstanceLock::~InstanceLock() {
  Release();
}

bool InstanceLock::Held() const {
  return mutex_ != nullptr;
}

InstanceLock::Claim InstanceLock::Take(const std::string& /*folder*/, const std::string& name,
                                       std::string* why) {
  if (Held()) return Claim::kFirst;
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, KernelName("poke", name).c_str());
  HANDLE mutex = CreateMutexW(nullptr, TRUE, KernelName("lock", name).c_str());
  if (mutex == nullptr) {
    *why = Explain("CreateMutexW");
    if (event != nullptr) CloseHandle(event);
    return Claim::kUnavailable;
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    if (event != nullptr) {
      SetEvent(event);
      CloseHandle(event);
    }
    return Claim::kAlreadyRunning;
  }
  mutex_ = mutex;
  poked_ = event;
  if (event == nullptr) *why = Explain("CreateEventW");
  return Claim::kFirst;
}

int InstanceLock::TakePokes() {
  // An auto-reset event: any number of pokes since the last look count as one.
  if (poked_ == nullptr) return 0;
  return WaitForSingleObject(static_cast<HANDLE>(poked_), 0) == WAIT_OBJECT_0 ? 1 : 0;
}

void InstanceLock::Release() {
  if (poked_ != nullptr) CloseHandle(static_cast<HANDLE>(poked_));
  if (mutex_ != nullptr) {
    ReleaseMutex(static_cast<HANDLE>(mutex_));
    CloseHandle(static_cast<HANDLE>(mutex_));
  }
  poked_ = nullptr;
  mutex_ = nullptr;
}
