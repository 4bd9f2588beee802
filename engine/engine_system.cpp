// Placeholder bodies until this part is built.
#include "engine/engine_impl.h"

void EngineImpl::RunSplash() {}
bool EngineImpl::System_Initiate(bool /*withCaption*/) { return {}; }
void EngineImpl::System_Shutdown() {}
bool EngineImpl::System_Start() { return {}; }
bool EngineImpl::System_ShellOpen(const char* /*pathOrUrl*/) { return {}; }
void EngineImpl::System_Screenshot(const char* /*fileName*/) {}
float EngineImpl::Timer_Seconds() { return {}; }
float EngineImpl::Timer_Delta() { return {}; }
int EngineImpl::Timer_FramesPerSecond() { return {}; }
