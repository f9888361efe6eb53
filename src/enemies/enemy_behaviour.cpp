// Enemy behaviour: the alert latch, steering with two probe points, the distance bands of the
// 22 behaviours by unit kind, the coin cache, and the three bosses with their music, teleport
// and summoning.
#include "enemies/enemy_behaviour.h"

#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "enemies/destroy_unit.h"
#include "platform/random.h"
#include "simulation/geometry.h"
#include "simulation/particles.h"
#include "simulation/play_host.h"
#include "world/level_files.h"
#include "world/slots.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadToDeg = 180.0 / kPi;

// Kinds above this have no behaviour.
constexpr int32_t kLastBehaviourKind = kind::kSeaMine;
// A unit notices the player within its kind's alert radius plus this.
constexpr double kAlertMargin = 3.5;
// The summoning boss fills only unit slots 1..150 and places minions this far from the player.
constexpr int32_t kSummonSlots = 150;
constexpr double kSummonDistance = 35.0;
// Draws of a minion's position before the last one is kept (a level too small for the distance
// would otherwise never end the search).
constexpr int kSummonTries = 64;

double R() {
  return SharedRandom().Real();
}

enum class Behaviour : uint8_t {
  kNone,
  kCoinCache,         // 23
  kFixedBattery,      // 26: fires through the latched copy
  kRammer,            // a = contact distance
  kMine,              // a = contact distance
  kGunboat,           // a = aim probe length, b = fire distance of the probe
  kGroundBattery,     // a = fire distance of the own ground point
  kNearBattery,       // a = fire distance
  kSkirmisher,        // a = approach beyond, b = back off below
  kForwardBattery,    // 25
  kCloseRange,        // 32, 33: flame at close range
  kBroadside,         // 19, 20
  kWanderer,          // 2
  kBossBatteries,     // 44
  kBossRightBattery,  // 47
  kSummoningBoss,     // 46
};

struct BehaviourRow {
  int32_t kind;
  Behaviour behaviour;
  double a;
  double b;
};

// Every kind with a behaviour, in kind order.
constexpr BehaviourRow kBehaviourRows[] = {
    {kind::kSternWheeler, Behaviour::kWanderer, 0, 0},
    {kind::kPatrolBoat, Behaviour::kGunboat, 7, 3.5},
    {kind::kGunboat, Behaviour::kSkirmisher, 5, 3},
    {kind::kFireShip, Behaviour::kRammer, 2.1, 0},
    {kind::kTorpedoBoat, Behaviour::kGunboat, 9, 4.5},
    {kind::kBrig, Behaviour::kSkirmisher, 8, 4},
    {kind::kSubmarine, Behaviour::kSkirmisher, 5, 3},
    {kind::kSteamRam, Behaviour::kRammer, 2.6, 0},
    {kind::kCoastalFort, Behaviour::kNearBattery, 10, 0},
    {kind::kFortTower, Behaviour::kNearBattery, 10, 0},
    {kind::kFlameGunboat, Behaviour::kSkirmisher, 5, 3},
    {kind::kBomber, Behaviour::kGroundBattery, 2.5, 0},
    {kind::kHeavyBomber, Behaviour::kGroundBattery, 2.5, 0},
    {kind::kFrigate, Behaviour::kBroadside, 0, 0},
    {kind::kShipOfTheLine, Behaviour::kBroadside, 0, 0},
    {kind::kSkimmer, Behaviour::kSkirmisher, 8, 5},
    {kind::kCoinChest, Behaviour::kCoinCache, 2, 0},
    {kind::kAutogyro, Behaviour::kSkirmisher, 5, 4},
    {kind::kSeaplane, Behaviour::kForwardBattery, 0, 0},
    {kind::kShoreBattery, Behaviour::kFixedBattery, 10, 0},
    {kind::kMortarBoat, Behaviour::kSkirmisher, 9, 6},
    {kind::kFlameWallA, Behaviour::kCloseRange, 0, 0},
    {kind::kFlameWallB, Behaviour::kCloseRange, 0, 0},
    {kind::kPirateFlagship, Behaviour::kBossBatteries, 0, 0},
    {kind::kFlyingFortress, Behaviour::kSummoningBoss, 0, 0},
    {kind::kIronclad, Behaviour::kBossRightBattery, 0, 0},
    {kind::kSeaMine, Behaviour::kMine, 1.9, 0},
};

constexpr std::array<BehaviourRow, kLastBehaviourKind + 1> MakeBehaviourTable() {
  std::array<BehaviourRow, kLastBehaviourKind + 1> table{};
  for (int32_t k = 0; k <= kLastBehaviourKind; ++k)
    table[static_cast<size_t>(k)] = {k, Behaviour::kNone, 0, 0};
  for (const BehaviourRow& r : kBehaviourRows) table[static_cast<size_t>(r.kind)] = r;
  return table;
}

