// Synthetic window events through the engine's input part, read back through the Input_
// operations the program uses.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_impl.h"
#include "platform/sdl/sdl_platform.h"

namespace {

using platform::sdl::FromSdlEvent;

constexpr int kKeyA = 'A';
constexpr int kKeyShift = 16;
constexpr float kNoPosition = -1.0f;

class InputEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_SetModState(KMOD_NONE);
    engine.screenWidth = 1024;
    engine.screenHeight = 600;
  }

  void KeyDown(int key, int flags = 0) {
    engine.input.BuildEvent(EVENT_KEY_DOWN, key, 0, flags, kNoPosition, kNoPosition);
  }
  void KeyUp(int key) {
    engine.input.BuildEvent(EVENT_KEY_UP, key, 0, 0, kNoPosition, kNoPosition);
  }
  void ButtonDown(float x, float y, int flags = 0) {
    engine.input.BuildEvent(EVENT_BUTTON_DOWN, VK_LBUTTON, 0, flags, x, y);
  }
  void ButtonUp(float x, float y) {
    engine.input.BuildEvent(EVENT_BUTTON_UP, VK_LBUTTON, 0, 0, x, y);
  }
  void Move(float x, float y) { engine.input.BuildEvent(EVENT_MOUSE_MOVE, 0, 0, 0, x, y); }
  void Wheel(int notches) { engine.input.BuildEvent(EVENT_WHEEL, notches, 0, 0, 10, 10); }

  std::vector<InputEvent> DrainEvents() {
    std::vector<InputEvent> events;
    InputEvent event;
    while (engine.Input_NextEvent(&event)) events.push_back(event);
    return events;
  }

  EngineImpl engine;
};

TEST_F(InputEvents, MoveWhileCapturedIsClampedToTheScreen) {
  ButtonDown(500, 300);
  engine.input.UpdateMouseInside();
  EXPECT_TRUE(engine.Input_MouseInside());

  Move(-20, 700);
  std::vector<InputEvent> events = DrainEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].type, EVENT_MOUSE_MOVE);
  EXPECT_EQ(events[1].x, 0.0f);
  EXPECT_EQ(events[1].y, 599.0f);
  float x = -1;
  float y = -1;
  engine.Input_MousePosition(&x, &y);
  EXPECT_EQ(x, 0.0f);
  EXPECT_EQ(y, 599.0f);

  // The button-up takes the clamped position, not the one of its message; capture ends.
  ButtonUp(-50, 900);
  InputEvent up{};
  ASSERT_TRUE(engine.Input_NextEvent(&up));
  EXPECT_EQ(up.type, EVENT_BUTTON_UP);
  EXPECT_EQ(up.x, 0.0f);
  EXPECT_EQ(up.y, 599.0f);
  engine.input.UpdateMouseInside();
  EXPECT_FALSE(engine.Input_MouseInside());
}

TEST_F(InputEvents, KeyHeldForThreeFramesIsPressedOnlyInTheFirst) {
  KeyDown(kKeyA);
  EXPECT_TRUE(engine.Input_KeyPressed(kKeyA));
  EXPECT_TRUE(engine.Input_KeyHeld(kKeyA));
  engine.input.ClearFrame();

  for (int frame = 2; frame <= 3; ++frame) {
    KeyDown(kKeyA, MOD_REPEAT);
    EXPECT_FALSE(engine.Input_KeyPressed(kKeyA)) << "frame " << frame;
    EXPECT_TRUE(engine.Input_KeyHeld(kKeyA)) << "frame " << frame;
    EXPECT_EQ(engine.Input_LastKey(), kKeyA);
    EXPECT_EQ(engine.Input_LastChar(), 'a');
    InputEvent event{};
    ASSERT_TRUE(engine.Input_NextEvent(&event));
    EXPECT_EQ(event.type, EVENT_KEY_DOWN);
    EXPECT_NE(event.flags & MOD_REPEAT, 0);
    engine.input.ClearFrame();
  }

  KeyUp(kKeyA);
  EXPECT_TRUE(engine.Input_KeyReleased(kKeyA));
  EXPECT_FALSE(engine.Input_KeyPressed(kKeyA));
  EXPECT_FALSE(engine.Input_KeyHeld(kKeyA));
  EXPECT_EQ(engine.Input_LastKey(), 0) << "a key-up sets no last key";
}

