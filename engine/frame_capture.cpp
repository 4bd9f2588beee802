#include "engine/frame_capture.h"

#include "engine/engine_impl.h"

bool CaptureNextFrame(Engine* engine, const char* path) {
  if (engine == nullptr || path == nullptr || path[0] == '\0') return false;
  // EngineImpl is the one implementation of Engine.
  static_cast<EngineImpl*>(engine)->graphics.RequestCapture(path);
  return true;
}

FrameCaptureStatus CaptureStatus(Engine* engine) {
  if (engine == nullptr) return FrameCaptureStatus::kNone;
  return static_cast<EngineImpl*>(engine)->graphics.CaptureState();
}
