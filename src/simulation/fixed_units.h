// Units that never move by thrust: gun emplacements (class 6), exit gates (7), doors (8),
// linked guns (9) and floats (10). One call per live unit of those classes and step.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
class PlayHost;

void UpdateFixedUnit(WorldState& w, PlayHost& host, int32_t unit, int32_t unitClass);

}  // namespace skerrow
