// Keys named in scripts become SDL keys that the engine reads back as the same virtual keys.
#include "demo/injected_input.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/key_names.h"
#include "engine/keymap.h"

namespace {

TEST(InjectedKeys, EveryNamedKeyOfTheKeyboardComesBackAsItself) {
  int named = 0;
  for (int vk = 3; vk < 256; ++vk) {
    if (vk == 4 || std::string(KeyName(vk)) == "?") continue;  // 4: the middle button
    SDL_Keysym key{};
    ASSERT_TRUE(KeysymForVirtualKey(vk, &key)) << KeyName(vk);
    EXPECT_EQ(VirtualKeyFromSdl(key), vk) << KeyName(vk);
    EXPECT_EQ(VirtualKeyNamed(KeyName(vk)), vk) << KeyName(vk);
    ++named;
  }
  // 36 letters and digits, 12 function keys, 10 numpad digits and the 41 other names.
  EXPECT_EQ(named, 99);
}

TEST(InjectedKeys, MouseButtonsAndUnknownNamesAreNoKeys) {
  EXPECT_EQ(VirtualKeyNamed("Left Mouse Button"), 0);
  EXPECT_EQ(VirtualKeyNamed("Right Mouse Button"), 0);
  EXPECT_EQ(VirtualKeyNamed("Middle Mouse Button"), 0);
  EXPECT_EQ(VirtualKeyNamed("?"), 0);
  EXPECT_EQ(VirtualKeyNamed(""), 0);
  EXPECT_EQ(VirtualKeyNamed("ESCAPE"), 0);
  SDL_Keysym key{};
  EXPECT_FALSE(KeysymForVirtualKey(0, &key));
  EXPECT_FALSE(KeysymForVirtualKey(1, &key));
  EXPECT_FALSE(KeysymForVirtualKey(300, &key));
}

}  // namespace
