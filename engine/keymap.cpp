// Placeholder body until this part is built.
#include "engine/keymap.h"

int VirtualKeyFromSdl(const SDL_Keysym& /*key*/) { return 0; }
