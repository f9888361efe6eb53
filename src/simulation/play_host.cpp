// Defaults of the play host and the first step of destroying a unit.
#include "simulation/play_host.h"

#include "world/world_state.h"

namespace skerrow {

void MarkUnitDestroyed(WorldState& w, int32_t unit) {
  if (unit < 1 || unit >= kUnitSlots) return;
  w.unitAlerted[unit] = 0;
  w.units[unit].sinking = 1;
  w.units[unit].alive = 0;
}

void PlayHost::DestroyUnit(WorldState& w, int32_t unit) {
  MarkUnitDestroyed(w, unit);
}

}  // namespace skerrow