constexpr bool BehaviourRowsValid() {
  for (size_t i = 0; i < std::size(kBehaviourRows); ++i) {
    if (kBehaviourRows[i].kind < 0 || kBehaviourRows[i].kind > kLastBehaviourKind) return false;
    if (i > 0 && kBehaviourRows[i].kind <= kBehaviourRows[i - 1].kind) return false;
  }
  return true;
}
static_assert(BehaviourRowsValid(), "behaviour rows must be unique, ascending, kinds 0..48");

// One row per kind 0..48, row k describing kind k.
constexpr std::array<BehaviourRow, kLastBehaviourKind + 1> kBehaviours = MakeBehaviourTable();
static_assert(std::size(kBehaviourRows) == 27, "22 behaviours over 27 kinds");

// The movement and main-gun controls (and, for some behaviours, more) with their latched
// copies released.
void ReleaseControls(UnitRecord& u, Behaviour b) {
  int controls[8] = {kCtlTurnLeft, kCtlTurnRight, kCtlMainGun, kCtlBack, kCtlForward};
  int n = 5;
  if (b == Behaviour::kBroadside) {
    controls[n++] = kCtlSideLeft;
    controls[n++] = kCtlSideRight;
  }
  if (b == Behaviour::kCloseRange) controls[n++] = kCtlWeaponX;
  for (int k = 0; k < n; ++k) {
    Controls(u)[controls[k]] = 0;
    PreviousControls(u)[controls[k]] = 0;
  }
}

void Latch(UnitRecord& u) {
  for (int k = 0; k < kControlCount; ++k) PreviousControls(u)[k] = Controls(u)[k];
}

void Toggle(uint8_t& control) {
  control = control == 0 ? 1 : 0;
}

// Point `length` from the unit in direction `angle`, at height y.
Vector4d Ahead(const UnitRecord& u, double length, double angle, double y) {
  return {u.posX - length * std::sin(angle), y, u.posZ - length * std::cos(angle), 0.0};
}

// Turns toward the target with two probes 5 ahead at heading +- 45 degrees (plus `offset`):
// left when the right-hand probe is no nearer (ties turn left). `away` reverses the choice.
void Steer(UnitRecord& u, const Vector4d& target, double offset = 0.0, bool away = false) {
  const double h = u.rotY + offset;
  const double dA = Distance3(Ahead(u, 5.0, h + kPi / 4.0, u.posY), target);
  const double dB = Distance3(Ahead(u, 5.0, h - kPi / 4.0, u.posY), target);
  const bool left = (dB >= dA) != away;
  u.ctlTurnLeft = left ? 1 : 0;
  u.ctlTurnRight = left ? 0 : 1;
}

// Distance from the aim probe `length` ahead (at height 0) to the target.
double AimProbe(const UnitRecord& u, double length, const Vector4d& target) {
  return Distance3(Ahead(u, length, u.rotY, 0.0), target);
}

// Distance from the side point 7 out at heading + `side` to the target.
double SidePoint(const UnitRecord& u, double side, const Vector4d& target) {
  return Distance3(Ahead(u, 7.0, u.rotY + side, u.posY), target);
}

void CollectCoinCache(WorldState& w, PlayHost& host, UnitRecord& u) {
  w.coins += 10 + SharedRandom().Int(20);
  if (w.coins >= 100) {
    w.lives += 1;
    w.coins -= 100;
  }
  w.pickupFlash = 2.5;
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kSparkle;
  t.fadeRate = 0.016 + 0.001 * R();
  t.angle = -u.rotY * kRadToDeg;
  const double gx = 0.00057 + 0.0001 * R();
  const double gz = 0.00057 + 0.0001 * R();
  t.vel = {gx, 0.0, gz, 0.0};
  t.colour = {0.7f, 0.7f, 0.7f, 1.0f};
  t.pos = {u.posX, u.posY, u.posZ, t.pos.w};
  t.size = {0.3, 0.0, 0.3, 1.0};
  SpawnParticle(w, t);
  host.PlaySound(sound::kCoin, u.posX, u.posY, u.posZ);
  u.alive = 0;
}

