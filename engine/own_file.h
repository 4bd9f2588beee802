#pragma once
// Opening a file to write in a folder that someone else may have prepared: never through a
// symbolic link, never a FIFO or device, never a file another user owns or that has other names
// (a hard link), so a planted name cannot turn the write against the user.

#include <cstdio>

// Opens `path` for writing (created 0666 less the umask when missing), emptied unless `append`.
// Null, with errno set, when it cannot be opened or is not a file of the user's own alone.
std::FILE* OpenOwnFileForWriting(const char* path, bool append);
