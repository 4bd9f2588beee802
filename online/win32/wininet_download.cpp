// Downloads on Windows: the only place that transfers with WinINet. WinINet's own time-outs do
// not bound a whole transfer, nor does it look at a cancel flag, and closing a handle another
// thread waits in is not sure to end the wait; so each transfer runs on a worker of its own, and
// the caller waits for it only as long as the time-outs and the flag allow.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "common/win32/wide_text.h"
#include "online/http_download.h"
#include "online/platform_download.h"

namespace {

constexpr std::size_t kChunk = 16384;
constexpr auto kCancelPoll = std::chrono::milliseconds(50);
constexpr DWORD kRequestFlags = INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE |
                                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH;

// WinINet's messages live in wininet.dll, not in the system's table.
std::string InternetErrorText(DWORD code) {
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      GetModuleHandleW(L"wininet.dll"), code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::string text;
  if (length > 0) text = Utf8Text(std::wstring(message, length));
  LocalFree(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
    text.pop_back();
  return text.empty() ? "network error " + std::to_string(code) : text;
}

bool HasScheme(const char* address, const char* scheme) {
  const std::size_t length = std::strlen(scheme);
  return _strnicmp(address, scheme, length) == 0;
}

// One transfer, shared by the caller and the worker that runs it: a worker the caller stopped
// waiting for finishes on its own, by WinINet's time-outs, touching nothing but this.
struct Job {
  std::string address;
  std::size_t limit = 0;
  DownloadTimeouts timeouts{};
  std::mutex mutex;
  std::condition_variable ended;
  bool finished = false;
  bool done = false;
  std::string body;
  std::string error;
};

void SetTimeouts(HINTERNET session, const DownloadTimeouts& timeouts) {
  DWORD connect = static_cast<DWORD>(timeouts.connectMs);
  DWORD transfer = static_cast<DWORD>(timeouts.transferMs);
  InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
  InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &transfer, sizeof transfer);
  InternetSetOptionW(session, INTERNET_OPTION_SEND_TIMEOUT, &transfer, sizeof transfer);
}

DWORD StatusOf(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr)) {
    return 0;
  }
  return status;
}

// Reads the body, keeping at most `limit` bytes; nothing past the limit is asked for.
bool ReadBody(HINTERNET request, std::size_t limit, std::string& body) {
  char chunk[kChunk];
  while (body.size() < limit) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min(sizeof chunk, limit - body.size()));
    if (!InternetReadFile(request, chunk, want, &got)) return false;
    if (got == 0) break;
    body.append(chunk, got);
  }
  return true;
}

// The transfer inside an open session; false, with `error`, when it fails.
bool Transfer(HINTERNET session, const std::string& address, std::size_t limit, std::string& body,
              std::string& error) {
  HINTERNET request =
      InternetOpenUrlW(session, WideText(address).c_str(), nullptr, 0, kRequestFlags, 0);
  if (request == nullptr) {
    error = InternetErrorText(GetLastError());
    return false;
  }
  const DWORD status = StatusOf(request);
  bool done = false;
  if (status >= 400) {
    error = "The requested URL returned error: " + std::to_string(status);
  } else if (!ReadBody(request, limit, body)) {
    error = InternetErrorText(GetLastError());
  } else {
    done = true;
  }
  InternetCloseHandle(request);
  return done;
}

