// The last life lost goes back to the current save slot through the host; only without a
// loadable save is the level entered afresh. Either way a notice says what happened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_fixture.h"
#include "simulation/play_update.h"

namespace skerrow {
namespace {

// A host whose slot holds a save: the reload puts the saved ship back.
class SlotHost : public test::FakeHost {
 public:
  explicit SlotHost(WorldState& w) : w_(w) {}
  bool ReloadCurrentSlot() override {
    ++reloads;
    if (!haveSave) return false;
    w_.lives = 2;
    w_.units[w_.playerUnit].alive = 1;
    w_.units[w_.playerUnit].posX = 77.0;
    return true;
  }
  void ShowNotice(const std::string& text) override { notices.push_back(text); }
  bool haveSave = true;
  int reloads = 0;
  std::vector<std::string> notices;

 private:
  WorldState& w_;
};

class SlotReloadTest : public test::SimTest {};

TEST_F(SlotReloadTest, TheLastLifeReloadsTheSlotAndFallsBackToTheLevel) {
  SlotHost slot(w);
  P().alive = 0;
  w.lives = 0;
  PlayUpdate(w, slot);
  EXPECT_EQ(slot.reloads, 1);
  EXPECT_TRUE(slot.levelsEntered.empty());
  EXPECT_EQ(+w.lives, 2);
  EXPECT_EQ(+P().posX, 77.0);
  EXPECT_EQ(slot.notices, std::vector<std::string>{kLastLifeBackToSave});
  // A life left: a respawn in place, no reload and no notice.
  P().alive = 0;
  w.lives = 1;
  PlayUpdate(w, slot);
  EXPECT_EQ(slot.reloads, 1);
  EXPECT_EQ(+w.lives, 0);
  EXPECT_EQ(slot.notices.size(), 1u);
  // No loadable save: the level starts afresh with three lives.
  slot.haveSave = false;
  w.levelNumber = 4;
  P().alive = 0;
  PlayUpdate(w, slot);
  EXPECT_EQ(slot.reloads, 2);
  EXPECT_EQ(slot.levelsEntered, std::vector<int32_t>{4});
  EXPECT_EQ(+w.lives, 3);
  EXPECT_EQ(slot.notices.back(), kLastLifeLevelAgain);
}

}  // namespace
}  // namespace skerrow
