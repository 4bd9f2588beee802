#pragma once
// The main screen built on a real engine (the off-screen driver, 1024 by 600, the carried art
// and skin), drawn by the program and read back. With no receiver the panels are built but
// disabled; tests put the state and profiles they draw.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/carried_art.h"
#include "app/main_screen.h"
#include "app/main_screen_drawing.h"
#include "app/screen_profile_controls.h"
#include "common/app_state.h"
#include "engine/engine.h"
#include "engine/engine_impl.h"
#include "profile/profile_controls.h"
#include "tests/support/offscreen_engine.h"
#include "ui/skin_link.h"

class ScreenPicture : public ::testing::Test {
 protected:
  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 600;
  using Screen = std::vector<std::uint32_t>;

  void SetUp() override {
    engine_ = StartOffscreenEngine(kWidth, kHeight);
    ASSERT_NE(engine_, nullptr);
    ASSERT_TRUE(CreateCarriedArt());
    UiLinkSkin(Skin->regions, Skin->regionCount);
    AppState = APP_NO_RECEIVER;
    StateBeforeUnplug = APP_MAIN_SCREEN;
    SetProfileControls(&controls_);
    BuildMainScreen();
  }

  void TearDown() override {
    ReleaseMainScreen();
    SetProfileControls(nullptr);
    UiLinkSkin(nullptr, 0);
    ReleaseCarriedArt();
    AppState = APP_NO_RECEIVER;
    StateBeforeUnplug = APP_MAIN_SCREEN;
    if (engine_ == nullptr) return;
    engine_->System_Shutdown();
    engine_->Release();
  }

  // The main screen and the overlay of AppState, drawn over black, as the window shows them.
  Screen Render() {
    Screen screen(static_cast<std::size_t>(kWidth) * kHeight);
    EXPECT_TRUE(engine_->Gfx_BeginScene(nullptr));
    engine_->Gfx_Clear(0xFF000000u);
    DrawMainScreen();
    EXPECT_TRUE(static_cast<EngineImpl*>(engine_)->graphics.ReadPixels(nullptr, 0, 0, kWidth,
                                                                       kHeight, screen.data()));
    engine_->Gfx_EndScene();
    return screen;
  }

  Engine* engine_ = nullptr;
  ScreenProfileControls controls_;
};
