// The keyboard: its modifier state, the characters of keys, and the keys for virtual keys.
#include "platform/sdl/keymap.h"
#include "platform/sdl/sdl_platform.h"

namespace platform::sdl {
namespace {

// SDL's keycodes for the keys that type a character, Escape, Tab and Delete among them.
constexpr int kFirstCharacter = 0x01;
constexpr int kLastCharacter = 0x7F;

bool Matches(SDL_Keycode sym, SDL_Scancode scancode, int vk, SDL_Keysym* key) {
  // Num Lock on, so that the numpad gives its digits rather than the navigation keys.
  SDL_Keysym candidate{scancode, sym, KMOD_NUM, 0};
  if (VirtualKeyFromSdl(candidate) != vk) return false;
  *key = candidate;
  return true;
}

}  // namespace

bool KeysymForVirtualKey(int vk, SDL_Keysym* key) {
  if (vk <= 0) return false;
  // Characters first, as the layout-independent keys the keymap maps them from; then every
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

int SdlPlatform::Modifiers() {
  const SDL_Keymod mod = SDL_GetModState();
  int bits = 0;
  if ((mod & KMOD_SHIFT) != 0) bits |= kShiftDown;
  if ((mod & KMOD_CTRL) != 0) bits |= kCtrlDown;
  if ((mod & KMOD_ALT) != 0) bits |= kAltDown;
  if ((mod & KMOD_CAPS) != 0) bits |= kCapsLockOn;
  if ((mod & KMOD_SCROLL) != 0) bits |= kScrollLockOn;
  if ((mod & KMOD_NUM) != 0) bits |= kNumLockOn;
  return bits;
}

int SdlPlatform::CharacterFromKey(int virtualKey, int scanCode, int modifiers) {
  KeyModifiers keys;
  keys.shift = (modifiers & kShiftDown) != 0;
  keys.ctrl = (modifiers & kCtrlDown) != 0;
  keys.alt = (modifiers & kAltDown) != 0;
  keys.capsLock = (modifiers & kCapsLockOn) != 0;
  return ::CharacterFromKey(virtualKey, scanCode, keys);
}

bool SdlPlatform::HasKey(int virtualKey) {
  SDL_Keysym key{};
  return KeysymForVirtualKey(virtualKey, &key);
}

}  // namespace platform::sdl
