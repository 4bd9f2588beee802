#pragma once
// One line into the engine's log file, through a short-lived engine reference. Silently skipped
// when no engine can be had.

// Formats like printf and hands the text to the engine's log.
void LogToEngine(const char* format, ...) __attribute__((format(printf, 1, 2)));
