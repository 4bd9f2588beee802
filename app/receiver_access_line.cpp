#include "app/receiver_access_line.h"

#include <string>

#include "device/receiver_access.h"
#include "device/udev_rule.h"

const char* ReceiverAccessLine() {
  if (LastReceiverOpenError() != HidOpenError::kPermissionDenied) return nullptr;
  static std::string line;
  line = "No permission to open the receiver. To allow it, run: " + UdevRuleCommand();
  return line.c_str();
}
