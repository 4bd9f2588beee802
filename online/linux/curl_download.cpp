// Downloads on Linux: the only place that transfers with libcurl.
#include <curl/curl.h>

#include <algorithm>
#include <mutex>

#include "online/http_download.h"
#include "online/platform_download.h"

namespace {

constexpr long kMaxRedirects = 5;
// File addresses never reach libcurl: its open() would wait for ever on a FIFO. A server must not
// be able to send us to a local file either.
constexpr char kAllowedProtocols[] = "http,https";

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Sink {
  std::string* body;
  std::size_t limit;
  bool cut = false;
};

std::size_t WriteBody(char* data, std::size_t size, std::size_t count, void* user) {
  Sink& sink = *static_cast<Sink*>(user);
  std::size_t bytes = size * count;
  std::size_t room = sink.limit - sink.body->size();
  sink.body->append(data, std::min(bytes, room));
  if (bytes <= room) return bytes;
  // Returning short ends the transfer: nothing past the limit is ever read.
  sink.cut = true;
  return 0;
}

// libcurl calls this often, also while it waits for a silent server; nonzero aborts.
int CheckCancel(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* cancel = static_cast<const std::atomic<bool>*>(user);
  return cancel->load() ? 1 : 0;
}

void WatchCancel(CURL* curl, const std::atomic<bool>* cancel) {
  if (cancel == nullptr) return;
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, CheckCancel);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(cancel));
}

void Configure(CURL* curl, const char* address, const DownloadTimeouts& timeouts, Sink& sink,
               char* errorBuffer) {
  curl_easy_setopt(curl, CURLOPT_URL, address);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kDownloadAgent);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, kAllowedProtocols);
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, kAllowedProtocols);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connectMs);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeouts.transferMs);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
}

}  // namespace

bool NetworkGet(const char* address, std::size_t limit, const DownloadTimeouts& timeouts,
                std::string& body, std::string& error, const std::atomic<bool>* cancel) {
  InitCurlOnce();
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    error = "cannot start a transfer";
    return false;
  }
  char errorBuffer[CURL_ERROR_SIZE] = {};
  Sink sink{&body, limit};
  Configure(curl, address, timeouts, sink, errorBuffer);
  WatchCancel(curl, cancel);
  CURLcode code = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  if (code == CURLE_OK || (code == CURLE_WRITE_ERROR && sink.cut)) return true;
  error = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(code);
  body.clear();
  return false;
}

bool ResolveAddress(const char* base, const char* reference, std::string& out) {
  if (base == nullptr || reference == nullptr) return false;
  CURLU* url = curl_url();
  if (url == nullptr) return false;
  bool ok = curl_url_set(url, CURLUPART_URL, base, 0) == CURLUE_OK &&
            curl_url_set(url, CURLUPART_URL, reference, 0) == CURLUE_OK;
  char* resolved = nullptr;
  if (ok) ok = curl_url_get(url, CURLUPART_URL, &resolved, 0) == CURLUE_OK;
  if (ok) out = resolved;
  curl_free(resolved);
  curl_url_cleanup(url);
  return ok;
}

bool FileAddressPath(const char* address, std::string& path, std::string& error) {
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
