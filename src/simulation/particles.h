// The particle pool (1960 slots) with its spawner and per-step update, the particle templates
// of ships and the sea, and the snowfall (210 flakes).
#pragma once

#include <cstdint>

#include "world/records.h"

namespace skerrow {

struct WorldState;

// Age at which a particle of `kind` ends (kinds 1..21); 0 for any other kind.
double ParticleLifetime(int32_t kind);

// True when (x, z) lies in the window around the camera in which units are updated and
// particles are made: |cx - x| < 21 and -33 < cz - z < 8. False for NaN coordinates.
bool InVisibilityWindow(const WorldState& w, double x, double z);

// Copies `tmpl` into the lowest free slot (active = 1) unless it is outside the visibility
// window, dropped by the low-quality halving, or the pool is full. Returns the slot or 0.
int32_t SpawnParticle(WorldState& w, const ParticleRecord& tmpl);
// The same for a run of spawns in which no particle ends (the projectile update): the
// free-slot search starts at `searchFrom`, never above the lowest free slot, which then moves
// past the slot taken (past the pool when it is full), so a full pool costs one look a spawn.
int32_t SpawnParticleFrom(WorldState& w, const ParticleRecord& tmpl, int32_t& searchFrom);

// Ages, grows, turns and fades every live particle; frees those past their lifetime.
void UpdateParticles(WorldState& w);

// Templates filled into particleTemplate and spawned.
void SpawnSeaGlitter(WorldState& w);                        // one request near the player
void SpawnFunnelSmoke(WorldState& w, const UnitRecord& u);  // kinds 1, 2, 3, 44, 47
void SpawnWake(WorldState& w, const UnitRecord& u, bool forward, bool atUnitHeight);
void SpawnBubbles(WorldState& w, const UnitRecord& u);

// Snow: new flakes near the player while snowOn, the density easing, the fall.
void UpdateSnow(WorldState& w);

}  // namespace skerrow
