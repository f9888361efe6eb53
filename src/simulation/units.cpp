// Unit update: ships, small craft and enemy ships, with sinking, unit push and land push.
#include "simulation/units.h"

#include <cmath>
#include <numbers>

#include "enemies/destroy_unit.h"
#include "platform/numeric.h"
#include "platform/random.h"
#include "simulation/fixed_units.h"
#include "simulation/geometry.h"
#include "simulation/level_changes.h"
#include "simulation/particles.h"
#include "simulation/play_host.h"
#include "simulation/unit_rules.h"
#include "simulation/weapons.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadToDeg = 180.0 / kPi;
double R() {
  return SharedRandom().Real();
}

double MoveToward(double v, double target, double stepSize) {
  if (v < target) return std::fmin(v + stepSize, target);
  if (v > target) return std::fmax(v - stepSize, target);
  return v;
}

bool Released(const UnitRecord& u, int ctl) {
  return Controls(u)[ctl] == 0 && PreviousControls(u)[ctl] == 1;
}

}  // namespace

double WrapTwoPi(double v) {
  constexpr double kTwoPi = 2.0 * kPi;
  if (v >= kTwoPi) v -= kTwoPi;
  if (v >= kTwoPi) v = std::fmod(v, kTwoPi);  // only after damaged values
  return v;
}

double Speed(const UnitRecord& u) {
  return std::sqrt(u.vel.x * u.vel.x + u.vel.y * u.vel.y + u.vel.z * u.vel.z);
}

void FireWeapons(WorldState& w, PlayHost& host, int32_t i, Ship ship) {
  const UnitRecord& u = w.units[i];
  const bool unlock = i == w.playerUnit && ship == Ship::kFull;
  if (WeaponFires(w, u, unlock, Weapon::kMainGun)) FireMainGun(w, host, i);
  if (ship == Ship::kFull) {
    if (WeaponFires(w, u, unlock, Weapon::kWeaponX)) FireWeaponX(w, host, i);
    if (WeaponFires(w, u, unlock, Weapon::kWeaponZ)) FireWeaponZ(w, host, i);
  }
  if (WeaponFires(w, u, unlock, Weapon::kWeaponS)) FireWeaponS(w, host, i);
  if (WeaponFires(w, u, unlock, Weapon::kSideLeft)) FireSideBattery(w, host, i, 0);
  if (WeaponFires(w, u, unlock, Weapon::kSideRight)) FireSideBattery(w, host, i, 1);
}

void LightFromShade(WorldState& w, UnitRecord& u, double g) {
  const double shade = ShadeAt(w, u.posX, u.posZ) / 255.0;
  u.lightLevel = Lerp(u.lightLevel, std::pow(shade, 5.0), g * 0.03);
}

void Turn(UnitRecord& u, double g, bool lean) {
  const double rootG = std::sqrt(g);
  double rate = u.turnRate;
  if (u.ctlTurnLeft == 1) rate += rootG * u.rotateSpeed;
  if (u.ctlTurnRight == 1) rate -= rootG * u.rotateSpeed;
  rate *= 0.97;
  u.turnRate = static_cast<float>(rate);
  u.rotY += g * u.turnRate;
  if (lean) u.heel = Lerp(u.heel, u.turnRate * static_cast<double>(u.kren), g * 0.007);
}

void ChargeAndReload(UnitRecord& u, double g, double f) {
  const bool sideHeld = u.ctlSideLeft == 1 || u.ctlSideRight == 1;
  if (sideHeld && u.sideReload >= u.maxSideReload) {
    u.sidePower =
        static_cast<float>(std::fmin(u.maxSidePower, u.sidePower + g * u.sidePowerSpeed * f));
  } else {
    u.sidePower = 0.0f;
  }
  if (u.ctlMainGun == 1 && u.reload >= u.maxReload) {
    u.power = static_cast<float>(std::fmin(u.maxPower, u.power + g * u.powerSpeed * f));
  } else {
    u.power = 0.0f;
  }
  u.reload = static_cast<float>(std::fmin(u.maxReload, u.reload + g * u.reloadSpeed * f));
  u.sideReload =
      static_cast<float>(std::fmin(u.maxSideReload, u.sideReload + g * u.sideReloadSpeed * f));
}

void Bob(UnitRecord& u, double g, double rate) {
  const double pok = u.pok + Speed(u) * std::sqrt(g) * 0.5 + g * rate;
  u.pok = static_cast<float>(WrapTwoPi(pok));
  const double tilt = 0.1 * kRadToDeg * u.kren / 127.0;
  u.rotX = std::sin(u.pok) * tilt;
  u.rotZ = std::cos(u.pok) * tilt;
}

