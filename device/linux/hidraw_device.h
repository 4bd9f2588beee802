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

// What names the receiver behind the hidraw node at `path` across plugs (HidBackend::Identity),
// from the kernel's record of its HID device under `sysRoot`: "serial:" and the USB serial number
// (HID_UNIQ), else "usb:" and the physical port (HID_PHYS); empty when neither is known. The node
// is found by its device number, so a link to it names the same receiver.
std::string HidrawIdentity(const std::string& path, const std::string& sysRoot = "/sys");
