#pragma once
// The debugger output of the wheel link. On Linux there is no debugger channel, so the lines go to
// standard error, and only when the environment variable CORSARO_DEBUG is set.

// Writes `text` unchanged to the debug output.
void DebugOutput(const char* text);
