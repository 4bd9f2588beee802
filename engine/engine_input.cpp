// Placeholder bodies until this part is built.
#include "engine/engine_impl.h"

void EngineImpl::Input_MousePosition(float* /*x*/, float* /*y*/) {}
void EngineImpl::Input_SetMousePosition(float /*x*/, float /*y*/) {}
int EngineImpl::Input_WheelDelta() { return {}; }
bool EngineImpl::Input_MouseInside() { return {}; }
bool EngineImpl::Input_KeyPressed(int /*key*/) { return {}; }
bool EngineImpl::Input_KeyReleased(int /*key*/) { return {}; }
bool EngineImpl::Input_KeyHeld(int /*key*/) { return {}; }
const char* EngineImpl::Input_KeyName(int /*key*/) { return {}; }
int EngineImpl::Input_LastKey() { return {}; }
int EngineImpl::Input_LastChar() { return {}; }
bool EngineImpl::Input_NextEvent(InputEvent* /*event*/) { return {}; }
