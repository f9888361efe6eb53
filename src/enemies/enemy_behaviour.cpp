// Enemy behaviour: the control bytes of computer-controlled units, run on every second play step.
// Filled in with the enemies and combat work; until then it leaves the world unchanged.
#include "enemies/enemy_behaviour.h"

namespace skerrow {
void UpdateEnemyBehaviour(WorldState&) {}
}  // namespace skerrow
