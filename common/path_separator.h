#pragma once
// What separates a folder from a name in the paths the program makes: '/' on Linux, '\' on
// Windows (which takes '/' too, but shows its own in messages).

extern const char kPathSeparator[];
