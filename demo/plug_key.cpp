#include "demo/plug_key.h"

#include "app/shell_engine.h"
#include "common/log.h"

bool HandlePlugKey(Engine& engine, VirtualReceiver& receiver) {
  if (!engine.Input_KeyPressed(kPlugKey)) return false;
  if (receiver.Plugged()) {
    Log("demo: F5 pulls the receiver out");
    receiver.Unplug();
  } else {
    Log("demo: F5 plugs the receiver in");
    receiver.Plug();
  }
  return true;
}
