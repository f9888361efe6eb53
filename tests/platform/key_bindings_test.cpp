// Key bindings: the default map is the identity, a rebinding moves the game key to the new key
// and silences the old one, binding a taken key swaps, and the keys the window names.
#include "platform/key_bindings.h"

#include <gtest/gtest.h>

#include "platform/vk_codes.h"

namespace skerrow {
namespace {

TEST(KeyBindings, DefaultsAreTheGameKeysAndMapEveryKeyToItself) {
  const KeyBindings defaults;
  EXPECT_TRUE(KeysDistinct(defaults));
  for (int32_t a = 0; a < kKeyActionCount; ++a) {
    EXPECT_EQ(defaults.keys[a], KeyActionRow(a).gameKey) << KeyActionRow(a).storedName;
  }
  const KeyMap map = MakeKeyMap(defaults);
  for (int vk = 0; vk < 256; ++vk) EXPECT_EQ(map.Map(vk), vk) << vk;
  EXPECT_EQ(map.Map(-1), 0);
  EXPECT_EQ(map.Map(256), 0);
}

TEST(KeyBindings, ARebindingMovesTheGameKeyAndSilencesTheOldKey) {
  KeyBindings b;
  ASSERT_TRUE(BindKey(b, kKeyForward, 'K'));
  const KeyMap map = MakeKeyMap(b);
  EXPECT_EQ(map.Map('K'), kVkUp);
  EXPECT_EQ(map.Map(kVkUp), 0);
  EXPECT_EQ(map.Map('W'), 'W');            // other actions keep their keys
  EXPECT_EQ(map.Map(kVkSpace), kVkSpace);  // keys of no action stay themselves

  // The snapshot through the map: K holds Up; the old key holds nothing (not even code 0).
  KeyboardState physical, game;
  physical.SetDown('K', true);
  physical.SetDown(kVkUp, true);
  game.AddMapped(physical, map);
  EXPECT_TRUE(game.IsDown(kVkUp));
  EXPECT_FALSE(game.IsDown('K'));
  EXPECT_FALSE(game.IsDown(0));
}

TEST(KeyBindings, BindingATakenKeySwapsAndBadRequestsChangeNothing) {
  KeyBindings b;
  ASSERT_TRUE(BindKey(b, kKeyMainGun, 'A'));  // the left battery's key
  EXPECT_EQ(b.keys[kKeyMainGun], 'A');
  EXPECT_EQ(b.keys[kKeySideLeft], 'W');
  EXPECT_TRUE(KeysDistinct(b));
  const KeyMap swapped = MakeKeyMap(b);
  EXPECT_EQ(swapped.Map('A'), 'W');
  EXPECT_EQ(swapped.Map('W'), 'A');

  const KeyBindings before = b;
  struct Row {
    int32_t action;
    int vk;
  };
  for (const Row& r : {Row{kKeyForward, kVkEscape}, Row{kKeyForward, 0}, Row{kKeyForward, 256},
                       Row{kKeyForward, 7}, Row{-1, 'K'}, Row{kKeyActionCount, 'K'}}) {
    EXPECT_FALSE(BindKey(b, r.action, r.vk)) << r.action << " " << r.vk;
    EXPECT_EQ(b, before);
  }
  ASSERT_TRUE(BindKey(b, kKeyMenu, 'P'));  // the menu can leave Esc, Esc stays unbindable
  EXPECT_EQ(MakeKeyMap(b).Map(kVkEscape), 0);
}

TEST(KeyBindings, KeyNames) {
  struct Row {
    int vk;
    const char* name;
  };
  for (const Row& r :
       {Row{'W', "W"}, Row{'7', "7"}, Row{VkFunction(5), "F5"}, Row{VkFunction(24), "F24"},
        Row{kVkUp, "Вверх"}, Row{kVkSpace, "Пробел"}, Row{kVkOem3, "~"}, Row{VkNumpad(0), "Num 0"},
        Row{kVkSnapshot, "Print Screen"}, Row{0, ""}, Row{7, ""}, Row{255, ""}, Row{-3, ""}}) {
    EXPECT_EQ(KeyName(r.vk), r.name) << r.vk;
    EXPECT_EQ(BindableKey(r.vk), *r.name != '\0') << r.vk;
  }
}

}  // namespace
}  // namespace skerrow