TEST_F(InputEvents, DoubleClickIsASecondButtonDownWithTheRepeatFlag) {
  ButtonDown(40, 50);
  ButtonUp(40, 50);
  ButtonDown(40, 50, MOD_REPEAT);
  ButtonUp(40, 50);

  std::vector<InputEvent> events = DrainEvents();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].type, EVENT_BUTTON_DOWN);
  EXPECT_EQ(events[0].flags & MOD_REPEAT, 0);
  EXPECT_EQ(events[1].type, EVENT_BUTTON_UP);
  EXPECT_EQ(events[2].type, EVENT_BUTTON_DOWN);
  EXPECT_NE(events[2].flags & MOD_REPEAT, 0);
  EXPECT_EQ(events[2].key, VK_LBUTTON);
  EXPECT_EQ(events[2].x, 40.0f);
  EXPECT_EQ(events[3].type, EVENT_BUTTON_UP);
  EXPECT_TRUE(engine.Input_KeyPressed(VK_LBUTTON));
  EXPECT_TRUE(engine.Input_KeyReleased(VK_LBUTTON));
  EXPECT_FALSE(engine.Input_KeyHeld(VK_LBUTTON));
}

TEST_F(InputEvents, WheelOfAFrameIsTheSumOfItsEvents) {
  Wheel(1);
  Wheel(2);
  Wheel(-1);
  EXPECT_EQ(engine.Input_WheelDelta(), 2);
  std::vector<InputEvent> events = DrainEvents();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[1].wheel, 2);
  EXPECT_EQ(events[1].key, 0);
  engine.input.ClearFrame();
  EXPECT_EQ(engine.Input_WheelDelta(), 0);
}

TEST_F(InputEvents, LastCharIsZeroAfterAButtonWasPressedLast) {
  KeyDown(kKeyA);
  EXPECT_EQ(engine.Input_LastChar(), 'a');
  ButtonDown(5, 5);
  EXPECT_EQ(engine.Input_LastKey(), VK_LBUTTON);
  EXPECT_EQ(engine.Input_LastChar(), 0);
}

TEST_F(InputEvents, NextEventWithoutEventsLeavesTheOutputUntouched) {
  InputEvent event{7, 8, 9, 10, 11, 12.0f, 13.0f};
  EXPECT_FALSE(engine.Input_NextEvent(&event));
  EXPECT_EQ(event.type, 7);
  EXPECT_EQ(event.wheel, 11);
  EXPECT_EQ(event.y, 13.0f);
}

TEST_F(InputEvents, ClearingTheFrameKeepsPositionAndCapture) {
  ButtonDown(10, 20);
  Move(30, 40);
  KeyDown(VK_ESCAPE);
  Wheel(3);
  engine.input.ClearFrame();

  EXPECT_FALSE(engine.Input_NextEvent(nullptr));
  EXPECT_EQ(engine.Input_LastKey(), 0);
  EXPECT_EQ(engine.Input_WheelDelta(), 0);
  EXPECT_FALSE(engine.Input_KeyPressed(VK_ESCAPE));
  float x = 0;
  float y = 0;
  engine.Input_MousePosition(&x, &y);
  EXPECT_EQ(x, 30.0f);
  EXPECT_EQ(y, 40.0f);
  engine.input.UpdateMouseInside();
  EXPECT_TRUE(engine.Input_MouseInside()) << "the button is still down";
}

TEST_F(InputEvents, KeyEventsTakeTheMousePositionAndTheModifiers) {
  Move(100, 200);
  KeyDown(kKeyShift);
  KeyDown(kKeyA);
  KeyUp(kKeyShift);
  KeyDown(kKeyA, MOD_REPEAT);

  std::vector<InputEvent> events = DrainEvents();
  ASSERT_EQ(events.size(), 5u);
  const InputEvent& shiftedA = events[2];
  EXPECT_EQ(shiftedA.x, 100.0f);
  EXPECT_EQ(shiftedA.y, 200.0f);
  EXPECT_EQ(shiftedA.chr, 'A');
  EXPECT_EQ(shiftedA.flags, MOD_SHIFT);
  EXPECT_EQ(events[1].flags & MOD_SHIFT, MOD_SHIFT) << "Shift is down in its own key-down";
  EXPECT_EQ(events[3].type, EVENT_KEY_UP);
  EXPECT_EQ(events[4].chr, 'a');
  EXPECT_EQ(events[4].flags, MOD_REPEAT);
}

