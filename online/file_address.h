#pragma once
// Reading the body of a file: address ourselves instead of through libcurl, whose open() would
// wait for ever on a FIFO nobody writes. Only regular files are read; a FIFO, a device or a
// folder is refused before a byte is read, and the name is never opened in a way that can block.

#include <atomic>
#include <cstddef>
#include <string>

// Whether address has the file: scheme (in any letter case).
bool IsFileAddress(const char* address);

// Reads the regular file a file: address names (the host, if any, must be "localhost") into
// body, keeping at most limit bytes: a longer file is cut there. Fails, with a short reason in
// error, when the address cannot be understood, the file cannot be opened or read, or it is not
// a regular file. A `cancel` flag that becomes true ends the read as a failure.
bool ReadFileAddress(const char* address, std::size_t limit, std::string& body, std::string& error,
                     const std::atomic<bool>* cancel = nullptr);
