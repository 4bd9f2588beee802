#include "device/receiver_access.h"

// Windows gives a user access to a HID device without a rule to install.
std::string ReceiverAccessCommand() {
  return {};
}
