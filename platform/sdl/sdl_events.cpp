// SDL's events as the platform's, and the platform's put into SDL's queue.
#include "platform/sdl/keymap.h"
#include "platform/sdl/sdl_platform.h"

namespace platform::sdl {
namespace {

constexpr int kVkLeftButton = 1;
constexpr int kVkRightButton = 2;
constexpr int kVkMiddleButton = 4;

int VirtualButton(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return kVkLeftButton;
    case SDL_BUTTON_RIGHT:
      return kVkRightButton;
    case SDL_BUTTON_MIDDLE:
      return kVkMiddleButton;
    default:
      return 0;
  }
}

Uint8 SdlButton(int virtualKey) {
  switch (virtualKey) {
    case kVkRightButton:
      return SDL_BUTTON_RIGHT;
    case kVkMiddleButton:
      return SDL_BUTTON_MIDDLE;
    default:
      return SDL_BUTTON_LEFT;
  }
}

EventKind WindowEventKind(Uint8 event) {
  switch (event) {
    case SDL_WINDOWEVENT_CLOSE:
      return EventKind::kClose;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      return EventKind::kFocusGained;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      return EventKind::kFocusLost;
    case SDL_WINDOWEVENT_MINIMIZED:
      return EventKind::kMinimized;
    case SDL_WINDOWEVENT_MOVED:
      return EventKind::kMoved;
    case SDL_WINDOWEVENT_EXPOSED:
      return EventKind::kExposed;
    default:
      return EventKind::kWindowOther;
  }
}

Event FromWindowEvent(const SDL_WindowEvent& window) {
  Event event;
  event.kind = WindowEventKind(window.event);
  if (event.kind == EventKind::kMoved) {
    event.x = window.data1;
    event.y = window.data2;
  }
  return event;
}

Event FromKeyEvent(const SDL_KeyboardEvent& key) {
  Event event;
  event.kind = key.type == SDL_KEYDOWN ? EventKind::kKeyDown : EventKind::kKeyUp;
  event.virtualKey = VirtualKeyFromSdl(key.keysym);
  event.scanCode = key.keysym.scancode;
  event.modifiers = (key.keysym.mod & KMOD_ALT) != 0 ? kAltDown : 0;
  event.repeat = key.repeat != 0;
  return event;
}

Event FromButtonEvent(const SDL_MouseButtonEvent& button) {
  Event event;
  event.kind = button.type == SDL_MOUSEBUTTONDOWN ? EventKind::kButtonDown : EventKind::kButtonUp;
  event.virtualKey = VirtualButton(button.button);
  event.clicks = button.clicks;
  event.x = button.x;
  event.y = button.y;
  return event;
}

Event FromWheelEvent(const SDL_MouseWheelEvent& wheel) {
  Event event;
  event.kind = EventKind::kWheel;
  event.notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
  event.x = wheel.mouseX;
  event.y = wheel.mouseY;
  return event;
}

bool ToKeyEvent(Uint32 windowId, const Event& from, SDL_Event* event) {
  if (!KeysymForVirtualKey(from.virtualKey, &event->key.keysym)) return false;
  // Keys found by their character get the position the current layout gives that character.
  if (event->key.keysym.scancode == SDL_SCANCODE_UNKNOWN) {
    event->key.keysym.scancode = SDL_GetScancodeFromKey(event->key.keysym.sym);
  }
  const bool down = from.kind == EventKind::kKeyDown;
  event->type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event->key.windowID = windowId;
  event->key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event->key.repeat = from.repeat ? 1 : 0;
  return true;
}

void ToButtonEvent(Uint32 windowId, const Event& from, SDL_Event* event) {
  const bool down = from.kind == EventKind::kButtonDown;
  event->type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event->button.windowID = windowId;
  event->button.button = SdlButton(from.virtualKey);
  event->button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event->button.clicks = static_cast<Uint8>(from.clicks > 0 ? from.clicks : 1);
  event->button.x = from.x;
  event->button.y = from.y;
}

void ToWheelEvent(Uint32 windowId, const Event& from, SDL_Event* event) {
  event->type = SDL_MOUSEWHEEL;
  event->wheel.windowID = windowId;
  event->wheel.y = from.notches;
  event->wheel.preciseY = static_cast<float>(from.notches);
  event->wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  event->wheel.mouseX = from.x;
  event->wheel.mouseY = from.y;
}

void ToMotionEvent(Uint32 windowId, const Event& from, SDL_Event* event) {
  event->type = SDL_MOUSEMOTION;
  event->motion.windowID = windowId;
  event->motion.x = from.x;
  event->motion.y = from.y;
}

// The SDL window event for a platform window event, or 0 for none.
Uint8 SdlWindowEvent(EventKind kind) {
  switch (kind) {
    case EventKind::kClose:
      return SDL_WINDOWEVENT_CLOSE;
    case EventKind::kFocusGained:
      return SDL_WINDOWEVENT_FOCUS_GAINED;
    case EventKind::kFocusLost:
      return SDL_WINDOWEVENT_FOCUS_LOST;
    case EventKind::kMinimized:
      return SDL_WINDOWEVENT_MINIMIZED;
    case EventKind::kMoved:
      return SDL_WINDOWEVENT_MOVED;
    case EventKind::kExposed:
      return SDL_WINDOWEVENT_EXPOSED;
    default:
      return SDL_WINDOWEVENT_NONE;
  }
}

bool ToSdlEvent(Uint32 windowId, const Event& from, SDL_Event* event) {
  switch (from.kind) {
    case EventKind::kQuit:
      event->type = SDL_QUIT;
      return true;
    case EventKind::kKeyDown:
    case EventKind::kKeyUp:
      return ToKeyEvent(windowId, from, event);
    case EventKind::kButtonDown:
    case EventKind::kButtonUp:
      ToButtonEvent(windowId, from, event);
      return true;
    case EventKind::kWheel:
      ToWheelEvent(windowId, from, event);
      return true;
    case EventKind::kPointerMove:
      ToMotionEvent(windowId, from, event);
      return true;
    default:
      event->type = SDL_WINDOWEVENT;
      event->window.windowID = windowId;
      event->window.event = SdlWindowEvent(from.kind);
      event->window.data1 = from.x;
      event->window.data2 = from.y;
      return event->window.event != SDL_WINDOWEVENT_NONE;
  }
}

}  // namespace

Event FromSdlEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      return Event{EventKind::kQuit};
    case SDL_WINDOWEVENT:
      return FromWindowEvent(event.window);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return FromKeyEvent(event.key);
    case SDL_MOUSEMOTION: {
      Event motion{EventKind::kPointerMove};
      motion.x = event.motion.x;
      motion.y = event.motion.y;
      return motion;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return FromButtonEvent(event.button);
    case SDL_MOUSEWHEEL:
      return FromWheelEvent(event.wheel);
    default:
      return Event{};
  }
}

bool SdlPlatform::PollEvent(Event* event) {
  SDL_Event sdlEvent;
  if (SDL_PollEvent(&sdlEvent) == 0) return false;
  *event = FromSdlEvent(sdlEvent);
  return true;
}

bool SdlPlatform::PostEvent(NativeWindow window, const Event& event) {
  SDL_Event sdlEvent{};
  if (!ToSdlEvent(WindowId(window), event, &sdlEvent)) return false;
  return SDL_PushEvent(&sdlEvent) == 1;
}

}  // namespace platform::sdl
