#pragma once
// Receivers plugged in and pulled out while the program runs.

#include <cstdint>

#include "engine/engine.h"

// The engine's device-change function: an arrival opens the receiver at the record's device
// path unless one is connected; the removal of the connected receiver's node closes it.
// Returns true.
bool DeviceChangeFunc(WindowHandle window, std::uint32_t message, std::uintptr_t event,
                      std::intptr_t record);

class DeviceNotificationSource;

// Starts watching for receivers coming and going through `source`, or through the udev monitor
// when it is null: the engine's message pump then hands each arrival and removal to its
// device-change function. On failure logs "Notification failure" and returns false; the
// receiver is then found only at start-up.
bool RegisterDeviceNotifications(DeviceNotificationSource* source = nullptr);
