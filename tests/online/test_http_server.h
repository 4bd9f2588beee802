#pragma once
// A small HTTP/1.0 server on 127.0.0.1 for download tests. It listens on a free port, answers one
// connection at a time on its own thread, and stops when destroyed.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TestHttpResponse {
  int status = 200;
  std::string body;
  std::string headers;   // extra header lines, each ending in "\r\n"
  bool silent = false;   // accept the request and never answer
  bool endless = false;  // send body repeatedly until the client goes away
};

class TestHttpServer {
 public:
  using Handler = std::function<TestHttpResponse(const std::string& path)>;

  explicit TestHttpServer(Handler handler);
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  // True when the server is listening.
  bool Running() const { return listener_ >= 0; }
  // "http://127.0.0.1:<port>" followed by path.
  std::string Url(const std::string& path) const;
  // The request head of the last request received.
  std::string LastRequest();
  int RequestCount() const { return requests_; }

 private:
  void Serve();
  void Answer(int client);

  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0};
  std::mutex mutex_;
  std::string lastRequest_;
  std::vector<int> silentClients_;
  std::thread thread_;
};

// Serves the files below root; unknown paths and paths with ".." get a 404 page.
TestHttpResponse ServeFolder(const std::string& root, const std::string& path);
