// Placeholder bodies until this part is built.
#include "engine/input.h"

void Input::Initiate() {}
void Input::BuildEvent(int, int, int, int, float, float) {}
void Input::UpdateMouseInside() {}
void Input::ClearFrame() {}
