#pragma once
// The platform's part of downloads (linux/: libcurl, win32/: WinINet), behind HttpGet and the
// file address reader.

#include <atomic>
#include <cstddef>
#include <string>

#include "online/http_download.h"

// Fetches an address that is not a file: address as HttpGet does, with `body` and `error` empty
// on entry.
bool NetworkGet(const char* address, std::size_t limit, const DownloadTimeouts& timeouts,
                std::string& body, std::string& error, const std::atomic<bool>* cancel);

// The local path a file: address names, decoded, in the platform's form ("/home/…" on Linux,
// "C:/…" on Windows); false, with `error`, when it names none.
bool FileAddressPath(const char* address, std::string& path, std::string& error);
