// The Input_ operations of the engine interface, answered by the input part.
#include "engine/engine_impl.h"
#include "engine/key_names.h"

void EngineImpl::Input_MousePosition(float* x, float* y) {
  input.MousePosition(x, y);
}
void EngineImpl::Input_SetMousePosition(float x, float y) {
  input.SetMousePosition(x, y);
}
int EngineImpl::Input_WheelDelta() {
  return input.WheelDelta();
}
bool EngineImpl::Input_MouseInside() {
  return input.MouseInside();
}
bool EngineImpl::Input_KeyPressed(int key) {
  return input.KeyPressed(key);
}
bool EngineImpl::Input_KeyReleased(int key) {
  return input.KeyReleased(key);
}
bool EngineImpl::Input_KeyHeld(int key) {
  return input.KeyHeld(key);
}
const char* EngineImpl::Input_KeyName(int key) {
  return KeyName(key);
}
int EngineImpl::Input_LastKey() {
  return input.LastKey();
}
int EngineImpl::Input_LastChar() {
  return input.LastChar();
}
bool EngineImpl::Input_NextEvent(InputEvent* event) {
  return input.NextEvent(event);
}
void EngineImpl::Input_CursorOnScreen(int* x, int* y) {
  input.CursorOnScreen(x, y);
}
