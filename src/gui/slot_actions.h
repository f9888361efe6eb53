// The save and load window's buttons and the hint window's "Продолжить игру": the actions the
// windows call by name. The slot browsing, deleting and loading come with the save games.
#pragma once

namespace skerrow {

struct TInterface;

// The action button: in choose mode ("Выбрать") the browsed slot becomes the game's slot and
// the hero selection opens; in load mode the slot's game is loaded.
void SlotAction(TInterface& ui);
void NextSlot(TInterface& ui);      // ">>"
void PreviousSlot(TInterface& ui);  // "<<"
void DeleteSlot(TInterface& ui);    // "Удалить"
// Shows the browsed slot's number, thumbnail and description lines.
void RefreshSlotWindow(TInterface& ui);
// Hides the hint window and stops the hint voice.
void ContinueFromHint(TInterface& ui);

}  // namespace skerrow