namespace {

// Thrust from the forward and back controls; `wake` 0 none, 1 at the water, 2 at posY.
void Thrust(WorldState& w, UnitRecord& u, double g, int wake) {
  if (u.ctlForward == 1) {
    u.vel.x -= std::sin(u.rotY) * u.acceleration * g;
    u.vel.z -= std::cos(u.rotY) * u.acceleration * g;
    w.wakeDirection = -3;
    if (wake != 0) SpawnWake(w, u, true, wake == 2);
  }
  if (u.ctlBack == 1) {
    u.vel.x += std::sin(u.rotY) * u.acceleration * 0.7 * g;
    u.vel.z += std::cos(u.rotY) * u.acceleration * 0.7 * g;
    w.wakeDirection = 2;
    if (wake != 0) SpawnWake(w, u, false, wake == 2);
  }
  u.vel.w += Speed(u) * g * w.wakeDirection;  // the propeller phase
}

double LandPushRate(double d, double r) {
  const double p = std::sin(d * 0.49 / (kPi * (r + 0.0007))) * 1e-4;
  return std::fmin(std::fmax(p, -1.1e-4), 1.1e-4);
}

// Push away from land. The player's unit every step (factor 0.25), others on even steps (0.7).
void LandPush(WorldState& w, UnitRecord& u, double g, bool player) {
  if (!player && w.aiPhase != 0) return;
  const double r = u.radius;
  const double sx = std::fabs(std::sin(u.rotY)) * r / 2.0;
  const double cz = std::fabs(std::cos(u.rotY)) * r / 2.0;
  const double a = IsLandAt(w, u.posX + sx, u.posZ) - IsLandAt(w, u.posX - sx, u.posZ);
  const double b = IsLandAt(w, u.posX, u.posZ + cz) - IsLandAt(w, u.posX, u.posZ - cz);
  const double factor = player ? 0.25 : 0.7;
  u.vel.x -= LandPushRate(a, r) * g * factor;
  u.vel.z -= LandPushRate(b, r) * g * factor;
}

void Drag(UnitRecord& u, double g) {
  const double k = 0.998 - g / 500.0;
  u.vel.x *= k;
  u.vel.y *= k;
  u.vel.z *= k;
}

void Move(UnitRecord& u, double g) {
  u.posX += g * u.vel.x;
  u.posY += g * u.vel.y;
  u.posZ += g * u.vel.z;
}

// Land push, drag, move and (player's full ship) speed bonus: the end of every ship step. A
// full ship at rest is not pushed; one that moves is, also straight along an axis (vel.x or
// vel.z exactly 0, as every level starts the hero at heading 0).
void FinishShipStep(WorldState& w, UnitRecord& u, double g, bool player, Ship ship) {
  if (ship == Ship::kEnemy) {
    LandPush(w, u, g, false);
  } else if (u.vel.x != 0.0 || u.vel.z != 0.0) {
    LandPush(w, u, g, player);
  }
  Drag(u, g);
  Move(u, g);
  if (ship == Ship::kFull && player && w.bonusTimer > 0.0) {
    Move(u, g);
    u.reload = static_cast<float>(std::fmin(u.maxReload, u.reload + g * u.reloadSpeed));
    u.sideReload =
        static_cast<float>(std::fmin(u.maxSideReload, u.sideReload + g * u.sideReloadSpeed));
  }
}

// Classes 1, 3, 4 (full ship) and 5 (enemy ship).
void UpdateShip(WorldState& w, PlayHost& host, int32_t i, int32_t cls, Ship ship) {
  UnitRecord& u = w.units[i];
  const double g = w.gameSpeed;
  const bool player = i == w.playerUnit;

  if (u.sinking == 1) {
    u.vel.y = g * -5.7e-5;
    u.heel = MoveToward(u.heel, u.sinkMotion.w, g * 3e-4);
    u.rotX = MoveToward(u.rotX, u.sinkMotion.x, g * 0.009);
    u.rotZ = MoveToward(u.rotZ, u.sinkMotion.z, g * 0.009);
    const bool onFloor = SeaFloorAt(w, u.posX, u.posZ) > u.posY;
    const bool atOnce =
        ship == Ship::kFull ? cls == unit_class::kShipSunkAtOnce : u.unitKind == kind::kSteamRam;
    // A found-item wreck stays live after its death event: the event (hint) runs once.
    if ((onFloor || atOnce) && u.destroyed == 0) DestroyUnit(w, host, i);
    FinishShipStep(w, u, g, player, ship);
    return;
  }

  if (u.life <= 0.0f) StartShipSinking(w, host, u, player);
  FireWeapons(w, host, i, ship);
  if (ship == Ship::kFull) SpawnFunnelSmoke(w, u);

  const bool inWindow = InVisibilityWindow(w, u.posX, u.posZ);
  const int32_t lightRoll = SharedRandom().Int(3);
  if (ship == Ship::kFull) {
    if (lightRoll == 1 && inWindow) LightFromShade(w, u, g);
    if (inWindow && u.sinking == 0) PushUnit(w, i);
  } else {
    const bool near = inWindow || w.editorPlanes == 1;
    if (lightRoll == 2 && near) LightFromShade(w, u, g);
    if (near && u.sinking == 0) PushUnit(w, i);
  }

  Turn(u, g, true);
  const double f = player && ship == Ship::kFull ? w.speedFactor : 1.0;
  ChargeAndReload(u, g, f);
  Bob(u, g, ship == Ship::kFull ? 0.0005 : 0.0045);
  Thrust(w, u, g, ship == Ship::kFull ? 1 : 0);
  FinishShipStep(w, u, g, player, ship);
}

// Class 2: small craft.
void UpdateSmallCraft(WorldState& w, PlayHost& host, int32_t i) {
  UnitRecord& u = w.units[i];
  const double g = w.gameSpeed;
  u.lightLevel = 1.0;

  if (u.sinking == 1) {
    switch (u.unitKind) {
      case kind::kPatrolBoat:
      case kind::kTorpedoBoat:
        u.vel.y = g * -2.8e-5;
        break;
      case kind::kBomber:
      case kind::kHeavyBomber:
      case kind::kSeaplane:
      case kind::kFighter:
        u.vel.y = g * -7.8e-5;
        break;
      case kind::kFlyingFortress:
        u.vel.y = g * -5.8e-5;
        break;
      default:
        break;
    }
    u.heel += g * u.sinkMotion.w;  // here sinkMotion holds rates
    u.rotX += g * u.sinkMotion.x;
    u.rotZ += g * u.sinkMotion.z;
    SpawnBubbles(w, u);
    if (IslandHeightAt(w, u.posX, u.posZ) > u.posY) DestroyUnit(w, host, i);
    Move(u, g);
    return;
  }

  if (u.life <= 0.0f) {
    u.life = 0.0f;
    const double sx = 0.003 * R();
    const double sz = 0.003 * R();
    const double r1 = R();
    const double sw = 0.007 * r1 * R();
    u.sinkMotion = {sx, 0.0, sz, sw};
    u.sinking = 1;
    host.PlaySound(sound::kFalling, u.posX, u.posY, u.posZ);
  }
  if (WeaponFires(w, u, false, Weapon::kMainGun)) FireMainGun(w, host, i);
  if (WeaponFires(w, u, false, Weapon::kSideLeft)) FireSideBattery(w, host, i, 0);
  if (WeaponFires(w, u, false, Weapon::kSideRight)) FireSideBattery(w, host, i, 1);
  if (InVisibilityWindow(w, u.posX, u.posZ) || w.editorPlanes == 1) PushUnit(w, i);
  Turn(u, g, true);
  ChargeAndReload(u, g, 1.0);
  u.pok = static_cast<float>(WrapTwoPi(u.pok + 0.48));  // not scaled by the game speed
  Thrust(w, u, g, 2);
  Drag(u, g);
  Move(u, g);
}

}  // namespace

