// Projectile flight and impact: shells, rockets, flames, mines and debris, once per play step.
// Filled in with the enemies and combat work; until then it leaves the world unchanged.
#include "enemies/projectiles.h"

namespace skerrow {
void UpdateProjectiles(WorldState&) {}
}  // namespace skerrow
