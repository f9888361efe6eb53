// Bonuses and event triggers: pickups and level events, run on every second play step (when
// aiPhase is 1), after the unit update.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
class PlayHost;

// Every armed record within reach of the player's ship fires once, in table order.
void UpdateTriggers(WorldState& w, PlayHost& host);

// The hint trigger's unlocks by its tag (a tutorial): 2 mouse steering, 3 guns, 5 the
// information panel, 7 and 15 several at once, 8 the radar, 13 weapon S; other tags nothing.
void UnlockByHintTag(WorldState& w, int32_t tag);

}  // namespace skerrow
