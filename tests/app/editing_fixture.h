#pragma once
// The built main screen with its virtual receiver plugged in, so that it shows the factory
// profiles of a fresh receiver in AppState 6; input goes through the frame function, dialogs
// answer from the test.

#include <cstdint>
#include <vector>

#include "tests/app/main_screen_fixture.h"

class EditingTest : public MainScreenTest {
 protected:
  void SetUp() override {
    MainScreenTest::SetUp();
    Plug();
    ASSERT_EQ(AppState, 6);
  }

  // One frame with the button held at (x, y).
  bool HoldAt(float x, float y) {
    Press(x, y);
    return Frame();
  }
  // One frame with the button up at (x, y).
  bool UpAt(float x, float y) {
    engine.input.BuildEvent(EVENT_MOUSE_MOVE, 0, 0, 0, x, y);
    Release(x, y);
    return Frame();
  }
  bool Click(float x, float y) {
    HoldAt(x, y);
    return UpAt(x, y);
  }
  // A press at the start, a few frames moving with the button held, the release at the end.
  void DragFromTo(float x1, float y1, float x2, float y2) {
    HoldAt(x1, y1);
    for (int step = 1; step <= 4; ++step) {
      HoldAt(x1 + (x2 - x1) * step / 4, y1 + (y2 - y1) * step / 4);
    }
    UpAt(x2, y2);
  }
  // Frames with the button up until AppState is 6 again; how many ran.
  int FramesUntilMainScreen() {
    int frames = 0;
    while (AppState != 6 && frames < 200) {
      UpAt(500, 400);
      ++frames;
    }
    return frames;
  }

  std::vector<std::uint8_t> FlashBytes(std::uint32_t address, std::uint32_t length) const {
    std::vector<std::uint8_t> bytes(length);
    receiver.ReadFlash(address, bytes.data(), length);
    return bytes;
  }

  // Window pixels inside the widgets and tiles the tests press.
  static constexpr float kDisc1X = 809, kDisc2X = 870, kDisc3X = 932, kDiscY = 35;
  static constexpr float kClearX = 84, kAssignX = 199, kResetX = 308, kBarY = 520;
  static constexpr float kLoadX = 595, kSaveX = 663, kFileY = 35;
  static constexpr float kRearLightX = 419, kFrontLightX = 513;
  static constexpr float kHighDotX = 639, kDotY = 541;
  static constexpr float kTileAX = 715, kTileAY = 530;  // palette tile A at (702, 515)
  // Control 5 (slot 14), showing B in factory profile 1: its polygon and its label above.
  static constexpr float kControl5X = 588, kControl5Y = 272;
  static constexpr float kLabel5X = 588, kLabel5Y = 235;
  // Control 7 (slot 16), showing Y.
  static constexpr float kControl7X = 431, kControl7Y = 272;
};
