#include "platform/sdl/keymap.h"

#include <cctype>
#include <iterator>

namespace {

struct KeyPair {
  int sdl;  // SDL keycode or scancode
  int vk;
};

constexpr int kVkClear = 12;
constexpr int kVkNumpad0 = 96;
constexpr int kVkF1 = 112;
constexpr int kFunctionKeys = 24;

// Keys that have a code of their own whatever the layout.
constexpr KeyPair kKeycodes[] = {
    {SDLK_BACKSPACE, 8},      {SDLK_TAB, 9},
    {SDLK_RETURN, 13},        {SDLK_KP_ENTER, 13},
    {SDLK_LSHIFT, 16},        {SDLK_RSHIFT, 16},
    {SDLK_LCTRL, 17},         {SDLK_RCTRL, 17},
    {SDLK_LALT, 18},          {SDLK_RALT, 18},
    {SDLK_PAUSE, 19},         {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},        {SDLK_SPACE, 32},
    {SDLK_PAGEUP, 33},        {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},           {SDLK_HOME, 36},
    {SDLK_LEFT, 37},          {SDLK_UP, 38},
    {SDLK_RIGHT, 39},         {SDLK_DOWN, 40},
    {SDLK_PRINTSCREEN, 44},   {SDLK_INSERT, 45},
    {SDLK_DELETE, 46},        {SDLK_LGUI, 91},
    {SDLK_RGUI, 92},          {SDLK_APPLICATION, 93},
    {SDLK_KP_MULTIPLY, 106},  {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},     {SDLK_KP_DIVIDE, 111},
    {SDLK_NUMLOCKCLEAR, 144}, {SDLK_SCROLLLOCK, 145},
    {SDLK_SEMICOLON, 186},    {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188},        {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190},       {SDLK_SLASH, 191},
    {SDLK_BACKQUOTE, 192},    {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220},    {SDLK_RIGHTBRACKET, 221},
    {SDLK_QUOTE, 222},
};

// Punctuation keys of layouts whose characters are not the US ones: found by their position.
constexpr KeyPair kPunctuationScancodes[] = {
    {SDL_SCANCODE_SEMICOLON, 186},  {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},      {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},     {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},      {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},  {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222}, {SDL_SCANCODE_NONUSBACKSLASH, 226},
};

// Numpad keys: their code with Num Lock on, and with it off.
struct NumpadKey {
  SDL_Keycode sdl;
  int withNumLock;
  int withoutNumLock;
};
constexpr NumpadKey kNumpad[] = {
    {SDLK_KP_0, kVkNumpad0 + 0, 45}, {SDLK_KP_1, kVkNumpad0 + 1, 35},
    {SDLK_KP_2, kVkNumpad0 + 2, 40}, {SDLK_KP_3, kVkNumpad0 + 3, 34},
    {SDLK_KP_4, kVkNumpad0 + 4, 37}, {SDLK_KP_5, kVkNumpad0 + 5, kVkClear},
    {SDLK_KP_6, kVkNumpad0 + 6, 39}, {SDLK_KP_7, kVkNumpad0 + 7, 36},
    {SDLK_KP_8, kVkNumpad0 + 8, 38}, {SDLK_KP_9, kVkNumpad0 + 9, 33},
    {SDLK_KP_PERIOD, 110, 46},
};

int FromTable(const KeyPair* begin, const KeyPair* end, int sdl) {
  for (const KeyPair* pair = begin; pair != end; ++pair) {
    if (pair->sdl == sdl) return pair->vk;
  }
  return 0;
}

int FromKeycode(SDL_Keycode sym, bool numLock) {
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
  if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return kVkF1 + (sym - SDLK_F1);
  if (sym >= SDLK_F13 && sym <= SDLK_F24) return kVkF1 + 12 + (sym - SDLK_F13);
  for (const NumpadKey& key : kNumpad) {
    if (key.sdl == sym) return numLock ? key.withNumLock : key.withoutNumLock;
  }
  return FromTable(std::begin(kKeycodes), std::end(kKeycodes), sym);
}

// Letters and digits of layouts with other characters on those keys keep their position.
int FromScancode(SDL_Scancode code) {
  if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return 'A' + (code - SDL_SCANCODE_A);
  if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return '1' + (code - SDL_SCANCODE_1);
  if (code == SDL_SCANCODE_0) return '0';
  return FromTable(std::begin(kPunctuationScancodes), std::end(kPunctuationScancodes), code);
}

// US characters of the keys that give one, unshifted and shifted.
struct KeyChars {
  int vk;
  char plain;
  char shifted;
};
constexpr KeyChars kUsChars[] = {
    {'0', '0', ')'},  {'1', '1', '!'}, {'2', '2', '@'}, {'3', '3', '#'},  {'4', '4', '$'},
    {'5', '5', '%'},  {'6', '6', '^'}, {'7', '7', '&'}, {'8', '8', '*'},  {'9', '9', '('},
    {186, ';', ':'},  {187, '=', '+'}, {188, ',', '<'}, {189, '-', '_'},  {190, '.', '>'},
    {191, '/', '?'},  {192, '`', '~'}, {219, '[', '{'}, {220, '\\', '|'}, {221, ']', '}'},
    {222, '\'', '"'}, {32, ' ', ' '},
};

// Keys whose character does not depend on the layout or on Shift.
constexpr KeyPair kFixedChars[] = {
    {8, 8}, {9, 9}, {13, 13}, {27, 27}, {106, '*'}, {107, '+'}, {109, '-'}, {110, '.'}, {111, '/'},
};

constexpr int kFirstPrintable = 0x20;
constexpr int kDelete = 0x7F;
constexpr int kLastLatin1 = 0xFF;
constexpr int kControlMask = 0x1F;

int ShiftedUs(int plain) {
  for (const KeyChars& chars : kUsChars) {
    if (chars.plain == plain) return chars.shifted;
  }
  return plain;
}

// The character the layout puts on this key without modifiers, or 0.
int LayoutCharacter(int scanCode) {
  if (scanCode <= SDL_SCANCODE_UNKNOWN || scanCode >= SDL_NUM_SCANCODES) return 0;
  SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scanCode));
  if (key < kFirstPrintable || key == kDelete || key > kLastLatin1) return 0;
  return key;
}

