// The play step runs the enemy behaviour and the triggers on every second step only.
#include "enemies_fixture.h"
#include "simulation/play_update.h"

namespace skerrow::test {
namespace {

TEST_F(EnemiesTest, BehaviourAndTriggersRunWhenAiPhaseTurnsToOne) {
  w.kindTable[kind::kGunboat].kindAlertRadius = 10.0f;
  Enemy(2, kind::kGunboat, 100.0, 104.0);
  BonusRecord& coin = w.bonuses[1];
  coin.alive = 1;
  coin.kind = bonus::kCoin;
  coin.posX = 100.0;
  coin.posZ = 100.0;
  w.aiPhase = 1;
  PlayUpdate(w, host);  // phase 0: neither runs
  EXPECT_EQ(+w.unitAlerted[2], 0);
  EXPECT_EQ(+coin.alive, 1);
  PlayUpdate(w, host);  // phase 1: both run
  EXPECT_EQ(+w.unitAlerted[2], 1);
  EXPECT_EQ(+coin.alive, 0);
  EXPECT_EQ(+w.coins, 1);
}

}  // namespace
}  // namespace skerrow::test
