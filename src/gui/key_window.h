// The key window, opened by the options' "Клавиши": one row per rebindable action with its key
// on a button; a click on the button waits for a key (Esc cancels), "По умолчанию" restores
// today's keys, "Готово" goes back to the options. The bindings take effect, and are stored,
// when the options close.
#pragma once

#include <cstdint>

#include "platform/key_bindings.h"

namespace skerrow {

struct TInterface;

// Buttons of the key window: kKeyRowButton + action for each action, then these two.
inline constexpr int32_t kKeyRowButton = 1;
inline constexpr int32_t kKeyDefaultsButton = kKeyRowButton + kKeyActionCount;
inline constexpr int32_t kKeyDoneButton = kKeyDefaultsButton + 1;

// Creates the key window (hidden). Called by BuildInterface after the six windows.
void BuildKeyWindow(TInterface& ui);
// Hides the options and shows the key window with the keys being edited (ui.keyEdit).
void OpenKeyWindow(TInterface& ui);
// While the key window is shown and one of its rows waits for a key.
bool KeyWindowWaiting(const TInterface& ui);
// The key the player pressed (a physical virtual-key code) for the waiting row: Esc cancels,
// a key that cannot be bound is ignored (the row keeps waiting), any other is bound (an action
// that had it takes the row's old key).
void TakeKey(TInterface& ui, int vk);

}  // namespace skerrow
