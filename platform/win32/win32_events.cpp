// The message pump, and events put into the program's queue as a user's would arrive.
#include "platform/win32/win32_platform.h"

namespace platform::win32 {

bool Win32Platform::PollEvent(Event* event) {
  // Dispatching runs the window procedure, which queues what the program handles; messages it
  // does not handle queue nothing, so the pump goes on until an event waits or none is left.
  MSG message;
  while (events_.empty() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      Queue(Event{EventKind::kQuit});
      break;
    }
    DispatchMessageW(&message);
  }
  if (events_.empty()) return false;
  *event = events_.front();
  events_.pop_front();
  return true;
}

bool Win32Platform::PostEvent(NativeWindow window, const Event& event) {
  if (window == nullptr && event.kind != EventKind::kQuit) return false;
  Event posted = event;
  if (event.kind == EventKind::kKeyDown || event.kind == EventKind::kKeyUp) {
    if (!HasKey(event.virtualKey)) return false;
    // The key's position under the current layout, as a real press carries it.
    posted.scanCode =
        static_cast<int>(MapVirtualKeyW(static_cast<UINT>(event.virtualKey), MAPVK_VK_TO_VSC));
  }
  if ((event.kind == EventKind::kButtonDown || event.kind == EventKind::kButtonUp) &&
      posted.clicks <= 0) {
    posted.clicks = 1;
  }
  Queue(posted);
  return true;
}

}  // namespace platform::win32
