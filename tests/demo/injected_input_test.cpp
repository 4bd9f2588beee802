// Keys named in scripts are keys of the keyboard, and injected input reaches the platform's queue
// as a user's would, in the window's units.
#include "demo/injected_input.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/engine_impl.h"
#include "engine/key_names.h"
#include "platform/null/null_platform.h"

namespace {

using platform::EventKind;

TEST(InjectedKeys, EveryNamedKeyOfTheKeyboardIsAKey) {
  int named = 0;
  for (int vk = 3; vk < 256; ++vk) {
    if (vk == 4 || std::string(KeyName(vk)) == "?") continue;  // 4: the middle button
    EXPECT_EQ(VirtualKeyNamed(KeyName(vk)), vk) << KeyName(vk);
    ++named;
  }
  // 36 letters and digits, 12 function keys, 10 numpad digits and the 41 other names.
  EXPECT_EQ(named, 99);
}

TEST(InjectedKeys, MouseButtonsAndUnknownNamesAreNoKeys) {
  EXPECT_EQ(VirtualKeyNamed("Left Mouse Button"), 0);
  EXPECT_EQ(VirtualKeyNamed("Right Mouse Button"), 0);
  EXPECT_EQ(VirtualKeyNamed("Middle Mouse Button"), 0);
  EXPECT_EQ(VirtualKeyNamed("?"), 0);
  EXPECT_EQ(VirtualKeyNamed(""), 0);
  EXPECT_EQ(VirtualKeyNamed("ESCAPE"), 0);
  EXPECT_EQ(VirtualKeyNamed("F5"), 116);
}

class InjectedInput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(os->StartVideo());
    platform::WindowSpec spec;
    spec.bounds = {100, 50, 2048, 1200};
    window = os->OpenWindow(spec);
    ASSERT_NE(window, nullptr);
  }

  platform::null::ScopedNullPlatform os;
  platform::NativeWindow window = nullptr;
  InputInjector input;
};

TEST_F(InjectedInput, PressesAndTurnsWhereThePointerIsInWindowUnits) {
  input.SetWindowUnits(2);
  input.MovePointer(window, 300, 40);
  input.PressButton(window, true);
  input.TurnWheel(window, -3);
  input.PressButton(window, false);

  int x = 0, y = 0;
  os->PointerOnDesktop(&x, &y);
  EXPECT_EQ(x, 100 + 600);
  EXPECT_EQ(y, 50 + 80);
  ASSERT_EQ(os->Queue().size(), 3u);
  const platform::Event& press = os->Queue()[0];
  EXPECT_EQ(press.kind, EventKind::kButtonDown);
  EXPECT_EQ(press.virtualKey, 1);
  EXPECT_EQ(press.clicks, 1);
  EXPECT_EQ(press.x, 600);
  EXPECT_EQ(press.y, 80);
  EXPECT_EQ(os->Queue()[1].kind, EventKind::kWheel);
  EXPECT_EQ(os->Queue()[1].notches, -3);
  EXPECT_EQ(os->Queue()[2].kind, EventKind::kButtonUp);
}

TEST_F(InjectedInput, WhereThePointerCannotBePlacedTheMoveIsReportedToTheEngine) {
  os->SetPointer(400, 300);
  os->SetPointerPlaceable(false);
  input.MovePointer(window, 300, 40);
  input.PressButton(window, true);

  int x = 0, y = 0;
  os->PointerOnDesktop(&x, &y);
  EXPECT_EQ(x, 400);
  EXPECT_EQ(y, 300);
  ASSERT_EQ(os->Queue().size(), 2u);
  EXPECT_EQ(os->Queue()[0].kind, EventKind::kPointerMove);
  EXPECT_EQ(os->Queue()[0].x, 300);
  EXPECT_EQ(os->Queue()[0].y, 40);
  EXPECT_EQ(os->Queue()[1].kind, EventKind::kButtonDown);

  EngineImpl engine;
  engine.window = window;
  platform::Event event;
  ASSERT_TRUE(os->PollEvent(&event));
  engine.WindowProcedure(event);
  float engineX = 0, engineY = 0;
  engine.Input_MousePosition(&engineX, &engineY);
  EXPECT_EQ(engineX, 300.0f);
  EXPECT_EQ(engineY, 40.0f);
  engine.window = nullptr;
}

TEST_F(InjectedInput, KeysAndTheEndReachTheEngineThroughItsMessagePump) {
  EXPECT_TRUE(input.PressKey(window, 116, true));
  EXPECT_FALSE(input.PressKey(window, 0, true));
  input.AskToQuit(window);

  EngineImpl engine;
  engine.window = window;
  platform::Event event;
  ASSERT_TRUE(os->PollEvent(&event));
  engine.WindowProcedure(event);
  EXPECT_TRUE(engine.Input_KeyHeld(116));
  EXPECT_EQ(engine.Input_LastKey(), 116);
  ASSERT_TRUE(os->PollEvent(&event));
  EXPECT_EQ(event.kind, EventKind::kQuit);
  EXPECT_FALSE(os->PollEvent(&event));
  engine.window = nullptr;
}

}  // namespace
