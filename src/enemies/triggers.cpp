// Bonuses and event triggers: pickups and level events, run on every second play step.
// Filled in with the enemies and combat work; until then it leaves the world unchanged.
#include "enemies/triggers.h"

namespace skerrow {
void UpdateTriggers(WorldState&) {}
}  // namespace skerrow
