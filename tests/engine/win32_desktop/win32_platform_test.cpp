// The Win32 backend with a real window, under Wine on Xvfb (tests/windows/wine_gui.sh): the
// window, the events its window procedure makes of Windows' messages, the drag band's hit test,
// a WGL context, and the device notices of WM_DEVICECHANGE.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "engine/device_notifier.h"
#include "engine/gl_api.h"
#include "engine/platform/platform.h"

#include <windows.h>

// After the engine's headers: <dbt.h> defines as macros names that engine.h declares.
#include <dbt.h>

namespace {

constexpr int kLeft = 40, kTop = 30, kWidth = 1024, kHeight = 600;

class Win32Window : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(os.StartVideo()) << os.LastError();
    platform::WindowSpec spec;
    spec.title = "Corsaro270 test";
    spec.bounds = {kLeft, kTop, kWidth, kHeight};
    spec.borderless = true;
    spec.glMajor = 3;
    spec.glMinor = 3;
    window = os.OpenWindow(spec);
    ASSERT_NE(window, nullptr) << os.LastError();
    Drain();
  }
  void TearDown() override {
    os.CloseWindow(window);
    os.StopVideo();
  }

  HWND Hwnd() const { return static_cast<HWND>(window); }

  // Every event now waiting.
  std::vector<platform::Event> Drain() {
    std::vector<platform::Event> events;
    platform::Event event;
    while (os.PollEvent(&event)) events.push_back(event);
    return events;
  }

  // The first event of this kind among those waiting after `message` was posted to the window.
  platform::Event After(UINT message, WPARAM wParam, LPARAM lParam, platform::EventKind kind) {
    PostMessageW(Hwnd(), message, wParam, lParam);
    for (const platform::Event& event : Drain()) {
      if (event.kind == kind) return event;
    }
    return platform::Event{};
  }

  platform::Platform& os = platform::Linked();
  platform::NativeWindow window = nullptr;
};

TEST_F(Win32Window, OpensBorderlessWithTheClientAreaAskedFor) {
  int width = 0, height = 0, left = 0, top = 0;
  os.GetWindowSize(window, &width, &height);
  os.GetWindowPosition(window, &left, &top);
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(height, 600);
  EXPECT_EQ(left, 40);
  EXPECT_EQ(top, 30);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_STYLE));
  EXPECT_NE(style & WS_POPUP, 0u);
  EXPECT_EQ(style & WS_CAPTION, 0u);
}

TEST_F(Win32Window, MessagesBecomeTheEnginesEvents) {
  // Escape, scan code 1, as the keyboard driver posts it.
  platform::Event key = After(WM_KEYDOWN, 0x1B, 0x00010001, platform::EventKind::kKeyDown);
  EXPECT_EQ(key.virtualKey, 27);
  EXPECT_EQ(key.scanCode, 1);
  EXPECT_FALSE(key.repeat);
  // A held key repeats (bit 30 of lParam).
  key = After(WM_KEYDOWN, 'A', 0x40000001 | (0x1E << 16), platform::EventKind::kKeyDown);
  EXPECT_EQ(key.virtualKey, 'A');
  EXPECT_TRUE(key.repeat);
  // A key the desktop build has no code for either (volume up) carries none.
  EXPECT_EQ(After(WM_KEYDOWN, 0xAF, 1, platform::EventKind::kKeyDown).virtualKey, 0);

  platform::Event button =
      After(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20), platform::EventKind::kButtonDown);
  EXPECT_EQ(button.virtualKey, 1);
  EXPECT_EQ(button.clicks, 1);
  EXPECT_EQ(button.x, 10);
  EXPECT_EQ(button.y, 20);
  button = After(WM_RBUTTONDBLCLK, 0, MAKELPARAM(5, 6), platform::EventKind::kButtonDown);
  EXPECT_EQ(button.virtualKey, 2);
  EXPECT_EQ(button.clicks, 2);
  EXPECT_EQ(After(WM_MBUTTONUP, 0, 0, platform::EventKind::kButtonUp).virtualKey, 4);

  // Two notches away from the user, at the client position of a desktop point.
  platform::Event wheel = After(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), MAKELPARAM(kLeft + 7, kTop + 9),
                                platform::EventKind::kWheel);
  EXPECT_EQ(wheel.notches, 2);
  EXPECT_EQ(wheel.x, 7);
  EXPECT_EQ(wheel.y, 9);

  // Closing asks the program; the window stays until it is closed.
  EXPECT_EQ(After(WM_CLOSE, 0, 0, platform::EventKind::kClose).kind, platform::EventKind::kClose);
  EXPECT_TRUE(IsWindow(Hwnd()));
}