void Run(const std::shared_ptr<Job>& job) {
  std::string body;
  std::string error;
  bool done = false;
  HINTERNET session = InternetOpenW(WideText(kDownloadAgent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG,
                                    nullptr, nullptr, 0);
  if (session == nullptr) {
    error = "cannot start a transfer: " + InternetErrorText(GetLastError());
  } else {
    SetTimeouts(session, job->timeouts);
    done = Transfer(session, job->address, job->limit, body, error);
    InternetCloseHandle(session);
  }
  std::lock_guard lock(job->mutex);
  job->done = done;
  job->body = std::move(body);
  job->error = std::move(error);
  job->finished = true;
  job->ended.notify_all();
}

// Waits for the worker until it finishes, the transfer's time is up or `cancel` is set; false,
// with `error`, for the last two.
bool Await(Job& job, const std::atomic<bool>* cancel, std::string& error) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(job.timeouts.transferMs);
  std::unique_lock lock(job.mutex);
  while (!job.finished) {
    if (cancel != nullptr && cancel->load()) {
      error = "cancelled";
      return false;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      error =
          "Operation timed out after " + std::to_string(job.timeouts.transferMs) + " milliseconds";
      return false;
    }
    job.ended.wait_for(lock, kCancelPoll);
  }
  return true;
}

}  // namespace

bool NetworkGet(const char* address, std::size_t limit, const DownloadTimeouts& timeouts,
                std::string& body, std::string& error, const std::atomic<bool>* cancel) {
  // A server must not be able to send us to a local file, nor another scheme take us anywhere.
  if (!HasScheme(address, "http://") && !HasScheme(address, "https://")) {
    error = "Protocol not supported: only http, https and file addresses are";
    return false;
  }
  auto job = std::make_shared<Job>();
  job->address = address;
  job->limit = limit;
  job->timeouts = timeouts;
  try {
    std::thread(Run, job).detach();
  } catch (const std::system_error&) {
    error = "cannot start a transfer";
    return false;
  }
  if (!Await(*job, cancel, error)) return false;
  std::lock_guard lock(job->mutex);
  if (!job->done) {
    error = job->error;
    return false;
  }
  body = std::move(job->body);
  return true;
}

bool ResolveAddress(const char* base, const char* reference, std::string& out) {
  if (base == nullptr || reference == nullptr) return false;
  wchar_t resolved[INTERNET_MAX_URL_LENGTH];
  DWORD length = INTERNET_MAX_URL_LENGTH;
  if (!InternetCombineUrlW(WideText(base).c_str(), WideText(reference).c_str(), resolved, &length,
                           ICU_NO_ENCODE)) {
    return false;
  }
  out = Utf8Text(std::wstring(resolved, length));
  return true;
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool PercentDecode(const std::string& text, std::string& decoded) {
  decoded.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      decoded.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) return false;
    const int high = HexValue(text[i + 1]);
    const int low = HexValue(text[i + 2]);
    if (high < 0 || low < 0) return false;
    decoded.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return decoded.find('\0') == std::string::npos;
}

bool IsDrivePath(const std::string& path) {
  return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
         (path[2] == '/' || path[2] == '\\');
}

}  // namespace

// file:///C:/folder/name, file://localhost/C:/folder/name and file://C:/folder/name name
// C:/folder/name; a query or a fragment is no part of the path.
bool FileAddressPath(const char* address, std::string& path, std::string& error) {
  std::string rest(address + 5);  // past "file:"
  rest = rest.substr(0, rest.find_first_of("?#"));
  if (rest.rfind("//", 0) == 0) {
    const std::size_t slash = rest.find('/', 2);
    const std::string host = rest.substr(2, slash == std::string::npos ? slash : slash - 2);
    // file://C:/folder/name: a drive where the host would be, as people write it.
    const bool drive = host.size() == 2 && host[1] == ':';
    if (drive) {
      rest.erase(0, 2);
    } else if (!host.empty() && _stricmp(host.c_str(), "localhost") != 0) {
      error = "not a local file address";
      return false;
    } else {
      rest = slash == std::string::npos ? std::string() : rest.substr(slash);
    }
  }
  std::string decoded;
  if (!PercentDecode(rest, decoded)) {
    error = "cannot read the address";
    return false;
  }
  if (!decoded.empty() && decoded[0] == '/') decoded.erase(0, 1);
  if (!IsDrivePath(decoded)) {
    error = "not a local file address";
    return false;
  }
  path = decoded;
  return true;
}
