#pragma once
// A look at the Wayland compositor before SDL opens it: SDL's Wayland driver dies on a compositor
// without an input seat (a headless one), so the engine asks first and uses X11 instead.

#include <string>

// Whether the compositor of WAYLAND_DISPLAY answers within a second or two and offers a seat.
// False, with why, when it cannot be reached, does not answer or has no seat. libwayland-client
// is loaded only for the look, as SDL loads it.
bool WaylandDisplayUsable(std::string* why);
