#include "tools/emu/emulator.h"

#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "device/firmware_version.h"
#include "device/hid_link.h"
#include "device/virtual_receiver.h"
#include "device/wheel_protocol.h"
#include "tools/emu/uhid_device.h"

namespace {

using Clock = std::chrono::steady_clock;

// A request's code, in a report that opens with the report-ID byte.
constexpr std::size_t kCodeOffset = 1 + kPayloadCodeOffset;
// A group of erases and writes ends when no request came for this long; the flash is saved then.
constexpr auto kGroupPause = std::chrono::milliseconds(150);
constexpr int kPollMs = 20;
constexpr int kReplyWaitMs = 50;

class Emulator {
 public:
  Emulator(const EmuOptions& options, std::FILE* out, std::FILE* err)
      : options_(options), out_(out), err_(err), receiver_("uhid", options.productId) {}

  int Run(const std::string& uhidNode);

 private:
  bool SetUp(const std::string& uhidNode);
  bool Plug();
  void Unplug(const char* why);
  void Replug();
  void Save();
  void PulledByFault();
  bool HandleSignal(int signalFd);
  void HandleInput();
  void HandleLine(const std::string& line);
  void ReadKernel();
  void ModelLoop();
  void ReplyLoop();
  void SaveAfterGroup();
  void RunAhead(bool warn);
  void Note(const char* format, const char* text);

  const EmuOptions& options_;
  std::FILE* out_;
  std::FILE* err_;
  VirtualReceiver receiver_;
  UhidDevice device_;
  std::mutex mutex_;
  std::mutex saveMutex_;
  std::condition_variable requested_;
  std::deque<std::vector<std::uint8_t>> requests_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> dirty_{false};
  std::atomic<bool> pulledByFault_{false};
  std::atomic<Clock::rep> lastChange_{0};
  VirtualReceiverFaults faults_;
  std::string inputLine_;
  bool inputOpen_ = true;
};

void Emulator::Note(const char* format, const char* text) {
  std::fprintf(out_, format, text);
  std::fflush(out_);
}

bool Emulator::SetUp(const std::string& uhidNode) {
  std::string why;
  if (!options_.flashFile.empty()) {
    struct stat status {};
    if (lstat(options_.flashFile.c_str(), &status) == 0 &&
        !receiver_.LoadFile(options_.flashFile, why)) {
      std::fprintf(err_, "corsaro270-emu: %s\n", why.c_str());
      return false;
    }
  }
  if (options_.versionSet) receiver_.SetFirmwareVersion(options_.firmwareVersion);
  faults_ = options_.faults;
  receiver_.SetFaults(faults_);
  receiver_.SetTiming(options_.usbPace ? VirtualTiming::kFullSpeed : VirtualTiming::kRealTime);
  if (!device_.Open(uhidNode, why)) {
    std::fprintf(err_, "corsaro270-emu: %s\n", why.c_str());
    return false;
  }
  return true;
}

bool Emulator::Plug() {
  receiver_.Plug();
  std::string why;
  if (!device_.Create(kReceiverVendorId, options_.productId, why)) {
    std::fprintf(err_, "corsaro270-emu: %s\n", why.c_str());
    return false;
  }
  char version[16];
  FormatFirmwareVersion(receiver_.FirmwareVersion(), version, sizeof version);
  std::fprintf(out_, "corsaro270-emu: receiver 2E7B:%04X plugged in, firmware v%s\n",
               options_.productId, version);
  std::fflush(out_);
  return true;
}

void Emulator::Unplug(const char* why) {
  {
    std::lock_guard lock(mutex_);
    requests_.clear();
  }
  receiver_.Unplug();
  if (!device_.Created()) return;
  device_.Destroy();
  // A receiver out of its port keeps its flash: the file says so from now on, before the note
  // that a watcher may act on.
  Save();
  Note("corsaro270-emu: receiver pulled out (%s)\n", why);
}

void Emulator::Replug() {
  Unplug("replug");
  Plug();
  // Plugging in installs a staged image.
  Save();
}

// The removal has happened; plugged in again, the receiver behaves.
void Emulator::PulledByFault() {
  Unplug("fault");
  faults_.removeAfterReports = -1;
  receiver_.SetFaults(faults_);
}

void Emulator::Save() {
  std::lock_guard lock(saveMutex_);
  dirty_ = false;
  if (options_.flashFile.empty()) return;
  std::string why;
  if (!receiver_.SaveFile(options_.flashFile, why))
    std::fprintf(err_, "corsaro270-emu: the flash was not saved: %s\n", why.c_str());
}

void Emulator::ReadKernel() {
  std::vector<std::uint8_t> report;
  bool isOutput = false;
  while (device_.ReadEvent(report, isOutput)) {
    if (!isOutput) continue;
    std::lock_guard lock(mutex_);
    requests_.push_back(report);
    requested_.notify_one();
  }
}

// Answers queued requests in order, at the model's pace.
void Emulator::ModelLoop() {
  RunAhead(false);
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (requests_.empty()) {
      requested_.wait_for(lock, std::chrono::milliseconds(kReplyWaitMs));
      // Saved here, not on the reader: a burst arriving during a save must still be read.
      lock.unlock();
      SaveAfterGroup();
      lock.lock();
      continue;
    }
    std::vector<std::uint8_t> report = std::move(requests_.front());
    requests_.pop_front();
    lock.unlock();
    const bool plugged = receiver_.Plugged();
    receiver_.Receive(receiver_.Generation(), report.data(), report.size());
    if (report.size() == kReportSize && (report[kCodeOffset] == kCommandWriteMemory ||
                                         report[kCodeOffset] == kCommandEraseSector)) {
      dirty_ = true;
      lastChange_ = Clock::now().time_since_epoch().count();
    }
    if (plugged && !receiver_.Plugged()) pulledByFault_ = true;
    lock.lock();
  }
}

