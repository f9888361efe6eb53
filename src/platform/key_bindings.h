// The keys of play that the player can rebind: each action's game key (the key the game reads,
// today's default), its stored name and its label; the bindings and the key map made from them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/keyboard.h"

namespace skerrow {

// The rebindable actions, in the order the key window lists them and settings.dat stores them.
enum KeyAction : int32_t {
  kKeyForward = 0,
  kKeyBack,
  kKeyTurnLeft,
  kKeyTurnRight,
  kKeyMainGun,
  kKeySideLeft,
  kKeySideRight,
  kKeyWeaponS,
  kKeyWeaponX,
  kKeyWeaponZ,
  kKeyPanels,
  kKeyMenu,
  kKeyScreenshot,
  kKeyScreenshotBmp,
  kKeyActionCount
};

struct KeyActionInfo {
  const char* storedName;  // key name in the "Skerrow Keys" section of settings.dat
  int gameKey;             // the virtual-key code the game reads for the action
  const char* label;       // UTF-8, shown in the key window
};

// The row of `action` (0..kKeyActionCount-1; anything else gives the first row).
const KeyActionInfo& KeyActionRow(int32_t action);

// Physical key of each action; the defaults are the game keys themselves.
struct KeyBindings {
  std::array<int32_t, kKeyActionCount> keys{};
  KeyBindings();
  bool operator==(const KeyBindings&) const = default;
};

// A key the player may bind: 1..255 with a name, not Esc (which cancels a rebinding).
bool BindableKey(int vk);
// Binds `action` to `vk`. An action that had `vk` takes the action's old key instead, so every
// action keeps a key of its own. False (nothing changes) for an action out of range or a key
// that is not bindable.
bool BindKey(KeyBindings& bindings, int32_t action, int vk);
// Whether no key serves two actions.
bool KeysDistinct(const KeyBindings& bindings);

// Each action's key gives its game key; a game key whose action moved to another key does
// nothing; every other key stays itself. Distinct defaults give the identity.
KeyMap MakeKeyMap(const KeyBindings& bindings);

// The key's name as the key window shows it (UTF-8): "W", "F5", "Вверх", "Пробел"; empty for a
// code without a key.
std::string KeyName(int vk);

}  // namespace skerrow
