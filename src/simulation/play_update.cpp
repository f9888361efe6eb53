// The play update step: listener, sky, camera, fades, death and respawn, the pause for
// in-play windows, then hero level, HUD timers, controls, enemies, particles, units, darkness,
// snow, events, projectiles, phases and sea glitter, in this order.
#include "simulation/play_update.h"

#include <cmath>
#include <numbers>

#include "enemies/enemy_behaviour.h"
#include "enemies/projectiles.h"
#include "enemies/triggers.h"
#include "platform/numeric.h"
#include "simulation/level_changes.h"
#include "simulation/particles.h"
#include "simulation/play_host.h"
#include "simulation/player_controls.h"
#include "simulation/units.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kWaterCellX = 1.38;    // water grid cell along x
constexpr double kWaterCellZ = 0.1545;  // along z

// Status icon codes.
constexpr int32_t kIconBonus = 1;
constexpr int32_t kIconProtection = 12;
constexpr int32_t kIconKey1 = 13;  // 13..15: keys 1..3

// v minus `period` once it reaches `period` (with a remainder for damaged values).
double WrapBelow(double v, double period) {
  if (v >= period) v -= period;
  if (v >= period) v = std::fmod(v, period);
  return v;
}

bool HasIcon(const WorldState& w, int32_t icon) {
  for (int32_t s = 1; s <= kStatusIconSlots; ++s)
    if (w.statusIcons[s] == icon) return true;
  return false;
}

// Puts `icon` into the first empty slot unless it is shown already; `on` false removes it.
void ShowIcon(WorldState& w, int32_t icon, bool on) {
  if (!on) {
    for (int32_t s = 1; s <= kStatusIconSlots; ++s)
      if (w.statusIcons[s] == icon) w.statusIcons[s] = 0;
    return;
  }
  if (HasIcon(w, icon)) return;
  for (int32_t s = 1; s <= kStatusIconSlots; ++s) {
    if (w.statusIcons[s] == 0) {
      w.statusIcons[s] = icon;
      return;
    }
  }
}

float EaseChannel(float value, float target, double step) {
  if (value < target) value = static_cast<float>(value + step);
  if (value > target) value = static_cast<float>(value - step);
  return value;
}

void EaseSky(WorldState& w) {
  const double step = w.gameSpeed * 1.8e-5;
  Color4f c = w.skyFogColour;
  const Color4f t = w.skyFogTarget;
  c.r = EaseChannel(c.r, t.r, step);
  c.g = EaseChannel(c.g, t.g, step);
  c.b = EaseChannel(c.b, t.b, step);
  c.a = 1.0f;
  w.skyFogColour = c;
}

}  // namespace

void FollowWaterGrid(WorldState& w, int passes) {
  for (int k = 0; k < passes; ++k) {
    if (w.cameraPos.x - w.waterOriginX > kWaterCellX) {
      w.waterOriginX += kWaterCellX;
      --w.waterShiftX;
    }
    if (w.cameraPos.x - w.waterOriginX < -kWaterCellX) {
      w.waterOriginX -= kWaterCellX;
      ++w.waterShiftX;
    }
    if ((w.cameraPos.z + 14.0) - w.waterOriginZ > kWaterCellZ) {
      w.waterOriginZ += kWaterCellZ;
      --w.waterShiftZ;
    }
    if ((w.cameraPos.z + 14.0) - w.waterOriginZ < -kWaterCellZ) {
      w.waterOriginZ -= kWaterCellZ;
      ++w.waterShiftZ;
    }
  }
}

