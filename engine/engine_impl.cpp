// Placeholder bodies until this part is built.
#include "engine/engine_impl.h"

EngineImpl::EngineImpl() = default;
Engine* Engine_Create(int /*version*/) { return nullptr; }
void EngineImpl::PostError(const char* /*format*/, ...) {}
void EngineImpl::Release() {}
const char* EngineImpl::System_LastError() { return {}; }
void EngineImpl::System_SetState(BoolState /*state*/, bool /*value*/) {}
void EngineImpl::System_SetState(FuncState /*state*/, EngineCallback /*value*/) {}
void EngineImpl::System_SetState(DeviceChangeState /*state*/, DeviceChangeCallback /*value*/) {}
void EngineImpl::System_SetState(WindowState /*state*/, WindowHandle /*value*/) {}
void EngineImpl::System_SetState(IntState /*state*/, int /*value*/) {}
void EngineImpl::System_SetState(TextState /*state*/, const char* /*value*/) {}
bool EngineImpl::System_GetState(BoolState /*state*/) { return {}; }
EngineCallback EngineImpl::System_GetState(FuncState /*state*/) { return {}; }
WindowHandle EngineImpl::System_GetState(WindowState /*state*/) { return {}; }
int EngineImpl::System_GetState(IntState /*state*/) { return {}; }
const char* EngineImpl::System_GetState(TextState /*state*/) { return {}; }
