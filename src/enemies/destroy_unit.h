// Unit destruction: a unit stops being a live participant of play and its kind's death event
// runs; the wreck is left to the unit physics, which sink it.
#pragma once

#include <cstdint>

namespace skerrow {
struct WorldState;
// i = 1..255; other indices do nothing.
void DestroyUnit(WorldState& w, int32_t i);
}  // namespace skerrow
