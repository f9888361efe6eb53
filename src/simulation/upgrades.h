// Ship upgrades: the player's derived ship values from the upgrade points, and the purchase
// of one point of armour, guns or speed within the chosen ship's limits.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;

enum class Upgrade : int32_t { kArmour = 0, kGuns = 1, kSpeed = 2 };

// Most points of an upgrade for ship `shipChoice` (1..3); 0 for any other ship.
int32_t UpgradeLimit(int32_t shipChoice, Upgrade which);

// Recomputes acceleration, turn acceleration, maximum life (keeping the life ratio), gunFactor
// and speedFactor from speedPoints, armourPoints, gunPoints and heroLevel.
void ApplyUpgrades(WorldState& w);

// Spends one upgrade point on `which` when one is left and the ship's limit allows it, then
// applies the upgrades. Returns true when a point was spent.
bool BuyUpgrade(WorldState& w, Upgrade which);

}  // namespace skerrow
