// Enemy behaviour: the control bytes of computer-controlled units, run on every second play step
// (when aiPhase turns to 1), before the unit update acts on them.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
class PlayHost;

void UpdateEnemyBehaviour(WorldState& w, PlayHost& host);

// The summoning boss's minion: the first free unit slot 1..150 gets kind 25, 21 or 24 from its
// unit<K>.par (a missing or short file leaves the slot free), life and maxLife times the
// episode, at a random point of the level at least 35 from the player. Returns the slot or 0.
int32_t SummonMinion(WorldState& w);

}  // namespace skerrow
