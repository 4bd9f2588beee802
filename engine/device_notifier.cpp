// What the device notifier does alike on every platform; watching lives in linux/ and win32/.
#include "engine/device_notifier.h"

DeviceNotifier::~DeviceNotifier() {
  Close();
}

void DeviceNotifier::Poll(EngineImpl& engine) {
  Poll(
      [](const DeviceNotice& notice, void* context) {
        static_cast<EngineImpl*>(context)->DeliverDeviceChange(notice.event, notice.path.c_str());
      },
      &engine);
}
