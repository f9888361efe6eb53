// Bonuses and event triggers: pickups and level events, run on every second play step.
#pragma once

namespace skerrow {
struct WorldState;
void UpdateTriggers(WorldState& w);
}  // namespace skerrow
