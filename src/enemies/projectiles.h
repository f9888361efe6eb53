// Projectile flight and impact: shells, rockets, flames, mines, torpedoes and debris, once per
// play step (and in the editor view, so shots in the air finish their course).
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
class PlayHost;

// Moves every live projectile by one step in two half moves, each after its kind's in-flight
// behaviour, applies gravity, and detonates it on an island, the water or (on steps where
// aiPhase is 1) a unit other than its owner. A projectile whose position or velocity is not
// finite ends at once.
void UpdateProjectiles(WorldState& w, PlayHost& host);

// Projectile i (1..511) goes off: nearby units are alerted, units in reach are damaged by
// kind and variant (kill bonuses into experience), splash or explosion particles and sound,
// and the slot ends (a flame burns on with chance 2/3). Other indices do nothing.
void DetonateProjectile(WorldState& w, PlayHost& host, int32_t i);

// Gravity of a projectile kind per ms squared of game time; 0 for kinds without one.
double ProjectileGravity(int32_t kind);

}  // namespace skerrow