void Teleport(WorldState& w, UnitRecord& u) {
  for (int k = 0; k < 25; ++k) {
    ParticleRecord& t = w.particleTemplate;
    t.kind = particle::kSmoke;
    t.angle = 360.0 * R();
    t.colour = {1.0f, 0.0f, 0.0f, 0.15f};
    t.size = {1.5, 0.0, 1.5, 1.0};
    const double gx = 0.00027 + 0.0001 * R();
    const double gz = 0.00027 + 0.0001 * R();
    t.vel = {gx, 0.0055, gz, 0.0};
    t.fadeRate = 0.011 + 0.0009 * R();
    const double rx = 4.0 * R();
    const double ax = 2.0 * kPi * R();
    const double rz = 4.0 * R();
    const double az = 2.0 * kPi * R();
    t.pos = {u.posX + rx * std::sin(ax), u.posY, u.posZ + rz * std::cos(az), t.pos.w};
    SpawnParticle(w, t);
  }
  const double x = R() * w.levelSize;
  const double z = R() * w.levelSize;
  u.posX = x;
  u.posZ = z;
}

void BossMusic(WorldState& w, PlayHost& host) {
  host.StopMusic();
  host.PlayMusic(w.appPath + "GData\\Music\\\xC1\xEE\xF1\xF1.mp3");  // "Босс.mp3"
}

// The behaviour of unit i after the alert test; P is the player's position, d the distance.
void Act(WorldState& w, PlayHost& host, int32_t i, const BehaviourRow& row, const Vector4d& p,
         double d) {
  UnitRecord& u = w.units[i];
  switch (row.behaviour) {
    case Behaviour::kFixedBattery:
      if (d < row.a) Toggle(u.ctlPrevious[kCtlMainGun]);
      break;
    case Behaviour::kRammer:
      Steer(u, p);
      if (d <= row.a) {
        DestroyUnit(w, host, i);
      } else {
        u.ctlForward = 1;
      }
      break;
    case Behaviour::kMine:
      if (d <= row.a) DestroyUnit(w, host, i);
      break;
    case Behaviour::kGunboat:
      u.ctlForward = 1;
      Steer(u, p);
      if (AimProbe(u, row.a, p) < row.b) {
        Toggle(u.ctlMainGun);
      } else {
        u.ctlMainGun = 0;
      }
      break;
    case Behaviour::kGroundBattery:
      Steer(u, p);
      if (Distance3({u.posX, 0.0, u.posZ, 0.0}, p) < row.a) {
        Toggle(u.ctlMainGun);
      } else {
        u.ctlMainGun = 0;
      }
      break;
    case Behaviour::kNearBattery:
      Steer(u, p);
      if (d < row.a) Toggle(u.ctlMainGun);
      break;
    case Behaviour::kSkirmisher:
      Steer(u, p);
      if (d > row.a) {
        u.ctlForward = 1;
      } else {
        u.ctlForward = 0;
        Toggle(u.ctlMainGun);
      }
      u.ctlBack = d < row.b ? 1 : 0;
      break;
    case Behaviour::kForwardBattery: {
      if (AimProbe(u, 10.0, p) < 2.0) Toggle(u.ctlSideLeft);
      Steer(u, p);
      const double ground = Distance3({u.posX, 0.0, u.posZ, 0.0}, p);
      if (ground <= 6.1) {
        u.ctlForward = 0;
        Toggle(u.ctlMainGun);
      } else {
        u.ctlForward = 1;
      }
      u.ctlBack = ground < 5.5 ? 1 : 0;
      break;
    }
    case Behaviour::kCloseRange:
      Steer(u, p);
      if (d <= 4.3) {
        u.ctlForward = 0;
        u.ctlWeaponX = AimProbe(u, 2.0, p) < 2.79 ? 1 : 0;
      } else {
        u.ctlForward = 1;
        u.ctlWeaponX = 0;
      }
      u.ctlBack = d < 2.0 ? 1 : 0;
      break;
    case Behaviour::kBroadside: {
      const KindRecord& k = w.kindTable[u.unitKind];
      const double lo = k.kindStandoffMin;
      const double hi = k.kindStandoffMax;
      if (d > lo && d >= hi) {
        Steer(u, p);
        u.ctlForward = 1;
      } else if (d > lo && d < hi) {
        u.ctlForward = 0;
        Steer(u, p, kPi / 2.0);  // until the player lies abeam on the left
        if (SidePoint(u, kPi / 2.0, p) < 3.0) Toggle(u.ctlSideLeft);
      } else {
        Steer(u, p, 0.0, true);
        u.ctlForward = 1;
      }
      break;
    }
    case Behaviour::kBossBatteries:
      if (SharedRandom().Int(5) != 0) break;  // acts on one update in five
      Steer(u, p);
      if (d > 10.0) {
        u.ctlForward = 1;
        break;
      }
      u.ctlForward = 0;
      if (d >= 6.0) {
        u.ctlWeaponX = 0;
        Toggle(u.ctlMainGun);
      } else {
        u.ctlWeaponX = 1;
      }
      if (SidePoint(u, kPi / 2.0, p) < 3.0) Toggle(u.ctlSideLeft);
      if (SidePoint(u, -kPi / 2.0, p) < 3.0) Toggle(u.ctlSideRight);
      break;
    case Behaviour::kBossRightBattery:
      if (SharedRandom().Int(5) != 0) break;
      Steer(u, p);
      if (d > 6.0) {
        if (d < 11.0) Toggle(u.ctlSideRight);
        u.ctlForward = 1;
      } else {
        u.ctlForward = 0;
        Toggle(u.ctlMainGun);
      }
      break;
    case Behaviour::kSummoningBoss:
      if (SharedRandom().Int(750) == 0) Teleport(w, u);
      if (SharedRandom().Int(50) == 0) SummonMinion(w);
      Steer(u, p);
      if (d > 8.0) {
        u.ctlForward = 1;
      } else {
        u.ctlForward = 0;
        Toggle(u.ctlMainGun);
      }
      u.ctlBack = d < 5.0 ? 1 : 0;
      break;
    default:
      break;
  }
}

