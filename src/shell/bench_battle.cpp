// The battle scene of the frame benchmark: three brigs around the player, guns firing.
#include "shell/bench_battle.h"

#include <cmath>
#include <cstring>
#include <string>

#include "world/level_files.h"
#include "world/slots.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

constexpr int32_t kBrigKind = 10;
// The brigs' slots: the top of the table below the fighter's, which level files leave free.
constexpr int32_t kSlots[3] = {kUnitSlots - 2, kUnitSlots - 3, kUnitSlots - 4};

// Places brig `k` (0 to starboard, 1 to port, 2 ahead) beside the player; false when the
// parameter file cannot be read whole.
bool PlaceBrig(WorldState& w, const UnitRecord& player, int32_t k) {
  UnitRecord brig{};
  if (LoadUnitParameters(brig, w.appPath + "gdata\\parameters\\unit" + std::to_string(kBrigKind) +
                                   ".par") != sizeof(UnitRecord)) {
    return false;
  }
  const double fx = -std::sin(player.rotY), fz = -std::cos(player.rotY);  // ahead
  const double rx = -fz, rz = fx;                                         // abeam
  const double side = k == 0 ? 4.5 : (k == 1 ? -4.5 : 0.0);
  const double ahead = k == 2 ? 6.0 : 0.5;
  brig.alive = 1;
  brig.posX = player.posX + fx * ahead + rx * side;
  brig.posZ = player.posZ + fz * ahead + rz * side;
  brig.rotY = player.rotY + (k == 2 ? 1.5 : 0.0);
  if (k == 0) {
    brig.haveAI = 0;  // waits for the broadside
    brig.life = 5.0f;
  } else {
    brig.haveAI = 1;
  }
  w.units[kSlots[k]] = brig;
  return true;
}

}  // namespace

bool BenchBattleRequested(const char* value) {
  return value != nullptr && std::strcmp(value, "1") == 0;
}

BattleKeys BenchBattleKeys(int64_t step) {
  BattleKeys k;
  k.bowGun = step % 8 == 0;
  k.rightBattery = step % 12 == 0;
  k.leftBattery = step % 12 == 6;
  return k;
}

int32_t StageBattleForBench(WorldState& w, int64_t step) {
  UnitRecord* player = PlayerUnit(w);
  if (player == nullptr) return 0;
  int32_t placed = 0;
  if (step == 0) w.gunsUnlocked = 1;
  for (int32_t k = 0; k < 3; ++k) {
    if (step == 0 || w.units[kSlots[k]].alive == 0) placed += PlaceBrig(w, *player, k) ? 1 : 0;
  }
  player->life = player->maxLife;
  player->reload = player->maxReload;
  player->sideReload = player->maxSideReload;
  return placed;
}

}  // namespace skerrow
