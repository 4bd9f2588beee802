#include "tests/online/test_http_server.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// Winsock has the same calls under other names; its sockets are handles that fit in an int.
#ifdef _WIN32
constexpr int kNoSignal = 0;
using AddressLength = int;
int PollSocket(pollfd* fds, int timeoutMs) {
  return WSAPoll(fds, 1, timeoutMs);
}
void CloseSocket(int socket) {
  closesocket(static_cast<SOCKET>(socket));
}
int AcceptClient(int listener) {
  const SOCKET client = accept(static_cast<SOCKET>(listener), nullptr, nullptr);
  return client == INVALID_SOCKET ? -1 : static_cast<int>(client);
}
int OpenSocket() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  const SOCKET opened = started ? socket(AF_INET, SOCK_STREAM, 0) : INVALID_SOCKET;
  return opened == INVALID_SOCKET ? -1 : static_cast<int>(opened);
}
#else
constexpr int kNoSignal = MSG_NOSIGNAL;
using AddressLength = socklen_t;
int PollSocket(pollfd* fds, int timeoutMs) {
  return poll(fds, 1, timeoutMs);
}
void CloseSocket(int socket) {
  close(socket);
}
int AcceptClient(int listener) {
  return accept(listener, nullptr, nullptr);
}
int OpenSocket() {
  return socket(AF_INET, SOCK_STREAM, 0);
}
#endif

constexpr int kPollMs = 20;
constexpr int kRequestWaitMs = 2000;
constexpr std::size_t kMaxRequestHead = 8192;
constexpr std::size_t kMaxEndlessBytes = 64u << 20;

const char* StatusText(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    default:
      return "Error";
  }
}

bool SendAll(int socket, const std::string& data) {
  std::size_t sent = 0;
  while (sent < data.size()) {
    const auto n =
        send(socket, data.data() + sent, static_cast<int>(data.size() - sent), kNoSignal);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

// Reads up to the blank line that ends the request head, waiting a bounded time.
std::string ReadRequestHead(int client) {
  std::string head;
  char chunk[1024];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxRequestHead) {
    pollfd pfd{};
    pfd.fd = static_cast<decltype(pfd.fd)>(client);
    pfd.events = POLLIN;
    if (PollSocket(&pfd, kRequestWaitMs) <= 0) break;
    const auto n = recv(client, chunk, sizeof chunk, 0);
    if (n <= 0) break;
    head.append(chunk, static_cast<std::size_t>(n));
  }
  return head;
}

std::string PathOf(const std::string& head) {
  std::istringstream line(head.substr(0, head.find("\r\n")));
  std::string method, path;
  line >> method >> path;
  return path;
}

}  // namespace

TestHttpServer::TestHttpServer(Handler handler) : handler_(std::move(handler)) {
  int listener = OpenSocket();
  if (listener < 0) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  AddressLength length = sizeof address;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, 16) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    CloseSocket(listener);
    return;
  }
  listener_ = listener;
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

TestHttpServer::~TestHttpServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  for (int client : silentClients_) CloseSocket(client);
  if (listener_ >= 0) CloseSocket(listener_);
}

std::string TestHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string TestHttpServer::LastRequest() {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastRequest_;
}

void TestHttpServer::Serve() {
  while (!stop_) {
    pollfd pfd{};
    pfd.fd = static_cast<decltype(pfd.fd)>(listener_);
    pfd.events = POLLIN;
    if (PollSocket(&pfd, kPollMs) <= 0) continue;
    int client = AcceptClient(listener_);
    if (client >= 0) Answer(client);
  }
}

void TestHttpServer::Answer(int client) {
  std::string head = ReadRequestHead(client);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lastRequest_ = head;
  }
  ++requests_;
  TestHttpResponse response = handler_(PathOf(head));
  if (response.silent) {
    silentClients_.push_back(client);  // closed only when the server stops
    return;
  }
  std::string reply = "HTTP/1.0 " + std::to_string(response.status) + " " +
                      StatusText(response.status) + "\r\n" + response.headers;
  if (!response.endless)
    reply += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  reply += "Connection: close\r\n\r\n";
  bool open = SendAll(client, reply);
  if (!response.endless) {
    SendAll(client, response.body);
  } else {
    for (std::size_t sent = 0; open && !stop_ && sent < kMaxEndlessBytes;
         sent += response.body.size()) {
      open = SendAll(client, response.body);
    }
  }
  CloseSocket(client);
}

TestHttpResponse ServeFolder(const std::string& root, const std::string& path) {
  TestHttpResponse response;
  std::ifstream file;
  if (path.find("..") == std::string::npos) file.open(root + path, std::ios::binary);
  if (!file) {
    response.status = 404;
    response.body = "<html><body><h1>404 Not Found</h1></body></html>";
    return response;
  }
  response.body.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return response;
}
