// Projectile flight and impact: shells, rockets, flames, mines and debris, once per play step.
#pragma once

namespace skerrow {
struct WorldState;
void UpdateProjectiles(WorldState& w);
}  // namespace skerrow
