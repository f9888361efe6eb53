// The ship weapons fired by the unit update: bow gun, side batteries and the special weapons
// S (homing rockets), X (flame-thrower) and Z (mines). Each takes the firing unit's index and
// resets its own reload.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
class PlayHost;

void FireMainGun(WorldState& w, PlayHost& host, int32_t unit);
// side: 0 left, 1 right.
void FireSideBattery(WorldState& w, PlayHost& host, int32_t unit, int32_t side);
void FireWeaponS(WorldState& w, PlayHost& host, int32_t unit);
void FireWeaponX(WorldState& w, PlayHost& host, int32_t unit);
void FireWeaponZ(WorldState& w, PlayHost& host, int32_t unit);

}  // namespace skerrow