TEST_F(InputEvents, LockKeysShowInTheFlags) {
  SDL_SetModState(static_cast<SDL_Keymod>(KMOD_CAPS | KMOD_NUM | KMOD_SCROLL));
  KeyDown(kKeyA);
  InputEvent event{};
  ASSERT_TRUE(engine.Input_NextEvent(&event));
  EXPECT_EQ(event.flags, MOD_CAPS_LOCK | MOD_NUM_LOCK | MOD_SCROLL_LOCK);
  EXPECT_EQ(event.chr, 'A') << "Caps Lock gives the capital";
  SDL_SetModState(KMOD_NONE);
}

TEST_F(InputEvents, CodesOutsideTheKeyTableAreHarmless) {
  KeyDown(300);
  KeyDown(-4);
  EXPECT_FALSE(engine.Input_KeyPressed(300));
  EXPECT_FALSE(engine.Input_KeyHeld(-4));
  EXPECT_STREQ(engine.Input_KeyName(300), "?");
  EXPECT_EQ(engine.Input_LastKey(), -4);
}

// With a window the cursor is really moved and wheel positions come from the screen.
class InputWithWindow : public InputEvents {
 protected:
  void SetUp() override {
    InputEvents::SetUp();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window = SDL_CreateWindow("input", 200, 100, 1024, 600, SDL_WINDOW_BORDERLESS);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    engine.window = window;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    engine.window = nullptr;
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  // Events as SDL delivers them for the window.
  SDL_Event ButtonEvent(Uint32 type, int x, int y) const {
    SDL_Event event{};
    event.type = type;
    event.button.windowID = SDL_GetWindowID(window);
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    return event;
  }
  SDL_Event MotionEvent(int x, int y) const {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SDL_GetWindowID(window);
    event.motion.x = x;
    event.motion.y = y;
    return event;
  }
  SDL_Event WindowMovedEvent(int left, int top) const {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(window);
    event.window.event = SDL_WINDOWEVENT_MOVED;
    event.window.data1 = left;
    event.window.data2 = top;
    return event;
  }

  SDL_Window* window = nullptr;
};

TEST_F(InputWithWindow, ButtonUpMovesTheCursorToTheLastClampedPosition) {
  ButtonDown(500, 300);
  Move(1500.5f, -30);
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  ButtonUp(1500, -30);

  SDL_PumpEvents();
  SDL_Event motion;
  ASSERT_EQ(SDL_PeepEvents(&motion, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION), 1)
      << "the cursor was not moved";
  EXPECT_EQ(motion.motion.x, 1023);
  EXPECT_EQ(motion.motion.y, 0);
}

TEST_F(InputWithWindow, CursorOnScreenFollowsTheMovesUnclamped) {
  int left = 0;
  int top = 0;
  SDL_GetWindowPosition(window, &left, &top);
  Move(50, 30);
  int x = 0;
  int y = 0;
  engine.input.CursorOnScreen(&x, &y);
  EXPECT_EQ(x, left + 50);
  EXPECT_EQ(y, top + 30);

  ButtonDown(50, 30);
  Move(-20, 700);
  engine.input.CursorOnScreen(&x, &y);
  EXPECT_EQ(x, left - 20) << "the screen position is not clamped to the window";
  EXPECT_EQ(y, top + 700);

  // After the window moves, the next move is measured from its new place. The shell reads the
  // cursor through the engine's interface.
  SDL_SetWindowPosition(window, left + 15, top + 5);
  Move(10, 10);
  static_cast<Engine&>(engine).Input_CursorOnScreen(&x, &y);
  EXPECT_EQ(x, left + 25);
  EXPECT_EQ(y, top + 15);
}

TEST_F(InputWithWindow, WheelPositionIsTurnedIntoClientCoordinates) {
  int left = 0;
  int top = 0;
  SDL_GetWindowPosition(window, &left, &top);
  engine.input.BuildEvent(EVENT_WHEEL, -2, 0, 0, static_cast<float>(left + 50),
                          static_cast<float>(top + 30));
  InputEvent event{};
  ASSERT_TRUE(engine.Input_NextEvent(&event));
  EXPECT_EQ(event.x, 50.0f);
  EXPECT_EQ(event.y, 30.0f);
  EXPECT_EQ(event.wheel, -2);
}

// A window grown to its physical pixels (X11 at scale 2) reports the pointer in units of those;
// the program gets the pixel of its 1024 by 600 layout that holds the position, and moving the
// pointer to a pixel puts it at that pixel's first unit.
TEST_F(InputWithWindow, AWindowOfTwoUnitsAPixelReportsLayoutPixels) {
  SDL_SetWindowSize(window, 2048, 1200);
  engine.windowUnits = 2;
  engine.input.SetWindowUnits(2);
  engine.WindowProcedure(FromSdlEvent(MotionEvent(1399, 73)));
  engine.WindowProcedure(FromSdlEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, 1396, 72)));
  int left = 0;
  int top = 0;
  SDL_GetWindowPosition(window, &left, &top);
  SDL_Event wheel{};
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.windowID = SDL_GetWindowID(window);
  wheel.wheel.y = 1;
  wheel.wheel.mouseX = 101;
  wheel.wheel.mouseY = 60;
  engine.WindowProcedure(FromSdlEvent(wheel));
  const std::vector<InputEvent> events = DrainEvents();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].x, 699.0f);
  EXPECT_EQ(events[0].y, 36.0f);
  EXPECT_EQ(events[1].x, 698.0f);
  EXPECT_EQ(events[1].y, 36.0f);
  EXPECT_EQ(events[2].x, 50.0f);
  EXPECT_EQ(events[2].y, 30.0f);

  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  engine.Input_SetMousePosition(500, 30);
  SDL_PumpEvents();
  SDL_Event motion;
  ASSERT_EQ(SDL_PeepEvents(&motion, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION), 1);
  EXPECT_EQ(motion.motion.x, 1000);
  EXPECT_EQ(motion.motion.y, 60);
}

