// The last life lost goes back to the current save slot through the host; only without a
// loadable save, or with one that holds a sinking ship, is the level entered afresh; either way
// a notice says what happened. A level change saves only a ship that may be saved, and not after
// settling steps that reloaded.
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
    UnitRecord& p = w_.units[w_.playerUnit];
    p.alive = 1;
    p.posX = 77.0;
    p.sinking = savedSinking ? 1 : 0;
    p.life = savedSinking ? 0.0f : p.maxLife;
    return true;
  }
  void ShowNotice(const std::string& text) override { notices.push_back(text); }
  bool haveSave = true;
  bool savedSinking = false;  // a slot written with a sinking ship
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

TEST_F(SlotReloadTest, ASlotHoldingASinkingShipStartsTheLevelAfresh) {
  SlotHost slot(w);
  slot.savedSinking = true;
  w.levelNumber = 4;
  P().alive = 0;
  w.lives = 0;
  PlayUpdate(w, slot);
  EXPECT_EQ(slot.reloads, 1);
  EXPECT_EQ(slot.levelsEntered, std::vector<int32_t>{4});
  EXPECT_EQ(+P().sinking, 0);
  EXPECT_EQ(+w.lives, 3);
}

// A ship sailing into a linked edge: the level is entered and settles; the save follows only
// when the ship may be saved and the settling steps did not reload the slot.
TEST_F(SlotReloadTest, ALevelChangeSavesOnlyAShipAfloatThatDidNotReload) {
  const struct {
    const char* what;
    bool sinking;
    bool diesWhileSettling;  // the last life is lost in the first settling step
    int saves;
  } kCases[] = {
      {"afloat", false, false, 1},
      {"sinking", true, false, 0},
      {"reloaded while settling", false, true, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    SlotHost slot(w);
    P() = UnitRecord{};
    MakeShip(1, 1, 14.0, 100.0);
    w.neighbourMinusX = 5;
    w.lives = 0;
    if (c.sinking) {
      P().sinking = 1;
      P().life = 0.0f;
    }
    bool first = true;
    slot.onDispatch = [&] {
      if (first && c.diesWhileSettling) P().alive = 0;
      first = false;
      PlayUpdate(w, slot);
    };
    PlayUpdate(w, slot);
    EXPECT_EQ(slot.levelsEntered, std::vector<int32_t>{5});
    EXPECT_EQ(slot.dispatches, 16);
    EXPECT_EQ(slot.reloads, c.diesWhileSettling ? 1 : 0);
    EXPECT_EQ(slot.saves, c.saves);
  }
}

}  // namespace
}  // namespace skerrow