TEST_F(Win32Window, PostedEventsArriveInOrder) {
  platform::Event down{platform::EventKind::kKeyDown};
  down.virtualKey = 'B';
  platform::Event up{platform::EventKind::kKeyUp};
  up.virtualKey = 'B';
  ASSERT_TRUE(os.PostEvent(window, down));
  ASSERT_TRUE(os.PostEvent(window, up));
  // No key of any layout gives virtual key 0xFF.
  platform::Event none{platform::EventKind::kKeyDown};
  none.virtualKey = 0xFF;
  EXPECT_FALSE(os.PostEvent(window, none));
  const std::vector<platform::Event> events = Drain();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, platform::EventKind::kKeyDown);
  EXPECT_EQ(events[1].kind, platform::EventKind::kKeyUp);
  EXPECT_EQ(events[1].virtualKey, 'B');
  EXPECT_EQ(os.CharacterFromKey('B', events[0].scanCode, 0), 'b');
  EXPECT_EQ(os.CharacterFromKey('B', events[0].scanCode, platform::kShiftDown), 'B');
  EXPECT_EQ(os.CharacterFromKey('B', events[0].scanCode, platform::kCtrlDown), 2);
}

bool InTopBand(const void*, int, int y, int, int) {
  return y < 40;
}

TEST_F(Win32Window, TheDragBandIsTheCaptionForTheWindowSystem) {
  ASSERT_TRUE(os.SetDragTest(window, InTopBand, nullptr));
  const auto hit = [&](int x, int y) {
    return SendMessageW(Hwnd(), WM_NCHITTEST, 0, MAKELPARAM(kLeft + x, kTop + y));
  };
  EXPECT_EQ(hit(500, 10), HTCAPTION);
  EXPECT_EQ(hit(500, 39), HTCAPTION);
  EXPECT_EQ(hit(500, 40), HTCLIENT);
  ASSERT_TRUE(os.SetDragTest(window, nullptr, nullptr));
  EXPECT_EQ(hit(500, 10), HTCLIENT);
}

TEST_F(Win32Window, GivesAGl33CoreContext) {
  platform::GlContext context = os.CreateGlContext(window);
  ASSERT_NE(context, nullptr) << os.LastError();
  EXPECT_GE(LoadGlFunctions(), 33);
  glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  unsigned char pixel[4] = {};
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  EXPECT_EQ(pixel[0], 0);
  EXPECT_EQ(pixel[1], 255);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  os.DeleteGlContext(context);
}

// What the system sends the notifier's window for a device interface.
struct InterfaceBroadcast {
  DEV_BROADCAST_DEVICEINTERFACE_W header;
  wchar_t rest[128];
};

LRESULT Broadcast(HWND window, WPARAM change, const wchar_t* path, DWORD type) {
  InterfaceBroadcast broadcast{};
  broadcast.header.dbcc_size = sizeof broadcast;
  broadcast.header.dbcc_devicetype = type;
  std::wcscpy(broadcast.header.dbcc_name, path);
  return SendMessageW(window, WM_DEVICECHANGE, change, reinterpret_cast<LPARAM>(&broadcast));
}

// The notices name the interface as SetupAPI's enumeration does, in lower case, however the
// system wrote it.
TEST(Win32DeviceNotifier, HandsOnArrivalsAndRemovalsOfDeviceInterfaces) {
  DeviceNotifier notifier;
  ASSERT_TRUE(notifier.Open());
  HWND window = FindWindowExW(HWND_MESSAGE, nullptr, L"Corsaro270DeviceNotices", nullptr);
  ASSERT_NE(window, nullptr);
  const wchar_t* path =
      L"\\\\?\\HID#VID_2E7B&PID_0262#7&1&0000#{4D1E55B2-F16F-11CF-88CB-001111000030}";
  Broadcast(window, 0x8000, path, 5);
  Broadcast(window, 0x8004, path, 5);
  // A volume's arrival and a configuration change are no device interface's.
  Broadcast(window, 0x8000, L"E:", 2);
  Broadcast(window, 0x0018, path, 5);
  std::vector<DeviceNotice> heard;
  EXPECT_EQ(notifier.Poll(
                [](const DeviceNotice& notice, void* context) {
                  static_cast<std::vector<DeviceNotice>*>(context)->push_back(notice);
                },
                &heard),
            2);
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].event, 0x8000u);
  EXPECT_EQ(heard[1].event, 0x8004u);
  EXPECT_EQ(heard[0].path,
            "\\\\?\\hid#vid_2e7b&pid_0262#7&1&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}");
}

}  // namespace
