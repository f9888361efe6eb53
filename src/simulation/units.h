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
// automatic save; no level change when the running step has made one already.
void ApplyLevelBounds(WorldState& w, PlayHost& host);

// Movement class of a unit's kind (kindClass), 0 for a kind outside the kind table.
int32_t UnitClass(const WorldState& w, const UnitRecord& u);

// Unit i pushed out of every live unit it overlaps (kind 133 is never an obstacle).
void PushUnit(WorldState& w, int32_t i);

}  // namespace skerrow
