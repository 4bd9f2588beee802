#pragma once
// Windows virtual-key codes from SDL keys, so that the engine's key numbers stay the same on
// every platform.

#include <SDL2/SDL_keyboard.h>

// The virtual-key code of an SDL key, or 0 when the key has none.
int VirtualKeyFromSdl(const SDL_Keysym& key);
