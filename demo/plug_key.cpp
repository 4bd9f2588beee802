#include "demo/plug_key.h"

#include "app/shell_engine.h"

bool HandlePlugKey(Engine& engine, VirtualReceiver& receiver) {
  if (!engine.Input_KeyPressed(kPlugKey)) return false;
  if (receiver.Plugged()) {
    ShellLog("demo: F5 pulls the receiver out");
    receiver.Unplug();
  } else {
    ShellLog("demo: F5 plugs the receiver in");
    receiver.Plug();
  }
  return true;
}
