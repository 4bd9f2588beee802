#pragma once
// Writes one line to the program's log through the engine, when there is an engine to take it.

// printf-style; does nothing while no engine exists.
void OnlineLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