// Hands every reply the model queued to the kernel as an input report.
void Emulator::ReplyLoop() {
  RunAhead(false);
  std::uint8_t report[kReportSize];
  while (!stopping_) {
    const HidReadResult result =
        receiver_.Take(receiver_.Generation(), report, sizeof report, kReplyWaitMs);
    if (result == HidReadResult::kOk) {
      device_.SendInput(report + 1, kReportSize - 1);
    } else if (result == HidReadResult::kError) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
  }
}

// uhid keeps only 32 output reports and drops the rest without telling the writer, which a real
// receiver's bus would have held back; so the emulator's threads run ahead of the writer where
// the system allows it. All of them: the reader waits for the others' lock.
void Emulator::RunAhead(bool warn) {
  sched_param priority{};
  priority.sched_priority = 1;
  if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority) != 0 && warn) {
    std::fputs(
        "corsaro270-emu: running without real-time priority: a burst of more than 32 "
        "reports may be lost\n",
        err_);
  }
}

void Emulator::SaveAfterGroup() {
  if (!dirty_) return;
  const Clock::time_point last{Clock::duration(lastChange_.load())};
  if (Clock::now() - last >= kGroupPause) Save();
}

bool Emulator::HandleSignal(int signalFd) {
  signalfd_siginfo info{};
  if (read(signalFd, &info, sizeof info) != sizeof info) return true;
  if (info.ssi_signo == SIGUSR1) {
    Replug();
    return true;
  }
  return false;
}

void Emulator::HandleLine(const std::string& line) {
  std::vector<std::string> words;
  std::string why;
  VirtualReceiverFaults faults = faults_;
  switch (ParseEmuCommand(line, words)) {
    case EmuCommand::kNone:
      return;
    case EmuCommand::kReplug:
      Replug();
      return;
    case EmuCommand::kUnplug:
      Unplug("unplug");
      return;
    case EmuCommand::kPlug:
      if (!device_.Created()) Plug();
      return;
    case EmuCommand::kFault:
      if (ApplyFault(words, receiver_.RequestCount(), faults, why)) {
        faults_ = faults;
        receiver_.SetFaults(faults_);
        Note("corsaro270-emu: fault %s set\n", line.c_str() + line.find("fault") + 6);
      } else {
        std::fprintf(err_, "corsaro270-emu: %s\n", why.c_str());
      }
      return;
    case EmuCommand::kBad:
      std::fprintf(err_, "corsaro270-emu: unknown command \"%s\" (replug, unplug, plug, fault)\n",
                   line.c_str());
      return;
  }
}

void Emulator::HandleInput() {
  char buffer[256];
  const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
  if (got <= 0) {
    inputOpen_ = got < 0 && (errno == EINTR || errno == EAGAIN);
    return;
  }
  inputLine_.append(buffer, static_cast<std::size_t>(got));
  for (std::size_t end; (end = inputLine_.find('\n')) != std::string::npos;) {
    const std::string line = inputLine_.substr(0, end);
    inputLine_.erase(0, end + 1);
    HandleLine(line);
  }
  if (inputLine_.size() > sizeof buffer) inputLine_.clear();  // no line is that long
}

int Emulator::Run(const std::string& uhidNode) {
  sigset_t signals;
  sigemptyset(&signals);
  for (int number : {SIGTERM, SIGINT, SIGHUP, SIGUSR1}) sigaddset(&signals, number);
  // Blocked before the threads start, so that every signal reaches the signalfd.
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  const int signalFd = signalfd(-1, &signals, SFD_CLOEXEC);
  if (signalFd < 0 || !SetUp(uhidNode) || !Plug()) return 1;
  std::thread model([this] { ModelLoop(); });
  std::thread replies([this] { ReplyLoop(); });
  RunAhead(true);
  for (bool running = true; running;) {
    pollfd entries[3] = {{device_.Fd(), POLLIN, 0},
                         {signalFd, POLLIN, 0},
                         {inputOpen_ ? STDIN_FILENO : -1, POLLIN, 0}};
    if (poll(entries, 3, kPollMs) < 0 && errno != EINTR) break;
    if (entries[0].revents & POLLIN) ReadKernel();
    if (entries[1].revents & POLLIN) running = HandleSignal(signalFd);
    if (entries[2].revents & (POLLIN | POLLHUP)) HandleInput();
    if (pulledByFault_.exchange(false)) PulledByFault();
  }
  stopping_ = true;
  requested_.notify_all();
  model.join();
  replies.join();
  Unplug("ended");
  Save();
  close(signalFd);
  return 0;
}

}  // namespace

int RunEmulator(const EmuOptions& options, const std::string& uhidNode, std::FILE* out,
                std::FILE* err) {
  Emulator emulator(options, out, err);
  return emulator.Run(uhidNode);
}
