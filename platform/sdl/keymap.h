#pragma once
// Windows virtual-key codes from SDL keys, so that the engine's key numbers stay the same on
// every platform, and the character a key gives under the current keyboard layout.

#include <SDL2/SDL_keyboard.h>

// The virtual-key code of an SDL key, or 0 when the key has none. Numpad keys follow Num Lock as
// on Windows: with it off they are the navigation keys printed beside the digits.
int VirtualKeyFromSdl(const SDL_Keysym& key);

// Modifier state that decides a key's character.
struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool capsLock = false;
};

// The character a key gives, or 0 when it gives none. scanCode is the key's SDL scancode; the
// layout's own character for it is used when the layout has one, else the US character of the
// virtual key.
int CharacterFromKey(int virtualKey, int scanCode, const KeyModifiers& modifiers);
