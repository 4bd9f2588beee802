#include "online/file_address.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t kChunk = 16384;

// The local path a file: address names, decoded; false when it names none.
bool LocalPath(const char* address, std::string& path, std::string& error) {
  CURLU* url = curl_url();
  if (url == nullptr) {
    error = "cannot read the address";
    return false;
  }
  char* decoded = nullptr;
  const bool ok = curl_url_set(url, CURLUPART_URL, address, 0) == CURLUE_OK &&
                  curl_url_get(url, CURLUPART_PATH, &decoded, CURLU_URLDECODE) == CURLUE_OK;
  if (ok) path = decoded;
  curl_free(decoded);
  curl_url_cleanup(url);
  if (!ok || path.empty() || path[0] != '/') {
    error = "not a local file address";
    return false;
  }
  return true;
}

std::string Failure(const std::string& path, const char* why) {
  return path + ": " + why;
}

// Opens path for reading without waiting on it, and keeps the descriptor only when it is a
// regular file. The name is looked at first so that a device is not even opened, and the open
// descriptor again because the name may have been swapped in between.
int OpenRegularFile(const std::string& path, std::string& error) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    error = Failure(path, std::strerror(errno));
    return -1;
  }
  if (!S_ISREG(status.st_mode)) {
    error = Failure(path, "not a regular file");
    return -1;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = Failure(path, std::strerror(errno));
    return -1;
  }
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    error = Failure(path, "not a regular file");
    return -1;
  }
  return fd;
}

bool ReadAll(int fd, std::size_t limit, std::string& body, std::string& error,
             const std::atomic<bool>* cancel) {
  char chunk[kChunk];
  while (body.size() < limit) {
    if (cancel != nullptr && cancel->load()) {
      error = "cancelled";
      return false;
    }
    const ssize_t n = read(fd, chunk, std::min(sizeof chunk, limit - body.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = std::strerror(errno);
      return false;
    }
    if (n == 0) break;
    body.append(chunk, static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

bool IsFileAddress(const char* address) {
  return address != nullptr && strncasecmp(address, "file:", 5) == 0;
}

bool ReadFileAddress(const char* address, std::size_t limit, std::string& body, std::string& error,
                     const std::atomic<bool>* cancel) {
  body.clear();
  error.clear();
  std::string path;
  if (!LocalPath(address, path, error)) return false;
  const int fd = OpenRegularFile(path, error);
  if (fd < 0) return false;
  const bool read = ReadAll(fd, limit, body, error, cancel);
  close(fd);
  if (!read) {
    if (error != "cancelled") error = Failure(path, error.c_str());
    body.clear();
  }
  return read;
}
