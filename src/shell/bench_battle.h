// The battle scene of the frame benchmark (--bench with SKERROW_BENCH_BATTLE=1): on level 1,
// three enemy brigs around the player's ship, which fires its bow gun and both broadsides
// into them; the one to starboard has little life; each sinks, explodes and smokes and is put
// back once gone, so hits, sinking and smoke go on for the whole run. Everything comes from
// the step count and the game's own seeded simulation: the same seed gives the same battle.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;

// True when the environment value asks for the battle scene ("1").
bool BenchBattleRequested(const char* value);

// The player's fire keys held before play step `step`: the bow gun (W) every 8 steps, the
// right battery (D) every 12 and the left (A) every 12, six steps after the right.
struct BattleKeys {
  bool bowGun = false;
  bool rightBattery = false;
  bool leftBattery = false;
};
BattleKeys BenchBattleKeys(int64_t step);

// Before play step `step`: at step 0 the guns are unlocked and the three brigs placed (from
// gdata\parameters\unit10.par) 4.5 units to either side and 6 ahead; the two beside and ahead
// are computer-controlled. Every step tops up the player's life and gun reloads, and puts a
// brig that has gone back in its place. Returns the number of brigs placed this step.
int32_t StageBattleForBench(WorldState& w, int64_t step);

}  // namespace skerrow
