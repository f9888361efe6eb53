// The battle scene of the frame benchmark: three brigs placed around the player and put back
// once gone, the fire keys' rhythm.
#include "shell/bench_battle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>

#include "support/temp_dir.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

class BenchBattle : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto root = test::ScratchDir("bench_battle");
    std::filesystem::create_directories(root / "gdata" / "parameters");
    UnitRecord brig{};
    brig.unitKind = 10;
    brig.life = 40;
    brig.maxLife = 40;
    std::ofstream(root / "gdata" / "parameters" / "unit10.par", std::ios::binary)
        .write(reinterpret_cast<const char*>(&brig), sizeof brig);
    w = std::make_unique<WorldState>();
    w->appPath = root.string() + "/";
    w->playerUnit = 1;
    UnitRecord& p = w->units[1];
    p.alive = 1;
    p.posX = 100;
    p.posZ = 200;
    p.rotY = 0.7;
    p.life = 3;
    p.maxLife = 50;
    p.maxReload = 9;
    p.maxSideReload = 11;
  }
  std::unique_ptr<WorldState> w;
};

TEST_F(BenchBattle, ThreeBrigsBesideAndAheadAndEachPutBackOnceGone) {
  EXPECT_EQ(StageBattleForBench(*w, 0), 3);
  EXPECT_EQ(+w->gunsUnlocked, 1);
  const UnitRecord& p = w->units[1];
  EXPECT_EQ(p.life, 50);  // the player cannot be sunk
  EXPECT_EQ(p.reload, 9);
  EXPECT_EQ(p.sideReload, 11);
  int brigs = 0, beside = 0, ahead = 0, weak = 0;
  for (int32_t i = 2; i < kUnitSlots; ++i) {
    const UnitRecord& u = w->units[i];
    if (u.alive != 1) continue;
    ++brigs;
    EXPECT_EQ(u.unitKind, 10);
    const double dx = u.posX - p.posX, dz = u.posZ - p.posZ;
    const double along = -(dx * std::sin(p.rotY) + dz * std::cos(p.rotY));  // ahead is +
    const double across = std::hypot(dx, dz);
    if (std::abs(along - 6) < 1e-9) ++ahead;
    if (std::abs(along - 0.5) < 1e-9 && std::abs(across - std::hypot(4.5, 0.5)) < 1e-9) ++beside;
    weak += u.life == 5 && u.haveAI == 0 ? 1 : 0;
  }
  EXPECT_EQ(brigs, 3);
  EXPECT_EQ(beside, 2);
  EXPECT_EQ(ahead, 1);
  EXPECT_EQ(weak, 1);
  // Nothing new while all three sail; one gone is put back the next step.
  EXPECT_EQ(StageBattleForBench(*w, 1), 0);
  for (int32_t i = kUnitSlots - 1; i > 1; --i) {
    if (w->units[i].alive == 1) {
      w->units[i].alive = 0;
      break;
    }
  }
  EXPECT_EQ(StageBattleForBench(*w, 2), 1);
  // Without a player nothing happens.
  w->units[1].alive = 0;
  EXPECT_EQ(StageBattleForBench(*w, 3), 0);
}

TEST_F(BenchBattle, BowGunEveryEightStepsBroadsidesEveryTwelveInTurn) {
  int bow = 0, right = 0, left = 0, both = 0;
  for (int64_t step = 0; step < 48; ++step) {
    const BattleKeys k = BenchBattleKeys(step);
    bow += k.bowGun;
    right += k.rightBattery;
    left += k.leftBattery;
    both += k.rightBattery && k.leftBattery;
  }
  EXPECT_EQ(bow, 6);
  EXPECT_EQ(right, 4);
  EXPECT_EQ(left, 4);
  EXPECT_EQ(both, 0);
  EXPECT_FALSE(BenchBattleRequested(nullptr));
  EXPECT_FALSE(BenchBattleRequested("0"));
  EXPECT_TRUE(BenchBattleRequested("1"));
}

}  // namespace
}  // namespace skerrow
