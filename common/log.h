#pragma once
// The program's one log entry point. Lines go to a sink that start-up points at the engine's log
// file; before that, after tear-down and in programs that set no sink, they go nowhere.

// Receives one formatted line.
using LogSink = void (*)(const char* line);

// Makes `sink` receive every line logged from now on; null drops them.
void SetLogSink(LogSink sink);

// Formats like printf and hands the line (cut at 1023 bytes) to the sink; does nothing without
// one. Safe to call from any thread.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
