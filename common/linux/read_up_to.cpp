#include "common/linux/read_up_to.h"

#include <unistd.h>

#include <cerrno>

long ReadUpTo(int fd, std::uint8_t* bytes, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = read(fd, bytes + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<long>(got);
}
