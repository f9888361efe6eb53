// The save and load window's slot logic over a plain model of what the window shows: the
// browsed slot with its thumbnail and seven description lines, the action caption, and the
// actions of its buttons. The GUI draws the model and calls these; sounds, hiding the menus and
// the hero selection are the caller's, told by the results.
#pragma once

#include <cstdint>
#include <string>

#include "world/save_game.h"

namespace skerrow {

// "Выбрать": a slot for a new game (from "Новая игра"); "Загрузить": a game to load.
enum class SlotMode : int32_t { kChoose, kLoad };

struct SlotWindow {
  bool visible = false;
  SlotMode mode = SlotMode::kChoose;
  std::string actionCaption;  // Windows-1251: "Выбрать" or "Загрузить"
  std::string slotLine;       // Windows-1251: "Номер сохранения : " + browseSlot
  SlotDescription lines;      // the seven description lines (Windows-1251), empty for no save
  // Game path of the thumbnail picture: the slot's .tga, or gdata\textures\int\empty.qvt (full
  // resolution) when the slot is empty.
  std::string thumbnail;
  bool slotUsed = false;  // the slot's .tga exists: the window decides by the thumbnail alone
};

// Shows the window in `mode` with its caption and refreshes it. The caller hides the main menu
// (and, to load, the in-game menu).
void OpenSlotWindow(WorldState& ws, SlotWindow& win, SlotMode mode);
// Reads slot browseSlot into the model (browseSlot is brought into 1..99 first).
void RefreshSlotWindow(const WorldState& ws, SlotWindow& win);
// ">>" and "<<": browseSlot + 1 (99 wraps to 1) or - 1 (1 wraps to 99), then a refresh. Only
// while the window is visible.
void NextSlot(WorldState& ws, SlotWindow& win);
void PreviousSlot(WorldState& ws, SlotWindow& win);
// "Удалить": deletes the browsed slot's .tga, .qvs and .txt (missing ones silently) and
// refreshes. True when it acted (the caller plays sound 2); only while visible.
bool DeleteSlot(WorldState& ws, SlotWindow& win);

// What the action button came to (its click is played before, as every button's is).
enum class SlotActionResult : int32_t {
  kNone,           // the window is hidden
  kHeroSelection,  // "Выбрать": saveSlot is set; the caller shows the hero selection
  kLoaded,         // "Загрузить": the game was loaded and the window hidden
  kMissing,        // "Загрузить" on an empty slot: nothing happens, the window stays open
  kRefused,        // "Загрузить" of a damaged save: the message is shown, the game goes on
};
struct SlotActionOutcome {
  SlotActionResult result = SlotActionResult::kNone;
  LevelMessage message;  // set for kRefused
};
// The action button: saveSlot = browseSlot, then the choice or LoadGame.
SlotActionOutcome SlotAction(WorldState& ws, SlotWindow& win, LevelHost& host);

}  // namespace skerrow
