// The keyboard: virtual keys as the engine numbers them, modifier state, and the character a key
// gives under the current layout.
#include <cctype>
#include <iterator>

#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

constexpr int kVkNumpad0 = 0x60;
constexpr int kVkNumpad9 = 0x69;
constexpr int kVkF1 = 0x70;
constexpr int kVkF24 = 0x87;
constexpr int kControlMask = 0x1F;
constexpr BYTE kPressed = 0x80;
constexpr BYTE kToggled = 0x01;

// The keys the SDL backend gives a code, outside the ranges of letters, digits, numpad digits and
// function keys: the same set, so that a key means the same on both platforms.
constexpr int kMappedKeys[] = {
    8,   9,   12,  13,  16,  17,  18,  19,  20,  27,  32,  33,  34,  35,  36,
    37,  38,  39,  40,  44,  45,  46,  91,  92,  93,  106, 107, 109, 110, 111,
    144, 145, 186, 187, 188, 189, 190, 191, 192, 219, 220, 221, 222, 226,
};

// Keys whose character does not depend on the layout or on Shift (as on the desktop build).
struct FixedCharacter {
  int vk;
  int character;
};
constexpr FixedCharacter kFixedCharacters[] = {
    {8, 8}, {9, 9}, {13, 13}, {27, 27}, {106, '*'}, {107, '+'}, {109, '-'}, {110, '.'}, {111, '/'},
};

bool IsMapped(int vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return true;
  if ((vk >= kVkNumpad0 && vk <= kVkNumpad9) || (vk >= kVkF1 && vk <= kVkF24)) return true;
  for (int key : kMappedKeys) {
    if (key == vk) return true;
  }
  return false;
}

bool Down(int vk) {
  return (GetKeyState(vk) & kPressed) != 0;
}
bool On(int vk) {
  return (GetKeyState(vk) & kToggled) != 0;
}

// The layout's character for the key with Shift and Caps Lock as given, or 0.
int LayoutCharacter(int vk, int scanCode, bool shift, bool capsLock) {
  BYTE state[256] = {};
  if (shift) state[VK_SHIFT] = kPressed;
  if (capsLock) state[VK_CAPITAL] = kToggled;
  wchar_t typed[4] = {};
  // Flag 4: the call leaves the keyboard's dead-key state as it was.
  const int count = ToUnicode(static_cast<UINT>(vk), static_cast<UINT>(scanCode), state, typed,
                              static_cast<int>(std::size(typed)), 4);
  if (count != 1 || typed[0] < 0x20 || typed[0] == 0x7F || typed[0] > 0xFF) return 0;
  return typed[0];
}

}  // namespace

int VirtualKeyFromMessage(WPARAM wParam, LPARAM) {
  const int vk = static_cast<int>(wParam);
  return IsMapped(vk) ? vk : 0;
}

int Win32Platform::Modifiers() {
  int bits = 0;
  if (Down(VK_SHIFT)) bits |= kShiftDown;
  if (Down(VK_CONTROL)) bits |= kCtrlDown;
  if (Down(VK_MENU)) bits |= kAltDown;
  if (On(VK_CAPITAL)) bits |= kCapsLockOn;
  if (On(VK_SCROLL)) bits |= kScrollLockOn;
  if (On(VK_NUMLOCK)) bits |= kNumLockOn;
  return bits;
}

int Win32Platform::CharacterFromKey(int virtualKey, int scanCode, int modifiers) {
  if (virtualKey >= kVkNumpad0 && virtualKey <= kVkNumpad9) return '0' + virtualKey - kVkNumpad0;
  for (const FixedCharacter& fixed : kFixedCharacters) {
    if (fixed.vk == virtualKey) return fixed.character;
  }
  const bool ctrl = (modifiers & kCtrlDown) != 0;
  const bool alt = (modifiers & kAltDown) != 0;
  const int plain = LayoutCharacter(virtualKey, scanCode & 0xFF, false, false);
  if (plain == 0) return 0;
  // Ctrl with Alt is AltGr, whose characters the desktop build gives none of either.
  if (ctrl) {
    if (alt) return 0;
    return std::isalpha(plain) ? (plain & kControlMask) : 0;
  }
  return LayoutCharacter(virtualKey, scanCode & 0xFF, (modifiers & kShiftDown) != 0,
                         (modifiers & kCapsLockOn) != 0);
}

bool Win32Platform::HasKey(int virtualKey) {
  if (virtualKey <= 0 || !IsMapped(virtualKey)) return false;
  // Keys the layout has no position for cannot be pressed.
  return MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC) != 0;
}

}  // namespace platform::win32
