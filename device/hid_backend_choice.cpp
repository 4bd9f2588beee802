// Which backend new links use: the system's, or one a program set (the virtual receiver's).
#include "device/hid_port.h"

namespace {

HidBackend* currentBackend = nullptr;

}  // namespace

HidBackend& CurrentHidBackend() {
  return currentBackend ? *currentBackend : SystemHidBackend();
}

void SetCurrentHidBackend(HidBackend* backend) {
  currentBackend = backend;
}
