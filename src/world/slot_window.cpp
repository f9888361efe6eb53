// The save and load window's slot logic: browsing, refreshing, deleting and the action button.
#include "world/slot_window.h"

#include <cstdio>
#include <string_view>

#include "platform/cp1251.h"
#include "platform/paths.h"
#include "world/raw_io.h"

namespace skerrow {
namespace {

constexpr size_t kDescriptionFileLimit = 4096;  // seven lines of two short names and numbers

// Brings a slot number from memory into 1..99 (a slot outside it shows slot 1).
int32_t ValidSlot(int32_t slot) {
  return slot >= 1 && slot <= kSaveSlots ? slot : 1;
}

}  // namespace

void OpenSlotWindow(WorldState& ws, SlotWindow& win, SlotMode mode) {
  win.visible = true;
  win.mode = mode;
  win.actionCaption = Utf8ToCp1251(mode == SlotMode::kChoose ? "Выбрать" : "Загрузить");
  RefreshSlotWindow(ws, win);
}

void RefreshSlotWindow(const WorldState& ws, SlotWindow& win) {
  const int32_t slot = ValidSlot(ws.browseSlot);
  win.slotLine = Utf8ToCp1251("Номер сохранения : ") + std::to_string(slot);
  const std::string tga = SlotFile(ws.appPath, slot, ".tga");
  win.slotUsed = PathExists(tga);
  win.lines = {};
  if (!win.slotUsed) {
    win.thumbnail = ws.appPath + "gdata\\textures\\int\\empty.qvt";
    return;
  }
  win.thumbnail = tga;
  std::string text(kDescriptionFileLimit, '\0');
  const size_t n = ReadFileRange(SlotFile(ws.appPath, slot, ".txt"),
                                 {reinterpret_cast<uint8_t*>(text.data()), text.size()});
  text.resize(n);
  win.lines = ParseDescriptionFile(text);
}

void NextSlot(WorldState& ws, SlotWindow& win) {
  if (!win.visible) return;
  ws.browseSlot = ValidSlot(ws.browseSlot) % kSaveSlots + 1;
  RefreshSlotWindow(ws, win);
}

void PreviousSlot(WorldState& ws, SlotWindow& win) {
  if (!win.visible) return;
  const int32_t slot = ValidSlot(ws.browseSlot);
  ws.browseSlot = slot == 1 ? kSaveSlots : slot - 1;
  RefreshSlotWindow(ws, win);
}

bool DeleteSlot(WorldState& ws, SlotWindow& win) {
  if (!win.visible) return false;
  ws.browseSlot = ValidSlot(ws.browseSlot);
  for (const char* ext : {".tga", ".qvs", ".txt"}) {
    const std::string file = SlotFile(ws.appPath, ws.browseSlot, ext);
    if (PathExists(file)) std::remove(ResolvePath(file).c_str());
  }
  InvalidatePathCache();
  RefreshSlotWindow(ws, win);
  return true;
}

SlotActionOutcome SlotAction(WorldState& ws, SlotWindow& win, LevelHost& host) {
  if (!win.visible) return {};
  ws.browseSlot = ValidSlot(ws.browseSlot);
  if (win.mode == SlotMode::kChoose) {
    ws.saveSlot = ws.browseSlot;
    win.visible = false;  // the hero selection hides the window
    return {SlotActionResult::kHeroSelection, {}};
  }
  // A slot that does not load leaves the running game, its slot included, as it was.
  const int32_t previousSlot = ws.saveSlot;
  ws.saveSlot = ws.browseSlot;
  const SlotLoadResult r = LoadGame(ws, host);
  if (r.status != SlotLoad::kLoaded) ws.saveSlot = previousSlot;
  switch (r.status) {
    case SlotLoad::kLoaded:
      win.visible = false;
      return {SlotActionResult::kLoaded, {}};
    case SlotLoad::kRefused:
      return {SlotActionResult::kRefused, r.message};
    case SlotLoad::kMissing:
      break;
  }
  return {SlotActionResult::kMissing, {}};
}

}  // namespace skerrow
