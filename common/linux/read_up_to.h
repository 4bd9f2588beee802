#pragma once
// Reading a whole small file from a descriptor, past the short reads a pipe or a signal can give.

#include <cstddef>
#include <cstdint>

// Reads until `size` bytes arrived or the file ended; the count read, or -1 on an error.
long ReadUpTo(int fd, std::uint8_t* bytes, std::size_t size);
