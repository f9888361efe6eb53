// Free-slot lookup of the world's fixed tables: the lowest slot from 1 whose in-use flag is 0,
// or 0 when the table is full (a spawner then drops its entry).
#pragma once

#include <cstdint>

#include "world/records.h"

namespace skerrow {

// Units 1..last (255 unless a caller limits the range, like the summoning boss's 150).
inline int32_t FreeUnitSlot(const SavedState& s, int32_t last = kUnitSlots - 1) {
  if (last > kUnitSlots - 1) last = kUnitSlots - 1;
  for (int32_t i = 1; i <= last; ++i)
    if (s.units[i].alive == 0) return i;
  return 0;
}

inline int32_t FreeBonusSlot(const SavedState& s) {
  for (int32_t i = 1; i < kBonusSlots; ++i)
    if (s.bonuses[i].alive == 0) return i;
  return 0;
}

inline int32_t FreeProjectileSlot(const SavedState& s) {
  for (int32_t i = 1; i < kProjectileSlots; ++i)
    if (s.projectiles[i].active == 0) return i;
  return 0;
}

// From slot `first` on, for callers that know no lower slot is free.
inline int32_t FreeParticleSlot(const SavedState& s, int32_t first = 1) {
  for (int32_t i = first < 1 ? 1 : first; i <= kParticleSlots; ++i)
    if (s.particles[i].active == 0) return i;
  return 0;
}

inline int32_t FreeSnowflakeSlot(const SavedState& s) {
  for (int32_t i = 1; i <= kSnowflakeSlots; ++i)
    if (s.snowflakes[i].active == 0) return i;
  return 0;
}

}  // namespace skerrow
