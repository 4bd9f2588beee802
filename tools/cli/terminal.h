#pragma once
// Whether the tool's output goes to a terminal that can redraw a line, and where its help says the
// automatic backups are kept: the platform's part of the tool (linux/, win32/).

#include <cstdio>

// True when `stream` is a terminal that takes the "\r" and "\033[K" a redrawn line needs. On
// Windows that is a console, switched to take such sequences.
bool IsRedrawingTerminal(std::FILE* stream);

// The backups' folder as the help names it.
extern const char kBackupFolderHelp[];