namespace {

// The dead ship afloat again at the height where it began to sink, at rest, with full life;
// posX, posZ and rotY stay where it sank.
void RaiseShip(const WorldState& w, UnitRecord& p) {
  p.posY = w.respawnY;
  p.vel = {0.0, 0.0, 0.0, 0.0};
  p.sinking = 0;
  p.alive = 1;
  p.life = p.maxLife;
}

// After the last life with no save to go back to: the ship is raised and the current level is
// entered afresh with three lives (the level file places it), so play never dead-ends. Waits
// for the next step when this one has changed level already; true when the level was entered.
bool RestartLevel(WorldState& w, PlayHost& host, UnitRecord& p) {
  if (!MayChangeLevel(w)) return false;
  w.lives = 3;
  RaiseShip(w, p);
  return EnterLevelFromPlay(w, host, w.levelNumber);
}

void HandlePlayerDeath(WorldState& w, PlayHost& host) {
  UnitRecord* p = PlayerUnit(w);
  if (p == nullptr || p->alive != 0) return;
  switch (p->unitKind) {
    case kind::kPaddleSteamer:
    case kind::kSternWheeler:
    case kind::kCruiser:
      if (w.lives >= 1) {
        w.respawnProtection = 3.0;
        --w.lives;
        RaiseShip(w, *p);
      } else if (host.ReloadCurrentSlot()) {
        ++w.slotReloads;
        // A slot holding a sinking or dead ship (written before such saves were refused) would
        // sink again after every reload: the level starts afresh instead.
        UnitRecord* q = PlayerUnit(w);
        if (q != nullptr && !PlayerShipSavable(w)) {
          if (RestartLevel(w, host, *q)) host.ShowNotice(kLastLifeLevelAgain);
        } else {
          host.ShowNotice(kLastLifeBackToSave);  // the world jumped: say why
        }
      } else if (RestartLevel(w, host, *p)) {
        host.ShowNotice(kLastLifeLevelAgain);
      }
      break;
    case kind::kFighter:
      w.playerUnit = 1;  // control returns to the hero's ship
      break;
    default:
      break;
  }
}

void RaiseHeroLevel(WorldState& w) {
  if (w.experience < HeroLevelThreshold(w.heroLevel)) return;
  const int64_t level = static_cast<int64_t>(w.heroLevel) + 1;
  w.upgradePanelOpen = 1;
  w.infoPanelOpen = 0;
  if (level < 100) w.upgradePoints += 5;
  w.heroLevel = static_cast<int32_t>(level < 99 ? level : 99);
}

}  // namespace

