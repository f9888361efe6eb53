// The slot window's and the hint window's actions. Until the save games exist only choosing a
// slot for a new game does something: browsing, deleting and loading do nothing.
#include "gui/slot_actions.h"

#include "gui/interface.h"
#include "platform/cp1251.h"
#include "world/world_state.h"

namespace skerrow {

void SlotAction(TInterface& ui) {
  TWindow& window = ui.gui.windows.saveLoad;
  if (window.visible != 1) return;
  ui.host->PlayFlat(18);
  WorldState& w = *ui.world;
  w.saveSlot = w.browseSlot;
  if (window.buttons[kSlotActionButton].caption == Utf8ToCp1251("Выбрать")) ShowHeroSelection(ui);
}

void NextSlot(TInterface&) {}
void PreviousSlot(TInterface&) {}
void DeleteSlot(TInterface&) {}
void RefreshSlotWindow(TInterface&) {}

void ContinueFromHint(TInterface& ui) {
  HideWindow(ui.gui, ui.gui.windows.hintWindow);
  ui.host->StopVoice();
  ui.host->CloseHint();
}

}  // namespace skerrow