// Dragging the window by its top band: the pointer moves on the screen, then the shell moves the
// window after it. The platform sends no motion for the window's own move (X11 does not), so only
// the window's move can tell that the pointer's client position went back.
TEST_F(InputWithWindow, ReleaseAfterTheWindowWasDraggedLeavesThePointerWhereItIs) {
  int left = 0;
  int top = 0;
  SDL_GetWindowPosition(window, &left, &top);
  engine.WindowProcedure(FromSdlEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, 500, 30)));
  engine.WindowProcedure(FromSdlEvent(MotionEvent(540, 33)));
  SDL_SetWindowPosition(window, left + 40, top + 3);
  engine.WindowProcedure(FromSdlEvent(WindowMovedEvent(left + 40, top + 3)));
  float x = 0;
  float y = 0;
  engine.Input_MousePosition(&x, &y);
  EXPECT_EQ(x, 500.0f) << "the pointer did not move over the window";
  EXPECT_EQ(y, 30.0f);

  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  engine.WindowProcedure(FromSdlEvent(ButtonEvent(SDL_MOUSEBUTTONUP, 500, 30)));
  const std::vector<InputEvent> events = DrainEvents();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().type, EVENT_BUTTON_UP);
  EXPECT_EQ(events.back().x, 500.0f);
  EXPECT_EQ(events.back().y, 30.0f);
  SDL_PumpEvents();
  SDL_Event warp;
  ASSERT_EQ(SDL_PeepEvents(&warp, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION), 1);
  EXPECT_EQ(warp.motion.x, 500) << "the release moved the pointer by the last drag step";
  EXPECT_EQ(warp.motion.y, 30);
}

TEST_F(InputWithWindow, WithoutASystemPointerTheLastMoveTellsWhetherItIsInside) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::string(driver) != "offscreen") {
    GTEST_SKIP() << "the desktop's pointer decides on " << (driver ? driver : "no driver");
  }
  engine.input.UpdateMouseInside();
  EXPECT_FALSE(engine.Input_MouseInside()) << "no move yet";
  Move(1023, 599);
  engine.input.UpdateMouseInside();
  EXPECT_TRUE(engine.Input_MouseInside());
  Move(1024, 300);
  engine.input.UpdateMouseInside();
  EXPECT_FALSE(engine.Input_MouseInside());
  Move(0, 0);
  engine.input.UpdateMouseInside();
  EXPECT_TRUE(engine.Input_MouseInside());
  Move(10, -1);
  engine.input.UpdateMouseInside();
  EXPECT_FALSE(engine.Input_MouseInside());
}

}  // namespace
