// Unit destruction and the death events by kind: wreck explosions with debris, the blasts of
// rammers and mines, the three boss rewards and the found-item hints.
#include "enemies/destroy_unit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "enemies/show_hint.h"
#include "platform/numeric.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "simulation/geometry.h"
#include "simulation/particles.h"
#include "simulation/play_host.h"
#include "simulation/weapons.h"
#include "world/slots.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * kPi;

// Projectile kind of a wreckage piece (model variants 1..7).
constexpr int32_t kDebrisProjectile = 9;
constexpr int32_t kDebrisVariants = 7;

// Neighbour numbers of the boss rewards: episodes 2 and 3, and the end of the game.
constexpr int32_t kSecondEpisode = 202;
constexpr int32_t kThirdEpisode = 203;
constexpr int32_t kEndOfGame = 500;

double R() {
  return SharedRandom().Real();
}

// Random size s drawn separately for x and z.
Vector4d RandomSize(double base, double span) {
  const double sx = base + span * R();
  const double sz = base + span * R();
  return {sx, 0.0, sz, 1.0};
}

// The wreck fires: 3 of them. Rows differ in fade, growth, size and whether they stay above
// height 0.1.
struct FireStyle {
  double fadeBase;
  double velBase;
  double sizeBase;
  double sizeSpan;
  bool floorAt01;
};
constexpr FireStyle kWreckFire = {0.05, 0.003, 0.7, 0.3, true};
constexpr FireStyle kBossFire = {0.01, 0.005, 0.7, 0.3, true};
constexpr FireStyle kFireShipFire = {0.03, 0.003, 0.7, 0.3, false};
constexpr FireStyle kRamFire = {0.039, 0.0025, 0.6, 0.1, false};

void WreckFires(WorldState& w, const UnitRecord& u, const FireStyle& style) {
  for (int k = 0; k < 3; ++k) {
    ParticleRecord& t = w.particleTemplate;
    t.kind = particle::kWreckFire;
    t.fadeRate = style.fadeBase + 0.001 * R();
    const double vx = style.velBase + 0.001 * R();
    const double vy = style.velBase + 0.001 * R();
    const double vz = style.velBase + 0.001 * R();
    const double vw = style.velBase + 0.001 * R();
    t.vel = {vx, vy, vz, vw};
    t.colour = {1.0f, 0.7f, 0.3f, 1.0f};
    const double px = u.posX - 0.05 + 0.1 * R();
    double py = u.posY + 0.25 + 0.18 * R();
    if (style.floorAt01) py = std::max(py, 0.1);
    const double pz = u.posZ - 0.05 + 0.1 * R();
    t.pos = {px, py, pz, t.pos.w};
    t.size = RandomSize(style.sizeBase, style.sizeSpan);
    t.angle = SharedRandom().Int(360);
    SpawnParticle(w, t);
  }
}

// Growth of the splash column and the wreck debris particles.
Vector4d ColumnVel() {
  const double vx = 0.00016 + 0.0001 * R();
  const double vy = 0.007 + 0.0001 * R();
  const double vz = 0.00016 + 0.0001 * R();
  const double vw = 0.0007 + 0.001 * R();
  return {vx, vy, vz, vw};
}

// Sound 4, a splash ring of size `ring` and a splash column, only for a wreck at the water
// (posY below 0.001).
void WaterSplash(WorldState& w, PlayHost& host, const UnitRecord& u, double ring) {
  if (!(u.posY < 0.001)) return;
  host.PlaySound(sound::kWaterBlast, u.posX, u.posY, u.posZ);
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kSplashRing;
  t.fadeRate = 0.016 + 0.001 * R();
  const double gx = 0.0015 + 0.00008 * R();
  const double gz = 0.0015 + 0.00008 * R();
  t.vel = {gx, 0.0, gz, 0.0};
  t.colour = {1.0f, 1.0f, 1.0f, 1.0f};
  t.pos = {u.posX, 0.01, u.posZ, t.pos.w};
  t.size = {ring, 0.0, ring, 1.0};
  t.angle = SharedRandom().Int(360);
  SpawnParticle(w, t);

  t.kind = particle::kSplashColumn;
  t.fadeRate = 0.03 + 0.009 * R();
  t.vel = ColumnVel();
  t.colour = {1.0f, 1.0f, 1.0f, 1.0f};
  t.size = RandomSize(0.5, 0.3);
  const double px = u.posX - 0.005 + 0.01 * R();
  const double pz = u.posZ - 0.005 + 0.01 * R() + t.size.z / 1.5;
  t.pos = {px, t.size.x / 1.7, pz, t.pos.w};
  t.angle = 0.0;
  SpawnParticle(w, t);
}

