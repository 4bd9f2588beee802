// The window itself: the icon it shows, and the video drivers it may be opened on.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine_impl.h"
#include "platform/sdl/video_driver.h"
#include "engine/window_icon.h"
#include "tests/engine/system_test_support.h"

namespace {

// A 2 by 2 icon: opaque red, green and blue, and one transparent pixel.
const std::vector<std::uint32_t> kIconPixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x00000000};
constexpr int kResource = 7;

class WindowIcon : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WritePng((folder / "icon.png").c_str(), 2, 2, kIconPixels.data()));
    png = ReadFileText(folder / "icon.png");
    engine.System_SetState(STATE_LOG_FILE, (folder / "engine.log").c_str());
    RegisterProgramResource(kResource, Bytes());
  }
  void TearDown() override {
    RegisterProgramResource(kResource, {});
    engine.System_Shutdown();
  }

  std::span<const unsigned char> Bytes() const {
    return {reinterpret_cast<const unsigned char*>(png.data()), png.size()};
  }

  ScratchFolder folder;
  std::string png;
  EngineImpl engine;
};

TEST_F(WindowIcon, AResourceNumberGivesTheWindowThatResourcesImage) {
  engine.System_SetState(STATE_ICON, MakeResourceId(kResource));
  ASSERT_TRUE(engine.OpenWindow(false)) << engine.System_LastError();
  EXPECT_EQ(LastWindowIcon().width, 2);
  EXPECT_EQ(LastWindowIcon().height, 2);
  EXPECT_EQ(LastWindowIcon().pixels, kIconPixels);
}

TEST_F(WindowIcon, ANameIsReadAsAFileAndReplacesTheIconAtOnce) {
  ASSERT_TRUE(engine.OpenWindow(false)) << engine.System_LastError();
  const std::vector<std::uint32_t> other = {0xFF123456};
  ASSERT_TRUE(WritePng((folder / "other.png").c_str(), 1, 1, other.data()));
  engine.System_SetState(STATE_ICON, (folder / "other.png").c_str());
  EXPECT_EQ(LastWindowIcon().pixels, other);
}

TEST_F(WindowIcon, AMissingOrDamagedIconIsLoggedAndTheWindowOpensAnyway) {
  engine.System_SetState(STATE_ICON, MakeResourceId(kResource + 1));
  ASSERT_TRUE(engine.OpenWindow(false)) << engine.System_LastError();
  WriteFileText(folder / "damaged.png", png.substr(0, png.size() / 2));
  engine.System_SetState(STATE_ICON, (folder / "damaged.png").c_str());
  const std::string log = ReadFileText(folder / "engine.log");
  EXPECT_NE(log.find("Can't load icon: resource 8\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Can't load icon: " + (folder / "damaged.png") + "\n"), std::string::npos)
      << log;
}

TEST(VideoDrivers, DriversThatShowNothingAreUsedOnlyWhenNamed) {
  EXPECT_TRUE(VideoDriverAcceptable("x11", nullptr));
  EXPECT_TRUE(VideoDriverAcceptable("wayland", "x11"));
  EXPECT_FALSE(VideoDriverAcceptable("offscreen", nullptr));
  EXPECT_FALSE(VideoDriverAcceptable("dummy", ""));
  EXPECT_FALSE(VideoDriverAcceptable("offscreen", "x11,wayland"));
  EXPECT_FALSE(VideoDriverAcceptable("offscreen", "offscreenx"));
  EXPECT_TRUE(VideoDriverAcceptable("offscreen", "offscreen"));
  EXPECT_TRUE(VideoDriverAcceptable("offscreen", "x11,OFFSCREEN"));
  EXPECT_TRUE(VideoDriverAcceptable("dummy", "dummy,"));
  EXPECT_FALSE(VideoDriverAcceptable(nullptr, "offscreen"));
}

TEST(VideoDrivers, OnlyWaylandKeepsThePointerFromThePrograms) {
  EXPECT_FALSE(VideoDriverPlacesPointer("wayland"));
  EXPECT_FALSE(VideoDriverPlacesPointer("Wayland"));
  EXPECT_FALSE(VideoDriverPlacesPointer(nullptr));
  EXPECT_TRUE(VideoDriverPlacesPointer("x11"));
  EXPECT_TRUE(VideoDriverPlacesPointer("offscreen"));
  EXPECT_TRUE(VideoDriverPlacesPointer("waylandx"));
}

}  // namespace
