#pragma once
// What the no-receiver overlay adds when a receiver is plugged in but this user may not open it.

// The line naming the missing access and the command that gives it, or null when no receiver
// was refused (none is plugged in, or the last one opened). The text lives until the next call.
const char* ReceiverAccessLine();

// Draws that line, if there is one, in the small font, centred in the band of the window that
// starts at `top`.
void DrawReceiverAccessLine(int top);