int UsCharacter(int vk) {
  if (vk >= 'A' && vk <= 'Z') return std::tolower(vk);
  for (const KeyChars& chars : kUsChars) {
    if (chars.vk == vk) return chars.plain;
  }
  return 0;
}

}  // namespace

int VirtualKeyFromSdl(const SDL_Keysym& key) {
  int vk = FromKeycode(key.sym, (key.mod & KMOD_NUM) != 0);
  if (vk == 0) vk = FromScancode(key.scancode);
  return vk;
}

int CharacterFromKey(int virtualKey, int scanCode, const KeyModifiers& modifiers) {
  if (virtualKey >= kVkNumpad0 && virtualKey <= kVkNumpad0 + 9)
    return '0' + virtualKey - kVkNumpad0;
  int fixed = FromTable(std::begin(kFixedChars), std::end(kFixedChars), virtualKey);
  if (fixed != 0) return fixed;

  int plain = LayoutCharacter(scanCode);
  if (plain == 0) plain = UsCharacter(virtualKey);
  if (plain == 0) return 0;

  // Ctrl with Alt is AltGr, whose characters the layout tables here do not cover.
  if (modifiers.ctrl) {
    if (modifiers.alt) return 0;
    return std::isalpha(plain) ? (plain & kControlMask) : 0;
  }
  if (std::isalpha(plain)) {
    bool upper = modifiers.shift != modifiers.capsLock;
    return upper ? std::toupper(plain) : std::tolower(plain);
  }
  return modifiers.shift ? ShiftedUs(plain) : plain;
}
