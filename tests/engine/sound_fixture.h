#pragma once
// The engine with a window and sound switched on, mixing into a file through SDL's disk audio
// driver (SDL_AUDIODRIVER=disk, SDL_DISKAUDIOFILE), which paces itself like a sound card. The
// output is 16-bit stereo at 22050 Hz; tests read it back after sound stops and the file closes.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_impl.h"
#include "tests/engine/system_test_support.h"

// One frame of the mixed output.
struct StereoFrame {
  std::int16_t left, right;
};

// A WAV file of 16-bit stereo PCM whose every frame is +amplitude or -amplitude on both sides,
// the sign turning every 50 frames: a square wave with no silent frame in it.
inline std::vector<unsigned char> SquareWav(int rate, int frames, std::int16_t amplitude) {
  const std::uint32_t dataSize = static_cast<std::uint32_t>(frames) * 4;
  std::vector<unsigned char> bytes(44 + dataSize);
  std::size_t at = 0;
  auto little = [&](std::uint32_t v, int count) {
    for (int i = 0; i < count; ++i) bytes[at++] = static_cast<unsigned char>(v >> (8 * i));
  };
  auto text = [&](const char* four) {
    for (int i = 0; i < 4; ++i) bytes[at++] = static_cast<unsigned char>(four[i]);
  };
  auto u32 = [&](std::uint32_t v) { little(v, 4); };
  auto u16 = [&](std::uint16_t v) { little(v, 2); };
  text("RIFF");
  u32(36 + dataSize);
  text("WAVE");
  text("fmt ");
  u32(16);                                    // size of the format block
  u16(1);                                     // PCM
  u16(2);                                     // channels
  u32(static_cast<std::uint32_t>(rate));      // frames per second
  u32(static_cast<std::uint32_t>(rate) * 4);  // bytes per second
  u16(4);                                     // bytes per frame
  u16(16);                                    // bits per sample
  text("data");
  u32(dataSize);
  for (int i = 0; i < frames; ++i) {
    const auto value = static_cast<std::uint16_t>((i / 50) % 2 == 0 ? amplitude : -amplitude);
    u16(value);
    u16(value);
  }
  return bytes;
}

inline int LoudFrames(const std::vector<StereoFrame>& frames) {
  int loud = 0;
  for (const StereoFrame& frame : frames) loud += frame.left != 0 || frame.right != 0;
  return loud;
}

inline int Peak(const std::vector<StereoFrame>& frames) {
  int peak = 0;
  for (const StereoFrame& frame : frames) {
    peak = std::max({peak, std::abs(frame.left), std::abs(frame.right)});
  }
  return peak;
}

class SoundTest : public ::testing::Test {
 protected:
  static constexpr int kRate = 22050;

  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ASSERT_FALSE(folder.Path().empty());
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    hadDriver_ = driver != nullptr;
    if (hadDriver_) savedDriver_ = driver;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (folder / "mixed.raw").c_str(), 1);
    engine->System_SetState(STATE_LOG_FILE, (folder / "sound.log").c_str());
    engine->System_SetState(STATE_WINDOWED, true);
    engine->System_SetState(STATE_SCREEN_WIDTH, 64);
    engine->System_SetState(STATE_SCREEN_HEIGHT, 48);
    engine->System_SetState(STATE_SAMPLE_RATE, kRate);
    // Off until the window exists: switching it on then starts sound.
    engine->System_SetState(STATE_SOUND, false);
    ASSERT_TRUE(engine->OpenWindow(false)) << engine->System_LastError();
  }

  void TearDown() override {
    if (engine->window != nullptr) engine->System_Shutdown();
    if (hadDriver_) {
      setenv("SDL_AUDIODRIVER", savedDriver_.c_str(), 1);
    } else {
      unsetenv("SDL_AUDIODRIVER");
    }
  }

  // Switches sound on; true when it plays into the output file.
  bool SoundOn() {
    engine->System_SetState(STATE_SOUND, true);
    return engine->soundLibrary != nullptr && !engine->soundSilent;
  }

  // Switches sound off, which closes the output file, and reads what was mixed into it.
  std::vector<StereoFrame> SoundOffAndRead() {
    engine->System_SetState(STATE_SOUND, false);
    const std::string bytes = ReadFileText(folder / "mixed.raw");
    std::vector<StereoFrame> frames(bytes.size() / sizeof(StereoFrame));
    std::memcpy(frames.data(), bytes.data(), frames.size() * sizeof(StereoFrame));
    return frames;
  }

  SampleHandle LoadSquare(int frames, std::int16_t amplitude = 12000) {
    const std::vector<unsigned char> wav = SquareWav(kRate, frames, amplitude);
    return api->Sound_LoadSample(reinterpret_cast<const char*>(wav.data()),
                                 static_cast<std::uint32_t>(wav.size()));
  }

  // Waits, with the audio thread running, until the condition holds; false after the time out.
  template <typename Condition>
  static bool WaitFor(Condition condition, int timeoutMs = 3000) {
    const Uint32 start = SDL_GetTicks();
    while (!condition()) {
      if (SDL_GetTicks() - start > static_cast<Uint32>(timeoutMs)) return false;
      SDL_Delay(5);
    }
    return true;
  }

  std::string Log() { return ReadFileText(folder / "sound.log"); }

  ScratchFolder folder;
  std::unique_ptr<EngineImpl> engine = std::make_unique<EngineImpl>();
  Engine* api = engine.get();  // the operations as the program calls them

 private:
  bool hadDriver_ = false;
  std::string savedDriver_;
};
