#pragma once
// A run of the built corsaro270-demo in a folder of its own, on SDL's off-screen driver, and what
// it left there: its exit status and standard streams, the screenshots (decoded), messages.txt,
// states.txt, flash dumps and the log. Scenario tests derive from DemoRun:
//
//   TEST_F(DemoRun, Something) {
//     ASSERT_EQ(Run("wait-state 6\nscreenshot main\n"), 0) << Stderr();
//     ImageArgb main = Screenshot("main");
//     ...
//   }

#include <gtest/gtest.h>

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/png_codec.h"

class DemoRun : public ::testing::Test {
 protected:
  void SetUp() override;
  // Removes the run's folder, unless the test failed: then its path is printed for a look.
  void TearDown() override;

  // Writes `script` to the test's folder and runs the demo with --script and --out OUT, after
  // the other `options`. Returns the exit status, or -1 when the demo crashed or did not end
  // within a minute.
  int Run(const std::string& script, const std::vector<std::string>& options = {});
  // Runs the demo with exactly these arguments.
  int RunWith(const std::vector<std::string>& arguments);
  // Runs the demo as Run does and sends it `signal` once OUT/`ready` exists. Returns the exit
  // status; -1 when it did not exit by itself (the signal or a crash ended it), when `ready` did
  // not appear, or when it did not end within a minute. With `maps`, it receives the demo's
  // /proc/PID/maps as they were just before the signal.
  int RunAndSignal(const std::string& script, const std::vector<std::string>& options,
                   const std::string& ready, int signal, std::string* maps = nullptr);

  // What the last run wrote to its standard error and standard output.
  std::string Stderr() const;
  std::string Stdout() const;
  // OUT/NAME.png decoded; empty when it is missing or not a PNG.
  ImageArgb Screenshot(const std::string& name) const;
  // The lines of OUT/messages.txt, without line ends.
  std::vector<std::string> Messages() const;
  // The (frame, state) pairs of OUT/states.txt.
  std::vector<std::pair<int, int>> States() const;
  // The bytes of OUT/NAME.bin.
  std::vector<std::uint8_t> Flash(const std::string& name) const;
  // OUT/Corsaro270.log.
  std::string Log() const;

  // A path in the test's folder, for files handed to the demo.
  std::string Path(const std::string& name) const;
  // The output folder of the runs.
  std::string Out() const;

  static std::string ReadFile(const std::string& path);
  static void WriteFile(const std::string& path, const std::string& bytes);
  // A flash file as corsaro270-cli --virtual and --flash keep it: "CS270VR1", the firmware
  // version and the product ID 0x0262 as little-endian words, zeros to 16 bytes, then the flash.
  static std::string FlashFile(std::uint16_t version, const std::string& flash);

 private:
  // Starts the demo with these arguments; 0 when it cannot start.
  pid_t Spawn(const std::vector<std::string>& arguments);
  // Waits for the demo to end, at most a minute; `poll` is called every few milliseconds meanwhile.
  int Wait(pid_t demo, const std::function<void()>& poll);

  std::string folder_;
};
