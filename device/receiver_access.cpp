#include "device/receiver_access.h"

#include "common/log.h"

const char kUdevRuleCommand[] =
    "sudo cp packaging/60-corsaro270.rules /etc/udev/rules.d/ && sudo udevadm control --reload "
    "&& sudo udevadm trigger";

namespace {

HidOpenError lastError = HidOpenError::kNotPresent;
std::string deniedPath;

}  // namespace

void NoteReceiverOpenResult(HidOpenError error, const std::string& path) {
  if (error == HidOpenError::kNotPresent && !path.empty() && path != deniedPath) return;
  lastError = error;
  if (error != HidOpenError::kPermissionDenied) {
    deniedPath.clear();
    return;
  }
  deniedPath = path;
  const std::string command = ReceiverAccessCommand();
  if (command.empty()) {
    Log("Receiver %s: permission denied", path.c_str());
  } else {
    Log("Receiver %s: permission denied. To give this user access to it, run: %s", path.c_str(),
        command.c_str());
  }
}

HidOpenError LastReceiverOpenError() {
  return lastError;
}

const std::string& DeniedReceiverPath() {
  return deniedPath;
}

const char* ReceiverUnavailableReason() {
  if (lastError != HidOpenError::kPermissionDenied) return nullptr;
  return "The receiver is plugged in, but permission to open it was denied: the udev rule "
         "60-corsaro270.rules is not installed.";
}
