// SDL keys to virtual-key codes, key names and the character of a key.
#include <gtest/gtest.h>

#include <string>

#include "engine/key_names.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/sdl_platform.h"

namespace {

int Vk(SDL_Keycode sym, SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN, Uint16 mod = KMOD_NONE) {
  SDL_Keysym key{};
  key.sym = sym;
  key.scancode = scancode;
  key.mod = mod;
  return VirtualKeyFromSdl(key);
}

TEST(VirtualKeys, LettersDigitsAndFunctionKeys) {
  EXPECT_EQ(Vk(SDLK_a), 'A');
  EXPECT_EQ(Vk(SDLK_z), 'Z');
  EXPECT_EQ(Vk(SDLK_0), '0');
  EXPECT_EQ(Vk(SDLK_9), '9');
  EXPECT_EQ(Vk(SDLK_F1), 112);
  EXPECT_EQ(Vk(SDLK_F12), 123);
  EXPECT_EQ(Vk(SDLK_ESCAPE), 27);
  EXPECT_EQ(Vk(SDLK_RETURN), 13);
  EXPECT_EQ(Vk(SDLK_KP_ENTER), 13);
}

TEST(VirtualKeys, ModifiersShareOneCodeForBothSides) {
  EXPECT_EQ(Vk(SDLK_LSHIFT), 16);
  EXPECT_EQ(Vk(SDLK_RSHIFT), 16);
  EXPECT_EQ(Vk(SDLK_LCTRL), 17);
  EXPECT_EQ(Vk(SDLK_RCTRL), 17);
  EXPECT_EQ(Vk(SDLK_LALT), 18);
  EXPECT_EQ(Vk(SDLK_RALT), 18);
  EXPECT_EQ(Vk(SDLK_LGUI), 91);
  EXPECT_EQ(Vk(SDLK_RGUI), 92);
}

TEST(VirtualKeys, NumpadFollowsNumLock) {
  EXPECT_EQ(Vk(SDLK_KP_7, SDL_SCANCODE_KP_7, KMOD_NUM), 103);
  EXPECT_EQ(Vk(SDLK_KP_7, SDL_SCANCODE_KP_7), 36) << "Home without Num Lock";
  EXPECT_EQ(Vk(SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, KMOD_NUM), 110);
  EXPECT_EQ(Vk(SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD), 46);
  EXPECT_EQ(Vk(SDLK_KP_MULTIPLY), 106);
  EXPECT_EQ(Vk(SDLK_KP_DIVIDE), 111);
}

TEST(VirtualKeys, EveryNamedKeyOfTheKeyboardIsReachable) {
  const SDL_Keycode named[] = {
      SDLK_BACKSPACE,   SDLK_TAB,       SDLK_PAUSE,       SDLK_CAPSLOCK,     SDLK_SPACE,
      SDLK_PAGEUP,      SDLK_PAGEDOWN,  SDLK_END,         SDLK_HOME,         SDLK_LEFT,
      SDLK_UP,          SDLK_RIGHT,     SDLK_DOWN,        SDLK_INSERT,       SDLK_DELETE,
      SDLK_APPLICATION, SDLK_KP_PLUS,   SDLK_KP_MINUS,    SDLK_NUMLOCKCLEAR, SDLK_SCROLLLOCK,
      SDLK_SEMICOLON,   SDLK_EQUALS,    SDLK_COMMA,       SDLK_MINUS,        SDLK_PERIOD,
      SDLK_SLASH,       SDLK_BACKQUOTE, SDLK_LEFTBRACKET, SDLK_BACKSLASH,    SDLK_RIGHTBRACKET,
      SDLK_QUOTE};
  for (SDL_Keycode sym : named) {
    int vk = Vk(sym);
    EXPECT_STRNE(KeyName(vk), "?") << SDL_GetKeyName(sym) << " gives " << vk;
  }
  EXPECT_STREQ(KeyName(Vk(SDLK_LEFTBRACKET)), "Left bracket");
  EXPECT_STREQ(KeyName(Vk(SDLK_QUOTE)), "Apostrophe");
}

TEST(VirtualKeys, OtherLayoutsKeepTheKeysPosition) {
  // A French keyboard's "1" key gives '&'; a German one's semicolon key gives 'ö'.
  EXPECT_EQ(Vk(SDLK_AMPERSAND, SDL_SCANCODE_1), '1');
  EXPECT_EQ(Vk(0xF6, SDL_SCANCODE_SEMICOLON), 186);
  EXPECT_EQ(Vk(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0);
}

TEST(KeyNames, GeneratedRangesAndNamedKeys) {
  EXPECT_STREQ(KeyName('7'), "7");
  EXPECT_STREQ(KeyName('Q'), "Q");
  EXPECT_STREQ(KeyName(123), "F12");
  EXPECT_STREQ(KeyName(105), "NumPad 9");
  EXPECT_STREQ(KeyName(27), "Escape");
}

TEST(KeyNames, UnnamedCodesAreAQuestionMark) {
  for (int code : {0, 3, 10, 47, 58, 64, 91 + 3, 108, 124, 146, 185, 193, 223, 255, 256, -1}) {
    EXPECT_STREQ(KeyName(code), "?") << code;
  }
}

TEST(KeyCharacters, ShiftCapsAndCtrl) {
  KeyModifiers none;
  KeyModifiers shift;
  shift.shift = true;
  KeyModifiers caps;
  caps.capsLock = true;
  KeyModifiers ctrl;
  ctrl.ctrl = true;
  KeyModifiers altGr;
  altGr.ctrl = true;
  altGr.alt = true;

  EXPECT_EQ(CharacterFromKey('A', 0, none), 'a');
  EXPECT_EQ(CharacterFromKey('A', 0, shift), 'A');
  EXPECT_EQ(CharacterFromKey('A', 0, caps), 'A');
  KeyModifiers shiftCaps = caps;
  shiftCaps.shift = true;
  EXPECT_EQ(CharacterFromKey('A', 0, shiftCaps), 'a');
  EXPECT_EQ(CharacterFromKey('C', 0, ctrl), 3);
  EXPECT_EQ(CharacterFromKey('C', 0, altGr), 0);
  EXPECT_EQ(CharacterFromKey('2', 0, shift), '@');
  EXPECT_EQ(CharacterFromKey('2', 0, caps), '2') << "Caps Lock leaves digits alone";
  EXPECT_EQ(CharacterFromKey(186, 0, none), ';');
  EXPECT_EQ(CharacterFromKey(222, 0, shift), '"');
}

TEST(KeyCharacters, KeysWithFixedCharactersAndKeysWithout) {
  KeyModifiers shift;
  shift.shift = true;
  EXPECT_EQ(CharacterFromKey(27, 0, {}), 27);
  EXPECT_EQ(CharacterFromKey(13, 0, shift), 13);
  EXPECT_EQ(CharacterFromKey(8, 0, {}), 8);
  EXPECT_EQ(CharacterFromKey(32, 0, shift), ' ');
  EXPECT_EQ(CharacterFromKey(101, 0, {}), '5');
  EXPECT_EQ(CharacterFromKey(107, 0, {}), '+');
  EXPECT_EQ(CharacterFromKey(37, 0, {}), 0) << "arrows give no character";
  EXPECT_EQ(CharacterFromKey(112, 0, {}), 0);
  EXPECT_EQ(CharacterFromKey(16, 0, shift), 0);
  EXPECT_EQ(CharacterFromKey(1, 0, {}), 0);
}

// Injected keys are found by their virtual key and read back as the same virtual key.
TEST(SdlKeys, EveryNamedKeyOfTheKeyboardComesBackAsItself) {
  int named = 0;
  for (int vk = 3; vk < 256; ++vk) {
    if (vk == 4 || std::string(KeyName(vk)) == "?") continue;  // 4: the middle button
    SDL_Keysym key{};
    ASSERT_TRUE(platform::sdl::KeysymForVirtualKey(vk, &key)) << KeyName(vk);
    EXPECT_EQ(VirtualKeyFromSdl(key), vk) << KeyName(vk);
    ++named;
  }
  // 36 letters and digits, 12 function keys, 10 numpad digits and the 41 other names.
  EXPECT_EQ(named, 99);
}

TEST(SdlKeys, MouseButtonsAndUnknownCodesHaveNoKey) {
  SDL_Keysym key{};
  EXPECT_FALSE(platform::sdl::KeysymForVirtualKey(0, &key));
  EXPECT_FALSE(platform::sdl::KeysymForVirtualKey(1, &key));
  EXPECT_FALSE(platform::sdl::KeysymForVirtualKey(300, &key));
}

}  // namespace
