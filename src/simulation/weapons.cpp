// Ship weapons. The salvo, battery and special-weapon routines are filled in with the
// projectile kinds; until then a release of a weapon control fires nothing.
#include "simulation/weapons.h"

namespace skerrow {

void FireMainGun(WorldState&, PlayHost&, int32_t) {}
void FireSideBattery(WorldState&, PlayHost&, int32_t, int32_t) {}
void FireWeaponS(WorldState&, PlayHost&, int32_t) {}
void FireWeaponX(WorldState&, PlayHost&, int32_t) {}
void FireWeaponZ(WorldState&, PlayHost&, int32_t) {}

}  // namespace skerrow
