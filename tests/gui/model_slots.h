// Test host part: the save and load window's model over the world's slot logic, as the main
// form keeps it, with a level host that loads no pictures, art or music.
#pragma once

#include <string>

#include "gui/interface.h"
#include "world/slot_window.h"
#include "world/world_state.h"

namespace skerrow::test {

class QuietLevels final : public LevelHost {
 public:
  bool ReadPicture(const std::string&, LevelPicture&) override { return false; }
  void ResetLoadingProgress() override {}
  void LoadLoadingPicture(int32_t) override {}
  void LoadEpisodeArt(const std::string&) override {}
  void LoadMinimap(const std::string&) override {}
  void SetFpsTimer(bool) override {}
  void StartEpisodeMusic(int32_t) override {}
  void ShowEpisodeHint(const std::string&, const std::string&) override {}
  void ShowOutro() override {}
  void ShowLevelMessage(const LevelMessage&) override {}
};

class ModelSlots : public MenuHost {
 public:
  WorldState* world = nullptr;
  SlotWindow slots;
  LevelMessage refusal;  // the message of the last refused load

  const SlotWindow* Slots() override { return &slots; }
  void OpenSlots(SlotMode mode) override { OpenSlotWindow(*world, slots, mode); }
  void NextSlotClick() override { NextSlot(*world, slots); }
  void PreviousSlotClick() override { PreviousSlot(*world, slots); }
  bool DeleteSlotClick() override { return DeleteSlot(*world, slots); }
  SlotActionResult SlotActionClick() override {
    QuietLevels levels;
    const SlotActionOutcome r = SlotAction(*world, slots, levels);
    refusal = r.message;
    return r.result;
  }
};

}  // namespace skerrow::test
