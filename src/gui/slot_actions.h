// The save and load window's buttons and the hint window's "Продолжить игру": the actions the
// windows call by name. The slot window's logic and state are the host's model (SlotWindow);
// these forward each button to it and show the model as it then is. The buttons play the click
// before calling them, as every button does.
#pragma once

namespace skerrow {

struct TInterface;

// The action button: in choose mode ("Выбрать") the browsed slot becomes the game's slot and
// the hero selection opens; in load mode the slot's game is loaded and the in-game menu hidden,
// so play runs. An empty or refused slot leaves the windows as they were.
void SlotAction(TInterface& ui);
void NextSlot(TInterface& ui);      // ">>"
void PreviousSlot(TInterface& ui);  // "<<"
void DeleteSlot(TInterface& ui);    // "Удалить"
// Shows the host's model in the window: visibility, action caption, slot number, the seven
// description lines and the thumbnail (the previous texture released, so browsing keeps one).
void RefreshSlotWindow(TInterface& ui);
// Hides the hint window and stops the hint voice.
void ContinueFromHint(TInterface& ui);

}  // namespace skerrow
