#include "app/single_run.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "app/instance_lock.h"
#include "app/shell_engine.h"
#include "app/user_folders.h"
#include "common/log.h"
#include "engine/platform/platform.h"
#include "engine/program_name.h"

namespace {

InstanceLock instance;

void Warn(const std::string& why) {
  std::fprintf(stderr, "%s: %s; more than one customiser may run\n", ProgramShortName(),
               why.c_str());
}

}  // namespace

bool ClaimSingleRun(const char* name) {
  if (name == nullptr) return true;
  std::string why;
  const std::string folder = UserRuntimeFolder(&why);
  if (folder.empty()) {
    Warn(why);
    return true;
  }
  switch (instance.Take(folder, name, &why)) {
    case InstanceLock::Claim::kAlreadyRunning:
      // A line, not a message box: the first run's window coming up is the answer the user
      // sees, and nothing should wait for a click.
      std::fprintf(stderr, "%s: %s\n", ProgramShortName(), kAlreadyRunningText);
      return false;
    case InstanceLock::Claim::kUnavailable:
      Warn(why);
      return true;
    case InstanceLock::Claim::kFirst:
      // Without the socket later starts cannot raise the window, but they are still refused.
      if (!why.empty())
        std::fprintf(stderr, "%s: %s\n", ProgramShortName(), why.c_str());
      return true;
  }
  return true;
}

void AnswerLaterStarts() {
  if (instance.TakePokes() == 0) return;
  Log("The program was started again: its window is raised");
  platform::Current().BringToFront(ShellWindow());
}

void EndSingleRun() {
  instance.Release();
}
