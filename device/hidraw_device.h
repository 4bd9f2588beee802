#pragma once
// A HID device node on Linux (/dev/hidrawN), opened directly so that the port decides how long a
// transfer may take: reads wait through poll(), writes go straight to the node, and the vendor and
// product ID come from the node's raw-info query.

#include <memory>
#include <string>

#include "device/hid_port.h"
#include "device/raw_hid_device.h"

// Opens the node at `path` for reading and writing, or returns null with `error` saying why.
std::shared_ptr<RawHidDevice> OpenHidrawDevice(const std::string& path, HidOpenError& error);
