// The unit update: level bounds and neighbour levels, then every live unit by the movement
// class of its kind (ships, small craft, enemy ships; fixed units in fixed_units.h).
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
struct UnitRecord;
class PlayHost;

void UpdateUnits(WorldState& w, PlayHost& host);

// Holds the player's unit 12 units inside the level and enters the neighbour level of the
// first edge (-x, -z, +x, +z) whose 15-unit band it reaches, with 16 settling steps and an
// automatic save; no level change when the running step has made one already. No save when
// the settling steps leave a ship that may not be saved or have reloaded the slot.
void ApplyLevelBounds(WorldState& w, PlayHost& host);

// The player's ship may go into a save: live, afloat (not sinking) and with life left. A save
// of a sinking ship would sink again after every reload of it.
bool PlayerShipSavable(const WorldState& w);

// The firing rule. A weapon fires when its control was released since the last latch
// (control 0, latched copy 1) and its reload is ready: `reload` >= `maxReload` for the main gun
// and weapon S, `sideReload` >= `maxSideReload` for the side batteries and weapon Z; weapon X
// fires on every step while its control is held, with no reload test. With `needsUnlock` (the
// player's full ship) each also needs its unlock flag: `gunsUnlocked` for the main gun and the
// side batteries, `weaponXUnlocked`, `weaponZUnlocked`, `weaponSUnlocked`.
enum class Weapon : int32_t { kMainGun, kWeaponX, kWeaponZ, kWeaponS, kSideLeft, kSideRight };
bool WeaponFires(const WorldState& w, const UnitRecord& u, bool needsUnlock, Weapon weapon);

// Movement class of a unit's kind (kindClass), 0 for a kind outside the kind table.
int32_t UnitClass(const WorldState& w, const UnitRecord& u);

// Unit i pushed out of every live unit it overlaps (kind 133 is never an obstacle).
void PushUnit(WorldState& w, int32_t i);

}  // namespace skerrow