void StartShipSinking(WorldState& w, PlayHost& host, UnitRecord& u, bool player) {
  if (player) w.respawnY = u.posY;
  u.life = 0.0f;
  const double sx = 180.0 * R() - 90.0;
  const double sz = 180.0 * R() - 90.0;
  const double sw = kPi * R() - kPi / 2.0;
  u.sinkMotion = {sx, 0.0, sz, sw};
  u.sinking = 1;
  u.destroyed = 0;
  host.PlaySound(sound::kSinking, u.posX, u.posY, u.posZ);
}

bool WeaponFires(const WorldState& w, const UnitRecord& u, bool needsUnlock, Weapon weapon) {
  const bool mainReady = u.reload >= u.maxReload;
  const bool sideReady = u.sideReload >= u.maxSideReload;
  const auto unlocked = [&](uint8_t flag) { return !needsUnlock || flag == 1; };
  switch (weapon) {
    case Weapon::kMainGun:
      return unlocked(w.gunsUnlocked) && Released(u, kCtlMainGun) && mainReady;
    case Weapon::kWeaponX:
      return unlocked(w.weaponXUnlocked) && u.ctlWeaponX == 1;  // while held, no reload
    case Weapon::kWeaponZ:
      return unlocked(w.weaponZUnlocked) && Released(u, kCtlWeaponZ) && sideReady;
    case Weapon::kWeaponS:
      return unlocked(w.weaponSUnlocked) && Released(u, kCtlWeaponS) && mainReady;
    case Weapon::kSideLeft:
      return unlocked(w.gunsUnlocked) && Released(u, kCtlSideLeft) && sideReady;
    case Weapon::kSideRight:
      return unlocked(w.gunsUnlocked) && Released(u, kCtlSideRight) && sideReady;
  }
  return false;
}

