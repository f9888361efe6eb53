// The key window in-process, without graphics: opened from the options, a row waiting for a
// key, Esc and unbindable keys, swaps, defaults, and the bindings stored only when the options
// close.
#include "gui/key_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/interface.h"
#include "platform/cp1251.h"
#include "platform/vk_codes.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

class KeyHost : public MenuHost {
 public:
  KeyBindings inForce;
  std::vector<std::string> calls;  // "keys" and "options" in the order they came
  KeyBindings ReadKeyBindings() override { return inForce; }
  void StoreKeyBindings(const KeyBindings& b) override {
    inForce = b;
    calls.push_back("keys");
  }
  void StoreOptions(const OptionBoxes&) override { calls.push_back("options"); }
};

class KeyWindowTest : public ::testing::Test {
 protected:
  KeyWindowTest() : world_(std::make_unique<WorldState>()) {
    world_->appPath = "/nonexistent/";
    world_->GameMode = game_mode::kPlay;
    BuildInterface(ui, *world_, host, 0, 0, false);
  }
  void Fire(TWindow& window, int index) {
    TButton& b = window.buttons[static_cast<size_t>(index)];
    ASSERT_TRUE(b.action) << b.caption;
    b.action(b, 0);
  }
  std::string Caption(int32_t action) {
    return Cp1251ToUtf8(ui.gui.windows.keys.buttons[kKeyRowButton + action].caption);
  }

  std::unique_ptr<WorldState> world_;
  KeyHost host;
  TInterface ui;
};

TEST_F(KeyWindowTest, RebindsFromTheOptionsAndStoresOnlyWhenTheyClose) {
  TWindow& options = ui.gui.windows.options;
  TWindow& keys = ui.gui.windows.keys;
  ASSERT_EQ(keys.buttons.size(), static_cast<size_t>(kKeyDoneButton + 1));
  EXPECT_EQ(keys.texts.size(), static_cast<size_t>(kKeyActionCount));
  host.inForce.keys[kKeyMainGun] = 'Q';  // bindings from an earlier session
  OpenOptions(ui);
  ASSERT_EQ(Cp1251ToUtf8(options.buttons[2].caption), "Клавиши");
  Fire(options, 2);
  EXPECT_EQ(+options.visible, 0);
  ASSERT_EQ(+keys.visible, 1);
  EXPECT_TRUE(PlayWindowOpen(ui));  // the key window pauses play like the options
  EXPECT_EQ(Caption(kKeyForward), "Вверх");
  EXPECT_EQ(Caption(kKeyMainGun), "Q");
  EXPECT_FALSE(KeyWindowWaiting(ui));

  Fire(keys, kKeyRowButton + kKeyForward);
  ASSERT_TRUE(KeyWindowWaiting(ui));
  EXPECT_EQ(Caption(kKeyForward), "Клавиша?");
  TakeKey(ui, 0);  // a code without a key: still waiting
  EXPECT_TRUE(KeyWindowWaiting(ui));
  TakeKey(ui, kVkEscape);  // Esc cancels
  EXPECT_FALSE(KeyWindowWaiting(ui));
  EXPECT_EQ(Caption(kKeyForward), "Вверх");

  Fire(keys, kKeyRowButton + kKeyForward);
  TakeKey(ui, 'D');  // the right battery's key: the battery takes Up
  EXPECT_FALSE(KeyWindowWaiting(ui));
  EXPECT_EQ(Caption(kKeyForward), "D");
  EXPECT_EQ(Caption(kKeySideRight), "Вверх");
  TakeKey(ui, 'K');  // nothing waits: ignored
  EXPECT_EQ(ui.keyEdit.keys[kKeyForward], 'D');
  EXPECT_EQ(host.inForce.keys[kKeyForward], kVkUp);  // not in force yet

  Fire(keys, kKeyDoneButton);
  EXPECT_EQ(+keys.visible, 0);
  ASSERT_EQ(+options.visible, 1);
  Fire(options, 1);                                                      // "Закрыть"
  EXPECT_EQ(host.calls, (std::vector<std::string>{"keys", "options"}));  // keys reach the file
  EXPECT_EQ(host.inForce.keys[kKeyForward], 'D');
  EXPECT_EQ(host.inForce.keys[kKeySideRight], kVkUp);
  EXPECT_EQ(host.inForce.keys[kKeyMainGun], 'Q');
}

TEST_F(KeyWindowTest, DefaultsAndAClosedWindowDropTheWait) {
  host.inForce.keys[kKeyWeaponZ] = 'M';
  OpenOptions(ui);
  OpenKeyWindow(ui);
  Fire(ui.gui.windows.keys, kKeyRowButton + kKeyMenu);
  ASSERT_TRUE(KeyWindowWaiting(ui));
  Fire(ui.gui.windows.keys, kKeyDefaultsButton);
  EXPECT_FALSE(KeyWindowWaiting(ui));
  EXPECT_EQ(ui.keyEdit, KeyBindings{});
  EXPECT_EQ(Caption(kKeyWeaponZ), "Z");
  EXPECT_EQ(Caption(kKeyMenu), "Esc");
  Fire(ui.gui.windows.keys, kKeyRowButton + kKeyWeaponS);
  HideWindow(ui.gui, ui.gui.windows.keys);  // its close box
  EXPECT_FALSE(KeyWindowWaiting(ui));
  // Options closed by their close box: nothing stored, the next opening starts from what is in
  // force.
  OpenOptions(ui);
  EXPECT_EQ(ui.keyEdit.keys[kKeyWeaponZ], 'M');
  EXPECT_TRUE(host.calls.empty());
}

}  // namespace
}  // namespace skerrow
