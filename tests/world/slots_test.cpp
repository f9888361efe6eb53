// The free-slot lookup of every table: lowest free slot from 1, slot 0 never handed out, 0 when
// the table is full.
#include "world/slots.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "world/records.h"

namespace skerrow {
namespace {

struct Table {
  std::string name;
  int32_t first, last;                                  // the slots the lookup may return
  std::function<uint8_t&(SavedState&, int32_t)> inUse;  // the slot's in-use flag
  std::function<int32_t(const SavedState&)> freeSlot;
};

std::vector<Table> Tables() {
  return {
      {"units", 1, kUnitSlots - 1,
       [](SavedState& s, int32_t i) -> uint8_t& { return s.units[i].alive; },
       [](const SavedState& s) { return FreeUnitSlot(s); }},
      {"units 1..150", 1, 150,
       [](SavedState& s, int32_t i) -> uint8_t& { return s.units[i].alive; },
       [](const SavedState& s) { return FreeUnitSlot(s, 150); }},
      {"bonuses", 1, kBonusSlots - 1,
       [](SavedState& s, int32_t i) -> uint8_t& { return s.bonuses[i].alive; },
       [](const SavedState& s) { return FreeBonusSlot(s); }},
      {"projectiles", 1, kProjectileSlots - 1,
       [](SavedState& s, int32_t i) -> uint8_t& { return s.projectiles[i].active; },
       [](const SavedState& s) { return FreeProjectileSlot(s); }},
      {"particles", 1, kParticleSlots,
       [](SavedState& s, int32_t i) -> uint8_t& { return s.particles[i].active; },
       [](const SavedState& s) { return FreeParticleSlot(s); }},
      {"snowflakes", 1, kSnowflakeSlots,
       [](SavedState& s, int32_t i) -> uint8_t& { return s.snowflakes[i].active; },
       [](const SavedState& s) { return FreeSnowflakeSlot(s); }},
  };
}

TEST(FreeSlot, LowestFreeFromSlotOneAndZeroWhenFull) {
  auto s = std::make_unique<SavedState>();
  for (const Table& t : Tables()) {
    SCOPED_TRACE(t.name);
    std::memset(s.get(), 0, sizeof(SavedState));
    EXPECT_EQ(t.freeSlot(*s), t.first);  // empty: slot 1, never slot 0
    t.inUse(*s, 1) = 1;
    t.inUse(*s, 2) = 1;
    t.inUse(*s, 4) = 1;
    EXPECT_EQ(t.freeSlot(*s), 3);  // the lowest hole, not the slot after the last used one
    for (int32_t i = t.first; i < t.last; ++i) t.inUse(*s, i) = 1;
    EXPECT_EQ(t.freeSlot(*s), t.last);  // only the last slot is free
    t.inUse(*s, t.last) = 1;
    EXPECT_EQ(t.freeSlot(*s), 0);  // full
    t.inUse(*s, t.last) = 2;       // any nonzero flag holds the slot
    EXPECT_EQ(t.freeSlot(*s), 0);
  }
}

TEST(FreeSlot, LimitedUnitRangeIgnoresFreeSlotsBeyondIt) {
  auto s = std::make_unique<SavedState>();
  std::memset(s.get(), 0, sizeof(SavedState));
  for (int32_t i = 1; i <= 150; ++i) s->units[i].alive = 1;
  EXPECT_EQ(FreeUnitSlot(*s, 150), 0);
  EXPECT_EQ(FreeUnitSlot(*s), 151);
  EXPECT_EQ(FreeUnitSlot(*s, 1000), 151);  // a limit beyond the table is the table's end
}

}  // namespace
}  // namespace skerrow
