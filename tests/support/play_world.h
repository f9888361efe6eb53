// Play-world set-up shared by the simulation and shell tests and the play-update benchmark.
#pragma once

#include "world/world_state.h"

namespace skerrow::test {

// Play mode at the default game speed (40 per step), camera 1, hero level 1, full effects,
// the player in unit slot 1.
inline void SetPlayDefaults(WorldState& w) {
  w.GameMode = 2;
  w.gameSpeed = 40;
  w.cameraNumber = 1;
  w.heroLevel = 1;
  w.hqEffects = 1;
  w.playerUnit = 1;
}

// The ship stats the tests and the benchmark assume: unit mass and radius, 100 life, a hero
// ship's acceleration and turn rate, heel 30, reloads full at 1.
inline void SetShipStats(UnitRecord& u) {
  u.mass = 1.0f;
  u.radius = 1.0f;
  u.life = 100.0f;
  u.maxLife = 100.0f;
  u.acceleration = 1.4e-6f;
  u.rotateSpeed = 3.6e-6f;
  u.kren = 30.0f;
  u.maxReload = 1.0f;
  u.maxSideReload = 1.0f;
}

}  // namespace skerrow::test
