#include "demo/receiver_notices.h"

namespace {

// The receiver hands its notices to a plain function; this is the engine it hands them to.
EngineImpl* pollingEngine = nullptr;

void Deliver(int event, const char* path) {
  if (pollingEngine != nullptr) {
    pollingEngine->DeliverDeviceChange(static_cast<std::uintptr_t>(event), path);
  }
}

}  // namespace

void ReceiverNotices::Poll(EngineImpl& engine) {
  pollingEngine = &engine;
  receiver_.DeliverDeviceChanges(Deliver);
  pollingEngine = nullptr;
}