int32_t UnitClass(const WorldState& w, const UnitRecord& u) {
  const KindRecord* kind = w.kindTable.at(u.unitKind);
  return kind == nullptr ? 0 : kind->kindClass;
}

void PushUnit(WorldState& w, int32_t i) {
  UnitRecord& u = w.units[i];
  for (int32_t j = 1; j < kUnitSlots; ++j) {
    if (j == i) continue;
    const UnitRecord& o = w.units[j];
    if (o.alive != 1 || o.unitKind == kind::kExitMarker) continue;  // never an obstacle
    const Vector4d pi = UnitPos(u);
    const Vector4d pj = UnitPos(o);
    const double d = Distance3(pi, pj) - 0.7 * (static_cast<double>(u.radius) + o.radius);
    if (!(d <= 0.0)) continue;
    const double total = static_cast<double>(u.mass) + o.mass;
    double m = u.mass / total;
    if (!(total > 0.0) || !std::isfinite(m)) m = 0.5;  // massless or damaged: share equally
    const double beta = Bearing(pj, pi);
    u.posX += (1.0 - m) * std::sin(beta) * d * 1.1;
    u.posZ += (1.0 - m) * -std::cos(beta) * d * 1.1;
  }
}

void ApplyLevelBounds(WorldState& w, PlayHost& host) {
  const PlayStepScope step(w);  // its own step when called outside PlayUpdate
  UnitRecord* p = PlayerUnit(w);
  if (p == nullptr) return;
  const double s = w.levelSize;
  if (p->posX <= 12.0) p->posX = 12.0;
  if (p->posZ <= 12.0) p->posZ = 12.0;
  if (p->posX >= s - 12.0) p->posX = s - 12.0;
  if (p->posZ >= s - 12.0) p->posZ = s - 12.0;

  for (int edge = 0; edge < 4; ++edge) {
    p = PlayerUnit(w);
    if (p == nullptr) return;
    const double size = w.levelSize;
    bool inBand = false;
    int32_t neighbour = 0;
    switch (edge) {
      case 0:
        inBand = p->posX <= 15.0;
        neighbour = w.neighbourMinusX;
        break;
      case 1:
        inBand = p->posZ <= 15.0;
        neighbour = w.neighbourMinusZ;
        break;
      case 2:
        inBand = p->posX >= size - 15.0;
        neighbour = w.neighbourPlusX;
        break;
      default:
        inBand = p->posZ >= size - 15.0;
        neighbour = w.neighbourPlusZ;
        break;
    }
    if (!inBand || neighbour <= 0) continue;
    // One level change per step: none after it on a later edge or in the settling steps. A
    // refused level leaves the ship where it is: no settling steps, no save.
    if (!EnterLevelFromPlay(w, host, neighbour)) return;
    if (w.GameMode != game_mode::kPlay) return;
    const uint32_t reloads = w.slotReloads;
    for (int k = 0; k < 16; ++k) host.UpdateDispatch();
    // A ship that crossed while sinking, or a slot reloaded meanwhile (the slot holds the game
    // already): nothing new to save.
    if (w.slotReloads == reloads && PlayerShipSavable(w)) host.SaveToCurrentSlot();
    return;
  }
}

bool PlayerShipSavable(const WorldState& w) {
  const UnitRecord* p = PlayerUnit(w);
  return p != nullptr && p->alive == 1 && p->sinking == 0 && p->life > 0.0f;
}

void UpdateUnits(WorldState& w, PlayHost& host) {
  ApplyLevelBounds(w, host);
  w.hoverName.clear();
  for (int32_t i = 1; i < kUnitSlots; ++i) {
    UnitRecord& u = w.units[i];
    if (u.alive != 1) continue;
    if (Distance3(w.mouseWorldPos, UnitPos(u)) < u.radius) {
      const KindRecord* kind = w.kindTable.at(u.unitKind);
      // assign() reuses the string's buffer: no allocation once a name has been shown.
      if (kind != nullptr) w.hoverName.assign(kind->kindName.View());
    }
    const int32_t cls = UnitClass(w, u);
    switch (cls) {
      case unit_class::kShip:
      case unit_class::kHeavyShip:
      case unit_class::kShipSunkAtOnce:
        UpdateShip(w, host, i, cls, Ship::kFull);
        break;
      case unit_class::kSmallCraft:
        UpdateSmallCraft(w, host, i);
        break;
      case unit_class::kEnemyShip:
        UpdateShip(w, host, i, cls, Ship::kEnemy);
        break;
      case unit_class::kEmplacement:
      case unit_class::kExitGate:
      case unit_class::kDoor:
      case unit_class::kLinkedGun:
      case unit_class::kFloat:
        UpdateFixedUnit(w, host, i, cls);
        break;
      default:
        break;  // class 0 and unknown classes stand still
    }
  }
}

}  // namespace skerrow