int32_t HeroLevelThreshold(int32_t level) {
  const double l = level;
  const double t = (25.0 * (l - 1.0)) * (25.0 * (l - 1.0)) + 1000.0 * l;
  if (t >= 2147483647.0) return 2147483647;
  if (t <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int32_t>(t);
}

void UpdateCamera(WorldState& w) {
  UnitRecord* p = PlayerUnit(w);
  if (p == nullptr) return;
  const double x = p->posX, y = p->posY, z = p->posZ, h = p->rotY;
  const double k = w.gameSpeed * 0.0055;
  double factor;
  switch (w.cameraNumber) {
    case 1:
      w.cameraPos.x = x - 1.9 * std::sin(h);
      w.cameraPos.y = 8.8;
      w.cameraPos.z = z - 9.7 - 1.9 * std::cos(h);
      w.cameraTargetRot.x = -kPi / 4.0;
      w.cameraTargetRot.y = 0.0;
      factor = k;
      break;
    case 2:
      w.cameraPos.x = x + 9.7 * std::sin(h);
      w.cameraPos.y = y + 1.0;
      w.cameraPos.z = z + 9.7 * std::cos(h);
      w.cameraTargetRot.x = 0.0;
      w.cameraTargetRot.y = h + kPi;
      factor = 5.0 * k;
      break;
    case 3:
      w.cameraPos.x = x - 3.7;
      w.cameraPos.y = y + 0.7;
      w.cameraPos.z = z - 3.7;
      w.cameraTargetRot.x = 0.0;
      w.cameraTargetRot.y = 89.0;  // this number of radians, as the view was tuned with it
      factor = k;
      break;
    default:
      return;
  }
  w.cameraRot.x = Lerp(w.cameraRot.x, w.cameraTargetRot.x, factor);
  w.cameraRot.y = Lerp(w.cameraRot.y, w.cameraTargetRot.y, factor);
  w.cameraRot.z = Lerp(w.cameraRot.z, w.cameraTargetRot.z, factor);
  if (w.cameraNumber == 1) {
    const double s = w.levelSize;
    w.cameraPos.x = std::fmin(std::fmax(w.cameraPos.x, 15.0), s - 15.0);
    w.cameraPos.z = std::fmin(std::fmax(w.cameraPos.z, 0.0), s - 25.0);
  }
}

void UpdateStatusIcons(WorldState& w) {
  for (int32_t i = 1; i < kBonusSlots; ++i)
    w.bonuses[i].animFrame = WrapBelow(w.bonuses[i].animFrame + 0.5, 32.0);

  for (int32_t s = kStatusIconSlots; s >= 2; --s) {
    if (w.statusIcons[s - 1] == 0) {
      w.statusIcons[s - 1] = w.statusIcons[s];
      w.statusIcons[s] = 0;
    }
  }

  if (w.bonusTimer > 0.0) {
    w.bonusTimer = std::fmax(w.bonusTimer - 0.02, 0.0);
    ShowIcon(w, kIconBonus, true);
  } else {
    ShowIcon(w, kIconBonus, false);
  }
  if (w.respawnProtection > 0.0) {
    w.respawnProtection = std::fmax(w.respawnProtection - 0.02, 0.0);
    ShowIcon(w, kIconProtection, true);
  } else {
    ShowIcon(w, kIconProtection, false);
  }
  for (int32_t k = 0; k < 3; ++k) ShowIcon(w, kIconKey1 + k, w.keys[k] == 1);
}

void PlayUpdate(WorldState& w, PlayHost& host) {
  const PlayStepScope step(w);
  const double g = w.gameSpeed;

  // 1. Listener. (2, the wave field, is the renderer's: the shell advances it before the step.)
  if (const UnitRecord* p = PlayerUnit(w))
    host.PlaceListener(500.0 - p->posX / 5.0, 500.0 - p->posY / 5.0, 500.0 - p->posZ / 5.0);

  // 3-5. Sky colour, camera, water grid.
  EaseSky(w);
  UpdateCamera(w);
  FollowWaterGrid(w, 25);

  // 6. Sinking fade.
  if (const UnitRecord* p = PlayerUnit(w)) {
    if (p->sinking == 0) {
      w.screenFade = std::fmax(w.screenFade - g * 1.8e-4, 0.0);
    } else {
      w.screenFade = std::fmin(w.screenFade + g * 3.9e-4, 1.0);
    }
  }

  // 7. Death of the player's unit.
  HandlePlayerDeath(w, host);

  // 8. An open in-play window pauses the world.
  if (host.PlayWindowOpen()) {
    if (w.screenFade < 0.5) w.screenFade = 0.5;
    return;
  }

  // 9-12. Hero level, radar dots, pickup flash, HUD animation.
  RaiseHeroLevel(w);
  if (w.radarContacts == 1) {
    w.radarAlpha = std::fmin(w.radarAlpha + 0.1, 1.0);
  } else {
    w.radarAlpha = std::fmax(w.radarAlpha - 0.04, 0.0);
  }
  w.flashScale = 1.0;
  w.pickupFlash = std::fmax(w.pickupFlash - 0.04, 0.0);
  if (w.pickupFlash > 0.0) {
    w.pickupFlashLevel = Lerp(w.pickupFlashLevel, 3.0, 0.19);
  } else {
    w.pickupFlashLevel = Lerp(w.pickupFlashLevel, -10.0, 0.08);
  }
  w.hudAnimFrame = WrapBelow(w.hudAnimFrame + 0.5, 32.0);

  // 13-17. Controls, enemies (every second step), icons, particles, units.
  UpdatePlayerControls(w, host);
  w.aiPhase = w.aiPhase == 1 ? 0 : 1;
  if (w.aiPhase == 1) UpdateEnemyBehaviour(w, host);
  UpdateStatusIcons(w);
  UpdateParticles(w);
  UpdateUnits(w, host);

  // 18-19. Darkness and snow.
  if (w.darknessOn == 1) {
    w.darkness = std::fmin(w.darkness + 0.003, 1.0);
  } else {
    w.darkness = std::fmax(w.darkness - 0.004, 0.0);
  }
  if (w.snowActive == 1) {
    UpdateSnow(w);
  } else {
    w.snowDensity = 0.0;
  }

  // 20-21. Events (every second step) and projectiles.
  if (w.aiPhase == 1) UpdateTriggers(w, host);
  UpdateProjectiles(w, host);

  // 22-23. Phases and water drift.
  w.terrainAnimPhase = WrapBelow(w.terrainAnimPhase + g * 0.018, 32.0);
  w.wavePhase = WrapBelow(w.wavePhase + g * 0.0015, 2.0 * kPi);
  w.waterOriginX -= g * 1e-5;
  w.waterOriginZ -= g * 1.6e-5;

  // 24. Sea glitter: one request per step.
  SpawnSeaGlitter(w);
}

}  // namespace skerrow
