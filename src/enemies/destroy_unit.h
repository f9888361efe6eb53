// Unit destruction: a unit stops being a live participant of play and its kind's death event
// runs (explosion, debris, area blast, boss reward, hint); the wreck is left to the unit
// physics, which sink it.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
class PlayHost;

// i = 1..255; other indices do nothing. Not guarded: a unit that is already sinking runs its
// death event again.
void DestroyUnit(WorldState& w, PlayHost& host, int32_t i);

// The area blast of rammers and mines around unit i: every other live, floating unit nearer
// than 8 loses (0.3 + 0.3 R) * factor * (8 - d) life and is alerted; the player's ship is
// spared while its respawn protection lasts.
void AreaBlast(WorldState& w, int32_t i, double factor);

}  // namespace skerrow
