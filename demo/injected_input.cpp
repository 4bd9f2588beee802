#include "demo/injected_input.h"

#include <SDL2/SDL.h>

#include "engine/key_names.h"
#include "engine/keymap.h"

namespace {

constexpr int kKeyCount = 256;
constexpr char kNoName[] = "?";
// SDL's keycodes for the keys that type a character, Escape, Tab and Delete among them.
constexpr int kFirstCharacter = 0x01;
constexpr int kLastCharacter = 0x7F;

SDL_Window* AsSdl(WindowHandle window) {
  return static_cast<SDL_Window*>(window);
}

Uint32 WindowId(WindowHandle window) {
  return window != nullptr ? SDL_GetWindowID(AsSdl(window)) : 0;
}

bool Matches(SDL_Keycode sym, SDL_Scancode scancode, int vk, SDL_Keysym* key) {
  // Num Lock on, so that the numpad gives its digits rather than the navigation keys.
  SDL_Keysym candidate{scancode, sym, KMOD_NUM, 0};
  if (VirtualKeyFromSdl(candidate) != vk) return false;
  *key = candidate;
  return true;
}

}  // namespace

int VirtualKeyNamed(const std::string& name) {
  if (name.empty() || name == kNoName) return 0;
  SDL_Keysym key{};
  for (int vk = 0; vk < kKeyCount; ++vk) {
    if (name == KeyName(vk)) return KeysymForVirtualKey(vk, &key) ? vk : 0;
  }
  return 0;
}

bool KeysymForVirtualKey(int vk, SDL_Keysym* key) {
  if (vk <= 0) return false;
  // Characters first, as the layout-independent keys the engine maps them from; then every
  // other key by its position.
  for (int c = kFirstCharacter; c <= kLastCharacter; ++c) {
    if (Matches(c, SDL_SCANCODE_UNKNOWN, vk, key)) return true;
  }
  for (int code = SDL_SCANCODE_A; code < SDL_NUM_SCANCODES; ++code) {
    const auto scancode = static_cast<SDL_Scancode>(code);
    if (Matches(SDL_SCANCODE_TO_KEYCODE(scancode), scancode, vk, key)) return true;
  }
  return false;
}

void InputInjector::MovePointer(WindowHandle window, int x, int y) {
  x_ = x * units_;
  y_ = y * units_;
  if (window != nullptr) SDL_WarpMouseInWindow(AsSdl(window), x_, y_);
}

void InputInjector::PressButton(WindowHandle window, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.windowID = WindowId(window);
  event.button.button = SDL_BUTTON_LEFT;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.clicks = 1;
  event.button.x = x_;
  event.button.y = y_;
  SDL_PushEvent(&event);
}

void InputInjector::TurnWheel(WindowHandle window, int notches) {
  SDL_Event event{};
  event.type = SDL_MOUSEWHEEL;
  event.wheel.windowID = WindowId(window);
  event.wheel.y = notches;
  event.wheel.preciseY = static_cast<float>(notches);
  event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  event.wheel.mouseX = x_;
  event.wheel.mouseY = y_;
  SDL_PushEvent(&event);
}

bool InputInjector::PressKey(WindowHandle window, int vk, bool down) {
  SDL_Event event{};
  if (!KeysymForVirtualKey(vk, &event.key.keysym)) return false;
  // Keys found by their character get the position the current layout gives that character.
  if (event.key.keysym.scancode == SDL_SCANCODE_UNKNOWN) {
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
  }
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.windowID = WindowId(window);
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  SDL_PushEvent(&event);
  return true;
}
