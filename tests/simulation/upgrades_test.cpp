// Ship upgrades: derived values, the life ratio, limits per ship, and points running out.
#include "simulation/upgrades.h"

#include "sim_fixture.h"

namespace skerrow::test {
namespace {

class UpgradesTest : public SimTest {};

TEST_F(UpgradesTest, DerivedValuesKeepTheLifeRatio) {
  w.speedPoints = 80;
  w.armourPoints = 10;
  w.gunPoints = 90;
  w.heroLevel = 5;
  P().life = 50.0f;  // half of 100
  ApplyUpgrades(w);
  EXPECT_FLOAT_EQ(+P().acceleration, 80 * 5e-8 + 1.4e-6);
  EXPECT_FLOAT_EQ(+P().rotateSpeed, 80 * 1e-7 + 3.6e-6);
  EXPECT_FLOAT_EQ(+P().maxLife, 105.0f);
  EXPECT_FLOAT_EQ(+P().life, 52.5f);
  EXPECT_DOUBLE_EQ(+w.speedFactor, 1.25);
  EXPECT_DOUBLE_EQ(+w.gunFactor, 2.5);  // kind 1: factor 2
  P().unitKind = 3;
  ApplyUpgrades(w);
  EXPECT_DOUBLE_EQ(+w.gunFactor, 1.3);
  // A zero maximum life does not poison the life with NaN.
  P().maxLife = 0.0f;
  ApplyUpgrades(w);
  EXPECT_FLOAT_EQ(+P().life, 105.0f);
}

TEST_F(UpgradesTest, BuyingStopsAtTheShipLimitAndWithoutPoints) {
  struct Case {
    int32_t ship;
    Upgrade which;
    int32_t limit;
  };
  for (Case c :
       {Case{1, Upgrade::kArmour, 220}, Case{2, Upgrade::kGuns, 180}, Case{3, Upgrade::kSpeed, 120},
        Case{0, Upgrade::kArmour, 0}, Case{9, Upgrade::kSpeed, 0}}) {
    w.shipChoice = c.ship;
    EXPECT_EQ(UpgradeLimit(c.ship, c.which), +c.limit);
    w.armourPoints = w.gunPoints = w.speedPoints = c.limit > 0 ? c.limit - 1 : 0;
    w.upgradePoints = 3;
    EXPECT_EQ(BuyUpgrade(w, c.which), c.limit > 0);
    EXPECT_FALSE(BuyUpgrade(w, c.which));  // at the limit now
    EXPECT_EQ(+w.upgradePoints, c.limit > 0 ? 2 : 3);
  }
  w.shipChoice = 1;
  w.armourPoints = 0;
  w.upgradePoints = 0;
  EXPECT_FALSE(BuyUpgrade(w, Upgrade::kArmour));
  EXPECT_EQ(+w.armourPoints, 0);
}

}  // namespace
}  // namespace skerrow::test
