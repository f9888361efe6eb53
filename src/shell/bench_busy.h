// The busy scene of the effects benchmark (--bench with SKERROW_BENCH_BUSY=1): a full particle
// pool and the player's right battery firing, so that busy and quiet frames can be compared.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;

// True when the environment value asks for the busy scene ("1").
bool BenchBusyRequested(const char* value);

// Play steps from one broadside to the next (0.48 s): about one broadside is in flight.
inline constexpr int64_t kBroadsideSteps = 12;

// Whether the right battery's key is held before play step `step`: down on every
// kBroadsideSteps-th step, up on the others, so the battery fires on the step after.
bool BenchBusyFireKey(int64_t step);

// Tops up the player's side battery reload, so that every release fires.
void ReloadBatteriesForBench(WorldState& w);

// Fills every free particle slot after play step `step`: explosions and fireballs (with halos),
// cannon smoke and funnel smoke at the sizes of the game's templates, at ages 0..3, spread over
// 14 x 12 world units around the player's ship (most of the play view). The same step and world
// give the same particles (no shared random draw). Nothing without a player unit.
void FillParticlesForBench(WorldState& w, int64_t step);

}  // namespace skerrow