bool IsBoss(Behaviour b) {
  return b == Behaviour::kBossBatteries || b == Behaviour::kBossRightBattery ||
         b == Behaviour::kSummoningBoss;
}

void UpdateUnit(WorldState& w, PlayHost& host, int32_t i, const UnitRecord& player) {
  UnitRecord& u = w.units[i];
  const BehaviourRow& row = kBehaviours[static_cast<size_t>(u.unitKind)];
  const Vector4d p = UnitPos(player);
  const double d = Distance3(UnitPos(u), p);

  if (row.behaviour == Behaviour::kNone) return;
  if (row.behaviour == Behaviour::kWanderer) {
    u.ctlTurnLeft = SharedRandom().Int(2) == 1 ? 1 : 0;
    u.ctlForward = 1;
    return;
  }
  if (row.behaviour == Behaviour::kCoinCache) {
    ReleaseControls(u, row.behaviour);
    if (d <= row.a) CollectCoinCache(w, host, u);
    return;
  }

  if (player.sinking != 0) {
    ReleaseControls(u, row.behaviour);
    return;
  }
  Latch(u);
  const bool byDistance = d < w.kindTable[u.unitKind].kindAlertRadius + kAlertMargin;
  if (!byDistance && w.unitAlerted[i] != 1) {
    ReleaseControls(u, row.behaviour);
    return;
  }
  const bool alertedNow = byDistance && w.unitAlerted[i] == 0;
  w.unitAlerted[i] = 1;
  if (alertedNow && IsBoss(row.behaviour)) BossMusic(w, host);
  Act(w, host, i, row, p, d);
}

}  // namespace

int32_t SummonMinion(WorldState& w) {
  const int32_t j = FreeUnitSlot(w, kSummonSlots);
  if (j == 0) return 0;
  constexpr int32_t kMinions[3] = {kind::kSeaplane, kind::kSkimmer, kind::kAutogyro};
  const int32_t minion = kMinions[SharedRandom().Int(3)];
  // The file replaces the whole record; only a whole record is taken.
  UnitRecord loaded = {};
  const std::string file = w.appPath + "gdata\\parameters\\unit" + std::to_string(minion) + ".par";
  if (LoadUnitParameters(loaded, file) != sizeof(UnitRecord)) return 0;
  UnitRecord& u = w.units[j];
  u = loaded;
  u.life = static_cast<float>(u.life * static_cast<double>(w.episode));
  u.maxLife = static_cast<float>(u.maxLife * static_cast<double>(w.episode));
  const UnitRecord* player = PlayerUnit(w);
  for (int k = 0; k < kSummonTries; ++k) {
    const double x = R() * w.levelSize;
    const double z = R() * w.levelSize;
    u.posX = x;
    u.posZ = z;
    if (player == nullptr || Distance3(UnitPos(u), UnitPos(*player)) >= kSummonDistance) break;
  }
  return j;
}

void UpdateEnemyBehaviour(WorldState& w, PlayHost& host) {
  const UnitRecord* player = PlayerUnit(w);
  if (player == nullptr) return;  // no target
  for (int32_t i = 1; i < kUnitSlots; ++i) {
    const UnitRecord& u = w.units[i];
    if (u.alive != 1 || u.haveAI != 1) continue;
    if (u.unitKind < 0 || u.unitKind > kLastBehaviourKind) continue;
    UpdateUnit(w, host, i, *player);
  }
}

}  // namespace skerrow
