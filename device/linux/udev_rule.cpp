#include "device/udev_rule.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <memory>

#include "device/receiver_access.h"

namespace {

constexpr const char* kRuleName = "60-corsaro270.rules";
// Where an install puts the rule, and where the checkout keeps it, from the program's folder.
constexpr const char* kInstalledRule = "../lib/udev/rules.d/";
constexpr const char* kCheckoutRule = "../../packaging/";
// The folders udev reads rules from.
constexpr const char* kUdevRuleFolders[] = {
    "/etc/udev/rules.d/",     "/run/udev/rules.d/", "/usr/local/lib/udev/rules.d/",
    "/usr/lib/udev/rules.d/", "/lib/udev/rules.d/",
};
constexpr const char* kApplyRules = "sudo udevadm control --reload && sudo udevadm trigger";

// The canonical path of an existing file, or empty.
std::string ExistingFile(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : std::string();
}

// The path as a shell word: quoted unless it is made of plain characters only.
std::string ShellWord(const std::string& path) {
  if (path.find_first_not_of(
          "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+") ==
      std::string::npos) {
    return path;
  }
  std::string quoted = "'";
  for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string CopyAndApply(const std::string& rule) {
  return "sudo cp " + ShellWord(rule) + " /etc/udev/rules.d/ && " + kApplyRules;
}

}  // namespace

std::string UdevRuleCommand(const std::string& programFolder) {
  const std::string installed = ExistingFile(programFolder + kInstalledRule + kRuleName);
  if (!installed.empty()) {
    const bool read = UdevReadsRulesIn(installed.substr(0, installed.rfind('/') + 1));
    return read ? kApplyRules : CopyAndApply(installed);
  }
  const std::string checkout = ExistingFile(programFolder + kCheckoutRule + kRuleName);
  if (!checkout.empty()) return CopyAndApply(checkout);
  return kUdevRuleCommand;
}

std::string UdevRuleCommand() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return kUdevRuleCommand;
  const std::string program(path, static_cast<std::size_t>(length));
  return UdevRuleCommand(program.substr(0, program.rfind('/') + 1));
}

bool UdevReadsRulesIn(const std::string& folder) {
  for (const char* read : kUdevRuleFolders) {
    if (folder == read) return true;
  }
  return false;
}

std::string ReceiverAccessCommand() {
  return UdevRuleCommand();
}