void ExplosionSound(PlayHost& host, const UnitRecord& u) {
  const int32_t s = SharedRandom().Int(2) == 0 ? sound::kExplosion1 : sound::kExplosion2;
  host.PlaySound(s, u.posX, u.posY, u.posZ);
}

// `count` wreck debris particles (explosion, fireball or small explosion frames) spread
// +-spread around the unit, `lift` + 0.18 R .. above it.
struct DebrisStyle {
  int count;
  double spread;
  double lift;
  double liftSpan;
  double sizeBase;
  double sizeSpan;
};
constexpr DebrisStyle kWreckDebris = {5, 0.05, 0.25, 0.18, 0.9, 0.9};
constexpr DebrisStyle kAircraftDebris = {25, 0.75, 0.25, 0.18, 0.9, 0.9};
constexpr DebrisStyle kFireShipDebris = {15, 0.15, 0.35, 0.28, 0.7, 0.3};
constexpr DebrisStyle kRamDebris = {7, 0.05, 0.35, 0.28, 0.7, 0.3};

void DebrisParticles(WorldState& w, const UnitRecord& u, const DebrisStyle& style) {
  constexpr int32_t kKinds[3] = {particle::kFireball, particle::kExplosion,
                                 particle::kMiniExplosion};
  for (int k = 0; k < style.count; ++k) {
    ParticleRecord& t = w.particleTemplate;
    t.kind = kKinds[SharedRandom().Int(3)];
    t.fadeRate = 0.03 + 0.009 * R();
    t.vel = ColumnVel();
    t.colour = {1.0f, 1.0f, 1.0f, 1.0f};
    const double px = u.posX - style.spread + 2.0 * style.spread * R();
    const double py = u.posY + style.lift + style.liftSpan * R();
    const double pz = u.posZ - style.spread + 2.0 * style.spread * R();
    t.pos = {px, py, pz, t.pos.w};
    t.size = RandomSize(style.sizeBase, style.sizeSpan);
    t.angle = SharedRandom().Int(360);
    SpawnParticle(w, t);
  }
}

// One wreckage piece into the lowest free projectile slot (lost when the table is full):
// thrown up and out with a random model variant, orientation and spin.
void DebrisPiece(WorldState& w, int32_t owner, const UnitRecord& u) {
  const int32_t variant = 1 + SharedRandom().Int(kDebrisVariants);
  const double a = kTwoPi * R();
  const double b = kTwoPi * R();
  const Vector4d pos = {u.posX - 0.1 * std::sin(a), u.posY + 0.3, u.posZ - 0.1 * std::cos(b), 0.0};
  const double o1 = kTwoPi * R();
  const double o2 = kTwoPi * R();
  const double o3 = kTwoPi * R();
  const double o4 = kTwoPi * R();
  const double c = kTwoPi * R();
  const double d = kTwoPi * R();
  const double vx = -0.0011 * std::sin(c) * (0.5 + 0.5 * R());
  const double vy = 0.0094 + 0.00032 * R();
  const double vz = -0.0011 * std::cos(d) * (0.5 + 0.5 * R());
  const double spin = 0.07 * R() - 0.14;
  SpawnProjectile(w, kDebrisProjectile, owner, {vx, vy, vz, spin}, {o1, o2, o3, o4}, pos, variant);
}

void DebrisPieces(WorldState& w, int32_t i, int32_t least, int32_t most) {
  const int32_t n = least + SharedRandom().Int(most - least + 1);
  for (int32_t k = 0; k < n; ++k) DebrisPiece(w, i, w.units[i]);
}

void WreckExplosion(WorldState& w, PlayHost& host, int32_t i, const FireStyle& fire,
                    int32_t leastPieces, int32_t mostPieces) {
  const UnitRecord& u = w.units[i];
  WreckFires(w, u, fire);
  WaterSplash(w, host, u, 0.3);
  ExplosionSound(host, u);
  DebrisParticles(w, u, kWreckDebris);
  DebrisPieces(w, i, leastPieces, mostPieces);
}

