// The rebindable keys of play: the action table, rebinding with swaps, the key map and the
// keys' names.
#include "platform/key_bindings.h"

#include "platform/vk_codes.h"

namespace skerrow {
namespace {

constexpr KeyActionInfo kActions[kKeyActionCount] = {
    {"ctlForward", kVkUp, "Вперёд"},
    {"ctlBack", kVkDown, "Назад"},
    {"ctlTurnLeft", kVkLeft, "Поворот влево"},
    {"ctlTurnRight", kVkRight, "Поворот вправо"},
    {"ctlMainGun", 'W', "Носовое орудие"},
    {"ctlSideLeft", 'A', "Левый борт"},
    {"ctlSideRight", 'D', "Правый борт"},
    {"ctlWeaponS", 'S', "Ракеты"},
    {"ctlWeaponX", 'X', "Огнемёт"},
    {"ctlWeaponZ", 'Z', "Мины"},
    {"panels", kVkOem3, "Панели"},
    {"menu", kVkEscape, "Меню"},
    {"screenshot", VkFunction(5), "Снимок экрана"},
    {"screenshotBmp", kVkSnapshot, "Снимок экрана BMP"},
};

struct NamedKey {
  int vk;
  const char* name;
};
constexpr NamedKey kNamedKeys[] = {
    {kVkBack, "Backspace"},
    {kVkTab, "Tab"},
    {kVkClear, "Num 5"},
    {kVkReturn, "Enter"},
    {kVkShift, "Shift"},
    {kVkControl, "Ctrl"},
    {kVkMenu, "Alt"},
    {kVkPause, "Pause"},
    {kVkCapital, "Caps Lock"},
    {kVkEscape, "Esc"},
    {kVkSpace, "Пробел"},
    {kVkPrior, "Page Up"},
    {kVkNext, "Page Down"},
    {kVkEnd, "End"},
    {kVkHome, "Home"},
    {kVkLeft, "Влево"},
    {kVkUp, "Вверх"},
    {kVkRight, "Вправо"},
    {kVkDown, "Вниз"},
    {kVkSnapshot, "Print Screen"},
    {kVkInsert, "Insert"},
    {kVkDelete, "Delete"},
    {kVkLWin, "Win"},
    {kVkRWin, "Win"},
    {kVkApps, "Меню"},
    {kVkMultiply, "Num *"},
    {kVkAdd, "Num +"},
    {kVkSeparator, "Num ,"},
    {kVkSubtract, "Num -"},
    {kVkDecimal, "Num ."},
    {kVkDivide, "Num /"},
    {kVkNumLock, "Num Lock"},
    {kVkScroll, "Scroll Lock"},
    {kVkOem1, ";"},
    {kVkOemPlus, "="},
    {kVkOemComma, ","},
    {kVkOemMinus, "-"},
    {kVkOemPeriod, "."},
    {kVkOem2, "/"},
    {kVkOem3, "~"},
    {kVkOem4, "["},
    {kVkOem5, "\\"},
    {kVkOem6, "]"},
    {kVkOem7, "'"},
    {kVkOem102, "<>"},
};

bool ValidAction(int32_t action) {
  return action >= 0 && action < kKeyActionCount;
}

}  // namespace

const KeyActionInfo& KeyActionRow(int32_t action) {
  return kActions[ValidAction(action) ? action : 0];
}

KeyBindings::KeyBindings() {
  for (int32_t a = 0; a < kKeyActionCount; ++a) keys[a] = kActions[a].gameKey;
}

std::string KeyName(int vk) {
  if ((vk >= kVkA && vk <= kVkZ) || (vk >= kVk0 && vk <= kVk9)) return std::string(1, char(vk));
  if (vk >= kVkF1 && vk < kVkF1 + 24) return "F" + std::to_string(vk - kVkF1 + 1);
  if (vk >= kVkNumpad0 && vk <= kVkNumpad9) return "Num " + std::to_string(vk - kVkNumpad0);
  for (const NamedKey& k : kNamedKeys) {
    if (k.vk == vk) return k.name;
  }
  return {};
}

bool BindableKey(int vk) {
  return vk > 0 && vk < 256 && vk != kVkEscape && !KeyName(vk).empty();
}

bool BindKey(KeyBindings& bindings, int32_t action, int vk) {
  if (!ValidAction(action) || !BindableKey(vk)) return false;
  for (int32_t a = 0; a < kKeyActionCount; ++a) {
    if (a != action && bindings.keys[a] == vk) bindings.keys[a] = bindings.keys[action];
  }
  bindings.keys[action] = vk;
  return true;
}

bool KeysDistinct(const KeyBindings& bindings) {
  for (int32_t a = 0; a < kKeyActionCount; ++a) {
    for (int32_t b = a + 1; b < kKeyActionCount; ++b) {
      if (bindings.keys[a] == bindings.keys[b]) return false;
    }
  }
  return true;
}

KeyMap MakeKeyMap(const KeyBindings& bindings) {
  KeyMap map;
  for (const KeyActionInfo& a : kActions) map.Set(a.gameKey, 0);
  for (int32_t a = 0; a < kKeyActionCount; ++a) map.Set(bindings.keys[a], kActions[a].gameKey);
  return map;
}

}  // namespace skerrow
