// Unit destruction. The death events by kind (explosions, debris, blasts, boss rewards,
// hints) arrive with the combat work; until then a unit is only marked sinking and dead.
#include "enemies/destroy_unit.h"

#include "simulation/play_host.h"

namespace skerrow {

void DestroyUnit(WorldState& w, int32_t i) {
  MarkUnitDestroyed(w, i);
}

}  // namespace skerrow
