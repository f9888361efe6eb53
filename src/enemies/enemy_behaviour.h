// Enemy behaviour: the control bytes of computer-controlled units, run on every second play step.
#pragma once

namespace skerrow {
struct WorldState;
void UpdateEnemyBehaviour(WorldState& w);
}  // namespace skerrow
