#pragma once
// A FIFO that nobody writes, as a hostile "file", and a bounded call around code that must not
// wait on it: a reader that does block in open() is let go by opening the FIFO for writing, so
// a failing test ends instead of hanging.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

class TestFifo {
 public:
  explicit TestFifo(std::string path) : path_(std::move(path)) {
    unlink(path_.c_str());
    made_ = mkfifo(path_.c_str(), 0600) == 0;
  }
  ~TestFifo() { unlink(path_.c_str()); }
  TestFifo(const TestFifo&) = delete;
  TestFifo& operator=(const TestFifo&) = delete;

  bool Made() const { return made_; }
  const std::string& Path() const { return path_; }
  std::string Address() const { return "file://" + path_; }

  // Wakes a reader blocked in open(): it then reads an empty file.
  void ReleaseReaders() const {
    const int fd = open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) close(fd);
  }

  // Runs call on a thread of its own and waits at most `limit` for it. False when it took longer;
  // the call is then let go through the FIFO and waited for.
  template <typename Call>
  bool Within(std::chrono::milliseconds limit, Call call) const {
    std::packaged_task<void()> task(std::move(call));
    std::future<void> done = task.get_future();
    std::thread runner(std::move(task));
    const bool inTime = done.wait_for(limit) == std::future_status::ready;
    while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
      ReleaseReaders();
    }
    runner.join();
    return inTime;
  }

 private:
  std::string path_;
  bool made_ = false;
};
