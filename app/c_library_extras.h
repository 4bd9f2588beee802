#pragma once
// What the C libraries of the two systems offer differently: giving freed heap back to the
// system and naming a signal.

// Gives the heap's free pages back to the system where the C library can (glibc's malloc_trim).
void ReturnFreeHeap();
// The signal's name for a log line ("Terminated").
const char* SignalName(int number);