// Rammers and mines: the area blast, a small splash, the sound, debris particles and fires.
void ContactBlast(WorldState& w, PlayHost& host, int32_t i, double factor,
                  const DebrisStyle& debris, const FireStyle& fire) {
  AreaBlast(w, i, factor);
  const UnitRecord& u = w.units[i];
  WaterSplash(w, host, u, 0.1);
  ExplosionSound(host, u);
  DebrisParticles(w, u, debris);
  WreckFires(w, u, fire);
}

void BossHint(WorldState& w, PlayHost& host, const char* name) {
  ShowHint(host, HintTextFile(w, name), HintVoiceFile(w, name));
}

// Item N of a found-item wreck: Get<E>-<L>-<N> of this level, else the general Get<N> (whose
// voice lies in the text folder, with a small letter).
void FoundItemHint(WorldState& w, PlayHost& host, const UnitRecord& u) {
  const std::string n = std::to_string(TruncToInt(u.acceleration));
  const std::string levelName =
      "Get" + std::to_string(w.episode) + "-" + std::to_string(w.levelNumber) + "-" + n;
  const std::string levelText = HintTextFile(w, levelName);
  if (PathExists(levelText)) {
    ShowHint(host, levelText, HintVoiceFile(w, levelName));
  } else {
    ShowHint(host, HintTextFile(w, "Get" + n), w.appPath + "gdata\\ata\\hints\\get" + n + ".wav");
  }
}

}  // namespace

void AreaBlast(WorldState& w, int32_t i, double factor) {
  const Vector4d centre = UnitPos(w.units[i]);
  for (int32_t j = 1; j < kUnitSlots; ++j) {
    UnitRecord& o = w.units[j];
    if (j == i || o.alive != 1 || o.sinking != 0) continue;
    const double d = Distance3(centre, UnitPos(o));
    if (!(d < 8.0)) continue;
    if (j == w.playerUnit && w.respawnProtection > 0.0) continue;
    o.life = static_cast<float>(o.life - (0.3 + 0.3 * R()) * factor * (8.0 - d));
    w.unitAlerted[j] = 1;
  }
}

void DestroyUnit(WorldState& w, PlayHost& host, int32_t i) {
  if (i < 1 || i >= kUnitSlots) return;
  UnitRecord& u = w.units[i];
  w.unitAlerted[i] = 0;
  u.sinking = 1;
  u.alive = 0;
  u.destroyed = 1;

  switch (u.unitKind) {
    case kind::kPatrolBoat:
    case kind::kFighter:
      WreckExplosion(w, host, i, kWreckFire, 3, 5);
      break;
    case kind::kTorpedoBoat:
    case kind::kSeaplane:
      WreckExplosion(w, host, i, kWreckFire, 3, 7);
      break;
    case kind::kBomber:
    case kind::kHeavyBomber:
      WaterSplash(w, host, u, 0.3);
      ExplosionSound(host, u);
      DebrisParticles(w, u, kAircraftDebris);
      DebrisPieces(w, i, 3, 9);
      break;
    case kind::kFireShip:
    case kind::kSeaMine:
      ContactBlast(w, host, i, 21.0, kFireShipDebris, kFireShipFire);
      break;
    case kind::kSteamRam:
      ContactBlast(w, host, i, 7.0, kRamDebris, kRamFire);
      break;
    case kind::kPirateFlagship:
      host.StopMusic();
      WreckExplosion(w, host, i, kWreckFire, 3, 5);
      BossHint(w, host, "Boss1");
      w.neighbourPlusZ = kSecondEpisode;
      w.weaponXUnlocked = 1;
      break;
    case kind::kIronclad:
      WreckExplosion(w, host, i, kWreckFire, 3, 5);
      BossHint(w, host, "Boss2");
      w.neighbourPlusX = kThirdEpisode;
      break;
    case kind::kFlyingFortress:
      WreckExplosion(w, host, i, kBossFire, 3, 5);
      BossHint(w, host, "Boss3");
      w.units[3].alive = 0;
      w.neighbourPlusX = kEndOfGame;
      w.neighbourPlusZ = kEndOfGame;
      w.neighbourMinusX = kEndOfGame;
      w.neighbourMinusZ = kEndOfGame;
      break;
    case kind::kShoreBattery:
      u.alive = 1;  // stays in the table, sinking
      break;
    case kind::kMonitor:
    case kind::kItemWreck22:
    case kind::kItemWreck37:
    case kind::kItemWreck50:
      FoundItemHint(w, host, u);
      u.alive = 1;
      break;
    default:
      break;  // no event: the unit just sinks
  }
}

}  // namespace skerrow
