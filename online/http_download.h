#pragma once
// Whole-body downloads over http, https and file addresses. This is the only place that transfers
// with libcurl. Every transfer has a connect time-out and a whole-transfer time-out, so a server
// that accepts the connection and never answers cannot hold the program; file addresses are read
// without libcurl, and only when they name a regular file, so a FIFO cannot hold it either.

#include <atomic>
#include <cstddef>
#include <string>

// Agent name sent with every request.
extern const char kDownloadAgent[];

struct DownloadTimeouts {
  long connectMs;   // to establish the connection
  long transferMs;  // for the whole transfer, connection included
};

// The time-outs every download uses from now on (by default a few seconds each).
void SetDownloadTimeouts(const DownloadTimeouts& timeouts);
DownloadTimeouts GetDownloadTimeouts();

// Fetches the body at address into body, keeping at most limit bytes: a longer body is cut there
// and the rest is not read. Fails, with a short reason in error, on a network error, a time-out,
// an HTTP status of 400 or above, a file address that names no regular file, or an address that
// is not http, https or file. Uses the time-outs set with SetDownloadTimeouts. When `cancel` is
// given and becomes true the transfer stops within about a second and fails.
bool HttpGet(const char* address, std::size_t limit, std::string& body, std::string& error,
             const std::atomic<bool>* cancel = nullptr);
// The same with time-outs of its own; safe to call from any thread.
bool HttpGet(const char* address, std::size_t limit, const DownloadTimeouts& timeouts,
             std::string& body, std::string& error, const std::atomic<bool>* cancel = nullptr);

// Resolves reference against base the way a browser does (an absolute reference stays as it is)
// into out. False when either cannot be understood.
bool ResolveAddress(const char* base, const char* reference, std::string& out);
