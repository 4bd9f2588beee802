#pragma once
// F5 in the window plugs the virtual receiver in or pulls it out, for someone trying the program
// without a wheel.

#include "device/virtual_receiver.h"
#include "engine/engine.h"

// Virtual key F5.
inline constexpr int kPlugKey = 116;

// Once per frame: when F5 went down this frame, plugs the receiver in or pulls it out, each with
// its device notice. True when it did.
bool HandlePlugKey(Engine& engine, VirtualReceiver& receiver);
