// Ship upgrade limits, the purchase of points and the derived ship values.
#include "simulation/upgrades.h"

#include <cmath>

#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

// Limits by ship 1..3: guns, speed, armour (row 0 unused).
struct ShipLimits {
  int32_t guns, speed, armour;
};
constexpr ShipLimits kLimits[4] = {{0, 0, 0}, {130, 200, 220}, {180, 250, 160}, {280, 120, 300}};

// Gun factor of the player's ship kind: 1 -> 2.0, 2 -> 1.0, 3 -> 0.8; other kinds 1.0.
double ShipGunFactor(int32_t unitKind) {
  switch (unitKind) {
    case kind::kPaddleSteamer:
      return 2.0;
    case kind::kCruiser:
      return 0.8;
    default:
      return 1.0;
  }
}

int32_t& Points(WorldState& w, Upgrade which) {
  switch (which) {
    case Upgrade::kArmour:
      return w.armourPoints;
    case Upgrade::kGuns:
      return w.gunPoints;
    default:
      return w.speedPoints;
  }
}

}  // namespace

int32_t UpgradeLimit(int32_t shipChoice, Upgrade which) {
  if (shipChoice < 1 || shipChoice > 3) return 0;
  const ShipLimits& l = kLimits[shipChoice];
  switch (which) {
    case Upgrade::kArmour:
      return l.armour;
    case Upgrade::kGuns:
      return l.guns;
    default:
      return l.speed;
  }
}

void ApplyUpgrades(WorldState& w) {
  const double speed = w.speedPoints;
  w.gunFactor = w.gunPoints / 90.0;
  w.speedFactor = speed / 80.0 + 0.25;
  UnitRecord* player = PlayerUnit(w);
  if (player == nullptr) {
    w.gunFactor += 0.5;
    return;
  }
  UnitRecord& p = *player;
  p.acceleration = static_cast<float>(speed * 5e-8 + 1.4e-6);
  p.rotateSpeed = static_cast<float>(speed * 1e-7 + 3.6e-6);
  const double newMax = 5.0 * w.armourPoints + static_cast<double>(w.heroLevel) + 50.0;
  // A ship without a valid maximum (a fresh or damaged record) keeps full life.
  const double ratio = p.maxLife > 0.0f && std::isfinite(p.life) ? p.life / p.maxLife : 1.0;
  p.life = static_cast<float>(newMax * ratio);
  p.maxLife = static_cast<float>(newMax);
  w.gunFactor = w.gunFactor * ShipGunFactor(p.unitKind) + 0.5;
}

bool BuyUpgrade(WorldState& w, Upgrade which) {
  if (w.upgradePoints < 1) return false;
  int32_t& points = Points(w, which);
  if (points >= UpgradeLimit(w.shipChoice, which)) return false;
  ++points;
  --w.upgradePoints;
  ApplyUpgrades(w);
  return true;
}

}  // namespace skerrow
