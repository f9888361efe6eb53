// Unit destruction. The death events by kind (explosions, debris, blasts, boss rewards,
// hints) arrive with the combat work; until then a unit is only marked sinking and dead.
#include "enemies/destroy_unit.h"

#include "world/world_state.h"

namespace skerrow {

void DestroyUnit(WorldState& w, int32_t i) {
  if (i < 1 || i >= kUnitSlots) return;
  // First step of every destruction: alert cleared, sinking = 1, alive = 0.
  w.unitAlerted[i] = 0;
  w.units[i].sinking = 1;
  w.units[i].alive = 0;
}

}  // namespace skerrow
