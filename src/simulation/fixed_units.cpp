// Emplacements, exit gates, doors, linked guns and floats. Their class rules are filled in
// with the fixed-unit work; until then such units stand still.
#include "simulation/fixed_units.h"

namespace skerrow {

void UpdateFixedUnit(WorldState&, PlayHost&, int32_t, int32_t) {}

}  // namespace skerrow
