// Units that never move by thrust: gun emplacements (class 6), exit gates (7), doors (8),
// linked guns (9) and floats (10). One call per live unit of those classes and step.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
class PlayHost;

void UpdateFixedUnit(WorldState& w, PlayHost& host, int32_t unit, int32_t unitClass);

// The switch (a unit of kind 35) that trunc(rotateSpeed) of unit i names, or 0 when it names
// none: an index outside 1..255 or a unit of another kind.
int32_t LinkedSwitch(const WorldState& w, int32_t i);
// A switch counts as thrown while it reloads after a hit.
bool SwitchThrown(const WorldState& w, int32_t s);

// Opening amount of a door (class 8, its `acceleration`): 0 shut .. kDoorOpen fully open.
inline constexpr float kDoorOpen = 1.3f;

}  // namespace skerrow
