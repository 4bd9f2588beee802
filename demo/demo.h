#pragma once
// corsaro270-demo: the customiser itself, with the same start-up, frames, screens and device
// changes, on a virtual receiver and the bundled presets, optionally driven by a script.

// Exit statuses.
inline constexpr int kDemoExitOk = 0;
// No window, the flash file could not be written, or another program holds it.
inline constexpr int kDemoExitFailure = 1;
inline constexpr int kDemoExitUsage = 2;   // bad options
inline constexpr int kDemoExitScript = 3;  // a script error
// 128 + N: ended by signal N (SIGTERM, SIGINT or SIGHUP), as the customiser reports it.

// The device node the virtual receiver is reached at without a flash file; with one it is
// "virtual:FILE", as corsaro270-cli --virtual names it.
inline constexpr const char* kDemoReceiverPath = "/dev/hidraw-demo";

// Runs the demo with its command line (see PrintDemoUsage); returns the exit status.
int RunDemo(int argc, char** argv);
