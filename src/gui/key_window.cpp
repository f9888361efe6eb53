// The key window: the rows of the rebindable actions, waiting for a key, defaults and done.
#include "gui/key_window.h"

#include "gui/interface.h"
#include "platform/cp1251.h"
#include "platform/key_bindings.h"
#include "platform/vk_codes.h"

namespace skerrow {
namespace {

constexpr int32_t kRowTop = 50;   // first row's top, window units downwards
constexpr int32_t kRowStep = 26;  // a 25-unit button and a gap
constexpr int32_t kKeyButtonX = 225;
constexpr int32_t kKeyButtonWidth = 120;

// The key buttons show the edited keys; the waiting row asks for one.
void ShowKeys(TInterface& ui) {
  std::vector<TButton>& buttons = ui.gui.windows.keys.buttons;
  for (int32_t a = 0; a < kKeyActionCount; ++a) {
    const size_t b = static_cast<size_t>(kKeyRowButton + a);
    if (b >= buttons.size()) return;
    buttons[b].caption =
        Utf8ToCp1251(a == ui.keyWaiting ? "Клавиша?" : KeyName(ui.keyEdit.keys[a]));
  }
}

void RestoreDefaults(TInterface& ui) {
  ui.keyEdit = KeyBindings{};
  ui.keyWaiting = -1;
  ShowKeys(ui);
}

void BackToOptions(TInterface& ui) {
  ui.keyWaiting = -1;
  HideWindow(ui.gui, ui.gui.windows.keys);
  ui.gui.windows.options.visible = 1;  // its boxes as the player left them
}

}  // namespace

void BuildKeyWindow(TInterface& ui) {
  TWindow& keys = ui.gui.windows.keys;
  InitWindow(keys, 215, 30, 465, 370);
  AddPanel(keys, 25, 45, kKeyActionCount * kRowStep, 180);
  for (int32_t a = 0; a < kKeyActionCount; ++a) {
    const int32_t top = kRowTop + kRowStep * a;
    AddText(keys, 37, top + 5, Utf8ToCp1251(KeyActionRow(a).label));
    AddButton(keys, kKeyButtonX, top, "", 25, kKeyButtonWidth, [&ui, a](TButton&, int32_t) {
      ui.host->PlayFlat(kClickSound);
      ui.keyWaiting = a;
      ShowKeys(ui);
    });
  }
  const int32_t bottom = kRowTop + kRowStep * kKeyActionCount + 12;
  AddButton(keys, 25, bottom, Utf8ToCp1251("По умолчанию"), 25, 120, Clicked(ui, RestoreDefaults));
  AddButton(keys, 255, bottom, Utf8ToCp1251("Готово"), 25, 90, Clicked(ui, BackToOptions));
  HideWindow(ui.gui, keys);
}

void OpenKeyWindow(TInterface& ui) {
  ui.keyWaiting = -1;
  ShowKeys(ui);
  HideWindow(ui.gui, ui.gui.windows.options);
  ui.gui.windows.keys.visible = 1;
}

bool KeyWindowWaiting(const TInterface& ui) {
  return ui.gui.windows.keys.visible == 1 && ui.keyWaiting >= 0 && ui.keyWaiting < kKeyActionCount;
}

void TakeKey(TInterface& ui, int vk) {
  if (!KeyWindowWaiting(ui)) return;
  if (vk == kVkEscape) {
    ui.keyWaiting = -1;
  } else if (BindKey(ui.keyEdit, ui.keyWaiting, vk)) {
    ui.keyWaiting = -1;
  }
  ShowKeys(ui);
}

}  // namespace skerrow
