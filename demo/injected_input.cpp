#include "demo/injected_input.h"

#include "engine/key_names.h"
#include "engine/platform/platform.h"

namespace {

constexpr int kKeyCount = 256;
constexpr char kNoName[] = "?";

}  // namespace

int VirtualKeyNamed(const std::string& name) {
  if (name.empty() || name == kNoName) return 0;
  for (int vk = 0; vk < kKeyCount; ++vk) {
    if (name == KeyName(vk)) return vk > 0 && platform::Current().HasKey(vk) ? vk : 0;
  }
  return 0;
}

void InputInjector::MovePointer(WindowHandle window, int x, int y) {
  x_ = x * units_;
  y_ = y * units_;
  if (platform::Current().WarpPointer(window, x_, y_)) return;
  // Where the pointer cannot be placed (Wayland) the move is reported as the desktop would.
  platform::Event event;
  event.kind = platform::EventKind::kPointerMove;
  event.x = x_;
  event.y = y_;
  platform::Current().PostEvent(window, event);
}

void InputInjector::PressButton(WindowHandle window, bool down) {
  platform::Event event;
  event.kind = down ? platform::EventKind::kButtonDown : platform::EventKind::kButtonUp;
  event.virtualKey = VK_LBUTTON;
  event.clicks = 1;
  event.x = x_;
  event.y = y_;
  platform::Current().PostEvent(window, event);
}

void InputInjector::TurnWheel(WindowHandle window, int notches) {
  platform::Event event;
  event.kind = platform::EventKind::kWheel;
  event.notches = notches;
  event.x = x_;
  event.y = y_;
  platform::Current().PostEvent(window, event);
}

bool InputInjector::PressKey(WindowHandle window, int vk, bool down) {
  platform::Event event;
  event.kind = down ? platform::EventKind::kKeyDown : platform::EventKind::kKeyUp;
  event.virtualKey = vk;
  return platform::Current().PostEvent(window, event);
}

void InputInjector::AskToQuit(WindowHandle window) {
  platform::Current().PostEvent(window, platform::Event{platform::EventKind::kQuit});
}
