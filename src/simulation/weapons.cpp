// Ship weapons: the projectile spawner, the bow-gun salvos and side batteries of every armed
// kind with their muzzle smoke, and the special weapons S, X and Z.
#include "simulation/weapons.h"

#include <cmath>
#include <numbers>

#include "platform/numeric.h"
#include "platform/random.h"
#include "simulation/geometry.h"
#include "simulation/particles.h"
#include "simulation/play_host.h"
#include "world/slots.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadToDeg = 180.0 / kPi;

// Projectile kinds the weapons fire (their flight and impact live with the projectile update).
constexpr int32_t kBall = 1;         // cannonball; variant 1 rocket, 27 mine
constexpr int32_t kShell = 3;        // variant 5: bombs and fire shells
constexpr int32_t kTrailShell = 5;   // fire trail, no gravity
constexpr int32_t kLightShot = 6;    // side-battery shot
constexpr int32_t kDart = 11;        // no trail, no gravity
constexpr int32_t kSmallShell = 12;  // patrol boats and seaplanes
constexpr int32_t kFireShell = 14;   // variants 0, 1
constexpr int32_t kTorpedo = 16;
constexpr int32_t kFlame = 21;  // variant 0 weapon X, 1 the ironclad's rings
constexpr int32_t kHeavyShell = 44;
constexpr int32_t kGuided = 121;  // variants 0..3
constexpr int32_t kRocketVariant = 1;
constexpr int32_t kMineVariant = 27;

double R() {
  return SharedRandom().Real();
}

UnitRecord* FiringUnit(WorldState& w, int32_t unit) {
  return unit >= 1 && unit < kUnitSlots ? &w.units[unit] : nullptr;
}

// P(r, a, d): r from the unit's centre in direction a, d above its posY.
Vector4d At(const UnitRecord& u, double r, double a, double d) {
  return {u.posX - r * std::sin(a), u.posY + d, u.posZ - r * std::cos(a), 0.0};
}

// Speed s along direction a, rise vy; w = 1 as every weapon passes it.
Vector4d Along(double s, double a, double vy) {
  return {-s * std::sin(a), vy, -s * std::cos(a), 1.0};
}

Vector4d Rotation(const UnitRecord& u) {
  return {u.rotX, u.rotY, u.rotZ, u.heel};
}

// The cannon smoke puff at muzzle M: particle kind 13 unless a broadside sets 3, angle in
// degrees, colour (g, g, g, 1) with g = 0.6 + 0.4 sp unless given, the position within 0.025
// of M and `rise` above it, size base + 0.01R + 0.05 sp.
struct CannonPuff {
  int32_t kind = particle::kCannonSmoke;
  double angle = 0.0;
  double sp = 0.0;
  double sizeBase = 0.15;
  double rise = 0.05;
  bool cyan = false;  // the light gun's (0, g, g, 1)
};

void SpawnCannonSmoke(WorldState& w, const Vector4d& m, const CannonPuff& puff) {
  ParticleRecord& t = w.particleTemplate;
  t.kind = puff.kind;
  t.fadeRate = 0.032 + 0.001 * R();
  t.angle = puff.angle;
  t.vel = MuzzleSmokeMotion();
  const float g = static_cast<float>(0.6 + 0.4 * puff.sp);
  t.colour = {puff.cyan ? 0.0f : g, g, g, 1.0f};
  const double x = m.x - 0.025 + 0.05 * R();
  const double y = m.y + puff.rise * R();
  const double z = m.z - 0.025 + 0.05 * R();
  t.pos = {x, y, z, t.pos.w};
  SetParticleSize(t, puff.sizeBase + 0.05 * puff.sp, 0.01);
  SpawnParticle(w, t);
}

void CannonSmokes(WorldState& w, const Vector4d& m, const CannonPuff& puff, int count) {
  for (int k = 0; k < count; ++k) SpawnCannonSmoke(w, m, puff);
}

// `count` gun smoke puffs (particle kind 3) around muzzle M, within 0.05 of it and up to 0.25
// above; size base + span R. With `shareMotion` the puffs share one fade rate, angle and
// growth; otherwise every puff draws all of its values.
void GunSmokes(WorldState& w, const Vector4d& m, Color4f colour, double sizeBase, double sizeSpan,
               int count, bool shareMotion) {
  ParticleRecord& t = w.particleTemplate;
  for (int k = 0; k < count; ++k) {
    if (k == 0 || !shareMotion) {
      t.kind = particle::kDestructB;
      t.fadeRate = 0.032 + 0.001 * R();
      t.angle = SharedRandom().Int(360);
      t.vel = MuzzleSmokeMotion();
    }
    t.colour = colour;
    const double x = m.x - 0.05 + 0.1 * R();
    const double y = m.y + 0.25 * R();
    const double z = m.z - 0.05 + 0.1 * R();
    t.pos = {x, y, z, t.pos.w};
    SetParticleSize(t, sizeBase, sizeSpan);
    SpawnParticle(w, t);
  }
}

constexpr Color4f kGunSmokeGrey = {0.7f, 0.7f, 0.7f, 1.0f};
constexpr Color4f kGunSmokeWarm = {1.0f, 0.7f, 0.5f, 1.0f};
constexpr Color4f kDarkSmoke = {0.3f, 0.3f, 0.3f, 1.0f};

// One template of cannon smoke whose copies are identical: the quick flash of patrol boats and
// seaplanes (fade rate 0.14 + 0.001R, angle 360 - (h deg + 180)). The caller places and spawns.
ParticleRecord& SharedFlash(WorldState& w, const UnitRecord& u, Color4f colour, double sp) {
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kCannonSmoke;
  t.fadeRate = 0.14 + 0.001 * R();
  t.angle = 360.0 - (u.rotY * kRadToDeg + 180.0);
  t.vel = MuzzleSmokeMotion();
  t.colour = colour;
  SetParticleSize(t, 0.15 + 0.05 * sp, 0.01);
  return t;
}

void SpawnCopies(WorldState& w, ParticleRecord& t, const Vector4d& at, int count) {
  t.pos = {at.x, at.y, at.z, t.pos.w};
  for (int k = 0; k < count; ++k) SpawnParticle(w, t);
}

int32_t Shoot(WorldState& w, int32_t unit, int32_t kind, int32_t variant, const Vector4d& at,
              const Vector4d& vel) {
  return SpawnProjectile(w, kind, unit, vel, Rotation(w.units[unit]), at, variant);
}

void Sound(PlayHost& host, const UnitRecord& u, int32_t sound) {
  host.PlaySound(sound, u.posX, u.posY, u.posZ);
}

// The three guided shells' salvo point between the hull sides: 0.6 across, 0.5 along.
Vector4d HullSide(const UnitRecord& u, double a, double d) {
  return {u.posX - 0.6 * std::sin(a), u.posY + d, u.posZ - 0.5 * std::cos(a), 0.0};
}

// Hero cannonball of the bow gun at muzzle M.
void BowCannon(WorldState& w, int32_t unit, const Vector4d& m, double h, double sp, double pp) {
  CannonPuff puff;
  puff.angle = 360.0 - h * kRadToDeg;
  puff.sp = sp;
  CannonSmokes(w, m, puff, 5);
  const double vy = 0.0018 + 0.00002 * R() + 0.0053 * pp;
  Shoot(w, unit, kBall, 0, m, Along(0.005 + 0.003 * w.gunFactor, h, vy));
}

// Bow salvo by kind; false for kinds that have none.
bool MainSalvo(WorldState& w, PlayHost& host, int32_t unit) {
  UnitRecord& u = w.units[unit];
  const double h = u.rotY;
  const double hDeg = h * kRadToDeg;
  const double sp = ChargeRatio(u.sidePower, u.maxSidePower);
  const double pp = ChargeRatio(u.power, u.maxPower);
  switch (u.unitKind) {
    case kind::kPaddleSteamer:
    case kind::kCruiser:
      BowCannon(w, unit, At(u, 1.0, h, 0.43), h, sp, pp);
      Sound(host, u, sound::kShot);
      return true;
    case kind::kSternWheeler:
      BowCannon(w, unit, At(u, 0.97, h - kPi / 4.0, 0.43), h, sp, pp);
      BowCannon(w, unit, At(u, 0.97, h + kPi / 4.0, 0.43), h, sp, pp);
      Sound(host, u, sound::kShot);
      return true;
    case kind::kSubmarine:
      Shoot(w, unit, kDart, 0, {u.posX - std::sin(h), 0.1, u.posZ - std::cos(h), 0.0},
            Along(0.009, h, 0.0));
      Sound(host, u, sound::kElectricShot);
      return true;
    case kind::kShoreBattery: {
      // Fires at 45, 135, 225 or 315 degrees from its heading: fixed by its acceleration
      // 1..4, drawn for every salvo when that is 0.
      const int32_t fixed = TruncToInt(u.acceleration);
      const int32_t q = fixed == 0 ? SharedRandom().Int(4) : TruncToInt(u.acceleration - 1.0);
      const double d = h + q * kPi / 2.0 + kPi / 4.0;
      GunSmokes(w, At(u, 0.5, d, 1.1), kGunSmokeWarm, 0.18, 0.18, 3, true);
      Shoot(w, unit, kShell, 5, At(u, 0.5, d, 0.9), Along(0.009, d, 0.0001));
      return true;
    }
    case kind::kPirateFlagship:
    case kind::kHeavyGunship: {
      const bool flagship = u.unitKind == kind::kPirateFlagship;
      CannonPuff puff;
      puff.angle = 360.0 - hDeg + 180.0;
      puff.sp = sp;
      puff.sizeBase = 0.55;
      CannonSmokes(w, flagship ? At(u, 1.5, h, 1.53) : At(u, 0.79, h, 0.43), puff, 5);
      Shoot(w, unit, kHeavyShell, 0, flagship ? At(u, 1.5, h, 1.5) : At(u, 0.7, h, 0.4),
            Along(0.009, h, 0.0003));
      Sound(host, u, sound::kShot);
      return true;
    }
    case kind::kIronclad:
      // Stops dead and throws three rings of 30 flames around itself.
      u.vel.x = 0.0;
      u.vel.z = 0.0;
      u.turnRate = 0.0f;
      for (int ring = 1; ring <= 3; ++ring) {
        for (int e = 1; e <= 30; ++e) {
          const double a = h + 0.3 * R() - 0.15 + e * kPi / 15.0;
          const double s = ring < 3 ? 0.0045 + 0.0025 * R() : 0.003 + 0.002 * R();
          const double s2 = ring < 3 ? 0.0045 + 0.0025 * R() : 0.003 + 0.002 * R();
          Shoot(w, unit, kFlame, 1, At(u, 1.2, a, 1.3),
                {-std::sin(a) * s * 1.1, 0.0008, -std::cos(a) * s2, 1.0});
        }
      }
      return true;
    case kind::kGunboat:
    case kind::kCoastalFort:
    case kind::kFortTower: {
      const int32_t variant = u.unitKind == kind::kGunboat ? 0 : u.unitKind;
      GunSmokes(w, At(u, 1.0, h, 0.6), kGunSmokeGrey, 0.18, 0.18, 1, false);
      Shoot(w, unit, kShell, variant, At(u, 0.5, h, 0.3), Along(0.009, h, 0.0001));
      return true;
    }
    case kind::kFlameGunboat: {
      const double a = h + 0.1257;  // 2 pi / 50 to the left of the bow
      GunSmokes(w, At(u, 1.0, a, 0.6), kGunSmokeWarm, 0.18, 0.18, 3, true);
      Shoot(w, unit, kShell, 5, At(u, 1.0, a, 0.3), Along(0.009, h, 0.0001));
      return true;
    }
    case kind::kBrig:
      // Each side gun fires on an even draw, each with its own sound.
      for (const double side : {kPi / 2.0, -kPi / 2.0}) {
        if (SharedRandom().Int(2) != 1) continue;
        Shoot(w, unit, kTrailShell, 0, At(u, 0.3, h + side, 0.5), Along(0.007, h, 0.0));
        Sound(host, u, sound::kShot);
      }
      return true;
    case kind::kSeaplane: {
      ParticleRecord& t = SharedFlash(w, u, {1.0f, 1.0f, 0.5f, 1.0f}, sp);
      SpawnCopies(w, t, At(u, 0.37, h, -0.3), 3);
      const bool high = u.posY > 1.0;
      for (int k = 0; k < 3; ++k) {
        const double vx = -0.009 * std::sin(h + 0.05 * R() - 0.025);
        const double vz = -0.009 * std::cos(h + 0.05 * R() - 0.025);
        const double vy = high ? 0.00032 : -0.0044 - 0.00032 * R();
        Shoot(w, unit, kSmallShell, 0, At(u, 0.35, h, high ? -0.2 : -0.3), {vx, vy, vz, 1.0});
      }
      Sound(host, u, sound::kShot);
      return true;
    }
    case kind::kMortarBoat:
      Shoot(w, unit, kFireShell, 0, At(u, 0.2, h, 0.4), Along(0.003, h, 0.0098));
      return true;
    case kind::kAutogyro:
      for (const double a : {0.0, kPi / 3.0, -kPi / 3.0}) {
        Shoot(w, unit, kFireShell, 1, At(u, a == 0.0 ? 0.3 : 0.2, h + a, 0.4),
              Along(0.003, h, 0.0057));
      }
      return true;
    case kind::kSkimmer:
      for (const double a : {0.0, kPi / 3.0, -kPi / 3.0}) {
        const Vector4d at = a == 0.0 ? At(u, 0.6, h, 0.6) : At(u, 0.4, h + a, 0.4);
        Shoot(w, unit, kGuided, 0, at, Along(0.001, h, 0.0));
      }
      return true;
    case kind::kFlyingFortress:
      // Stacks of four at each of four corners, each stack on a one-in-four draw.
      for (int k = 0; k < 4; ++k) {
        if (SharedRandom().Int(4) != 1) continue;
        const Vector4d at = At(u, 3.6, h + k * kPi / 2.0 - kPi / 4.0, 3.6);
        for (int s = 0; s < 4; ++s) Shoot(w, unit, kGuided, 0, at, Along(0.001, h, 0.0));
      }
      return true;
    case kind::kFighter: {
      SearchAirTarget(w, unit);
      constexpr double kFourDegrees = 0.0698;
      Shoot(w, unit, kGuided, 1, HullSide(u, h, -0.1), Along(0.001, h, 0.0));
      Shoot(w, unit, kGuided, 1, At(u, 0.4, h + kFourDegrees, -0.1), Along(0.001, h, 0.0));
      Shoot(w, unit, kGuided, 1, At(u, 0.4, h - kFourDegrees, -0.1), Along(0.001, h, 0.0));
      return true;
    }
    case kind::kBomber:
    case kind::kHeavyBomber:
      for (const double side : {kPi / 2.0, -kPi / 2.0}) {
        const double vy = -0.0044 - 0.00032 * R();
        Shoot(w, unit, kShell, 5, At(u, 0.35, h + side, -0.1),
              {-0.000001 * std::sin(h), vy, -0.000001 * std::cos(h), 1.0});
      }
      return true;
    case kind::kPatrolBoat: {
      ParticleRecord& t = SharedFlash(w, u, {1.0f, 0.3f, 0.3f, 1.0f}, sp);
      SpawnCopies(w, t, At(u, 0.57, h + kPi / 8.0, 0.012), 2);
      SpawnCopies(w, t, At(u, 0.57, h - kPi / 8.0, 0.012), 2);
      for (const double side : {kPi / 2.0, -kPi / 2.0}) {
        const double vy = -0.0044 - 0.00032 * R();
        Shoot(w, unit, kSmallShell, 0, At(u, 0.35, h + side, 0.3), Along(0.009, h, vy));
      }
      Sound(host, u, sound::kShot);
      return true;
    }
    case kind::kTorpedoBoat:
      // Still in the water: it takes its running heading from start.y once it is down.
      Shoot(w, unit, kTorpedo, 0, At(u, 0.0, h, 0.3), {0.0, 0.0, 0.0, 0.0});
      Sound(host, u, sound::kShot);
      return true;
    default:
      return false;
  }
}

// The three side gun routines: smoke at muzzle M, then one shot toward the side (along a = h +
// S) with start = (rotX, a, rotZ, 1).
enum class SideGun { kBroadside, kLight, kMortar };

void FireSideGun(WorldState& w, int32_t unit, SideGun gun, int32_t smokeKind, const Vector4d& m,
                 double a, double sideAngleDeg, double sp) {
  const UnitRecord& u = w.units[unit];
  if (gun == SideGun::kMortar) {
    GunSmokes(w, m, kDarkSmoke, 0.15, 0.09, 3, false);
  } else {
    CannonPuff puff;
    puff.kind = smokeKind;
    puff.angle = 360.0 - u.rotY * kRadToDeg + sideAngleDeg;
    puff.sp = sp;
    puff.rise = 0.025;
    puff.cyan = gun == SideGun::kLight;
    CannonSmokes(w, m, puff, 2);
  }
  Vector4d vel;
  int32_t kind = kLightShot;
  int32_t variant = 5;
  switch (gun) {
    case SideGun::kBroadside:
      kind = kBall;
      variant = 0;
      vel = Along(0.003 + 0.0025 * w.gunFactor, a, 0.0018 + 0.00032 * R() + 0.0043 * sp);
      break;
    case SideGun::kLight:
      vel = Along(0.009, a, 0.007 + 0.005 * R());
      break;
    case SideGun::kMortar:
      variant = u.unitKind == kind::kBrig ? 5 : 0;
      vel = Along(0.009, a, 0.01 + 0.005 * R());
      break;
  }
  SpawnProjectile(w, kind, unit, vel, {u.rotX, a, u.rotZ, 1.0}, m, variant);
}

// Muzzles of a broadside, relative to the firing direction: distance r, angle offset, height.
struct Muzzle {
  double r;
  double offset;
  double d;
};

constexpr Muzzle kPaddleBroadside[] = {{0.9, kPi / 4.7, 0.33},
                                       {0.9, -kPi / 4.7, 0.33},
                                       {0.8, kPi / 5.7, 0.33},
                                       {0.8, -kPi / 5.7, 0.33}};
constexpr Muzzle kCruiserBroadside[] = {{1.0, -kPi / 2.9, 0.63}, {0.9, -kPi / 3.4, 0.48},
                                        {0.9, -kPi / 4.1, 0.63}, {0.9, -kPi / 4.8, 0.48},
                                        {0.8, -kPi / 5.5, 0.63}, {1.0, kPi / 2.9, 0.63},
                                        {0.9, kPi / 3.4, 0.48},  {0.9, kPi / 4.1, 0.63},
                                        {0.9, kPi / 4.8, 0.48},  {0.8, kPi / 5.5, 0.63}};
constexpr Muzzle kFiveMortars[] = {{0.55, 0.0, 0.39},
                                   {0.7, kPi / 3.0, 0.39},
                                   {0.7, -kPi / 3.0, 0.39},
                                   {0.6, kPi / 4.0, 0.39},
                                   {0.6, -kPi / 4.0, 0.39}};
constexpr Muzzle kThreeMortars[] = {
    {0.7, kPi / 3.0, 0.39}, {0.7, -kPi / 3.0, 0.39}, {0.6, kPi / 4.0, 0.39}};

void Battery(WorldState& w, int32_t unit, SideGun gun, int32_t smokeKind, const Muzzle* muzzles,
             size_t count, double s, double sp) {
  const UnitRecord& u = w.units[unit];
  const double a = u.rotY + s;
  const double sideAngleDeg = s > 0.0 ? 90.0 : -90.0;
  for (size_t k = 0; k < count; ++k) {
    const Muzzle& mz = muzzles[k];
    FireSideGun(w, unit, gun, smokeKind, At(u, mz.r, a + mz.offset, mz.d), a, sideAngleDeg, sp);
  }
}

bool SideSalvo(WorldState& w, PlayHost& host, int32_t unit, double s) {
  UnitRecord& u = w.units[unit];
  const double h = u.rotY;
  const double sp = ChargeRatio(u.sidePower, u.maxSidePower);
  switch (u.unitKind) {
    case kind::kPaddleSteamer:
    case kind::kSternWheeler:
    case kind::kCruiser: {
      // Heels away from the firing side: pi/6 with no charge, pi/6 + pi/2.2 at full charge.
      u.heel = -s / 3.0 - sp * s / 1.1;
      const Muzzle* muzzles = u.unitKind == kind::kCruiser ? kCruiserBroadside : kPaddleBroadside;
      const size_t count = u.unitKind == kind::kCruiser        ? std::size(kCruiserBroadside)
                           : u.unitKind == kind::kSternWheeler ? 2
                                                               : std::size(kPaddleBroadside);
      Battery(w, unit, SideGun::kBroadside, particle::kCannonSmoke, muzzles, count, s, sp);
      Sound(host, u, sound::kShot);
      return true;
    }
    case kind::kBrig:
      u.heel = -s / 3.0;
      Battery(w, unit, SideGun::kMortar, particle::kDestructB, kThreeMortars,
              std::size(kThreeMortars), s, sp);
      Sound(host, u, sound::kShot);
      return true;
    case kind::kFrigate:
    case kind::kPirateFlagship:
      u.heel = -s / 3.0;
      Battery(w, unit, SideGun::kMortar, particle::kDestructB, kFiveMortars,
              std::size(kFiveMortars), s, sp);
      Sound(host, u, sound::kShot);
      return true;
    case kind::kShipOfTheLine: {
      u.heel = -s / 3.0;
      constexpr Muzzle kLightGun[] = {{0.4, 0.0, 0.39}};
      Battery(w, unit, SideGun::kLight, particle::kCannonSmoke, kLightGun, 1, s, sp);
      return true;
    }
    case kind::kSeaplane: {
      // Ignores the side: both wing guns, each on an even draw, firing ahead and down.
      constexpr struct {
        double side;
        double vy;
      } kWingGuns[] = {{kPi / 2.0, -0.0025}, {-kPi / 2.0, -0.002}};
      for (const auto& g : kWingGuns) {
        if (SharedRandom().Int(2) != 1) continue;
        Shoot(w, unit, kTrailShell, 0, At(u, 0.3, h + g.side, 0.5), Along(0.007, h, g.vy));
        Sound(host, u, sound::kShot);
      }
      return true;
    }
    case kind::kIronclad:
      // One guided shell from each side, each on an even draw, fired ahead.
      for (const double side : {s, -s}) {
        if (SharedRandom().Int(2) != 1) continue;
        Shoot(w, unit, kGuided, 0, HullSide(u, h + side, 1.1), Along(0.001, h, 0.0));
      }
      return true;
    case kind::kFighter:
      SearchAirTarget(w, unit);
      Shoot(w, unit, kGuided, 2, HullSide(u, h + s, -0.1), Along(0.001, h, 0.0));
      Shoot(w, unit, kGuided, 2, At(u, 0.4, h + s, -0.1), Along(0.001, h, 0.0));
      Shoot(w, unit, kGuided, 2, At(u, 0.4, h + s, -0.1), Along(0.001, h, 0.0));
      return true;
    default:
      return false;
  }
}

bool IsHeroShip(int32_t k) {
  return k == kind::kPaddleSteamer || k == kind::kSternWheeler || k == kind::kCruiser;
}

}  // namespace

Vector4d MuzzleSmokeMotion() {
  const double x = 0.00016 + 0.0001 * R();
  const double y = 0.007 + 0.0001 * R();
  const double z = 0.00016 + 0.0001 * R();
  const double turn = 0.0007 + 0.001 * R();
  return {x, y, z, turn};
}

void SetParticleSize(ParticleRecord& t, double base, double span) {
  const double sx = base + span * R();
  const double sz = base + span * R();
  t.size = {sx, 0.0, sz, 1.0};
}

double ChargeRatio(double charge, double maximum) {
  if (!(maximum > 0.0)) return 0.0;
  const double ratio = charge / maximum;
  return std::isfinite(ratio) ? ratio : 0.0;
}

int32_t SpawnProjectile(WorldState& w, int32_t kind, int32_t owner, const Vector4d& vel,
                        const Vector4d& start, const Vector4d& pos, int32_t variant) {
  const int32_t i = FreeProjectileSlot(w);
  if (i == 0) return 0;
  ProjectileRecord& p = w.projectiles[i];
  p.active = 1;
  p.kind = kind;
  p.pos = pos;
  p.start = start;
  p.vel = vel;
  p.owner = owner;
  p.variant = variant;
  return i;
}

void SearchAirTarget(WorldState& w, int32_t unit) {
  w.airTarget = 0;
  if (unit < 1 || unit >= kUnitSlots) return;
  const Vector4d from = UnitPos(w.units[unit]);
  double best = 25.0;
  for (int32_t j = 1; j < kUnitSlots; ++j) {
    if (j == unit || w.units[j].alive != 1) continue;
    const double d = Distance3(from, UnitPos(w.units[j]));
    if (d < best) {
      best = d;
      w.airTarget = j;
    }
  }
}

void FireMainGun(WorldState& w, PlayHost& host, int32_t unit) {
  UnitRecord* u = FiringUnit(w, unit);
  if (u == nullptr || !MainSalvo(w, host, unit)) return;
  u->reload = 0.0f;
  u->power = 0.0f;
}

void FireSideBattery(WorldState& w, PlayHost& host, int32_t unit, int32_t side) {
  UnitRecord* u = FiringUnit(w, unit);
  if (u == nullptr) return;
  const double s = side == 0 ? kPi / 2.0 : -kPi / 2.0;  // 0 left, 1 right
  if (!SideSalvo(w, host, unit, s)) return;
  u->sideReload = 0.0f;
  u->sidePower = 0.0f;
}

void FireWeaponS(WorldState& w, PlayHost& host, int32_t unit) {
  w.airTarget = 0;  // whatever the kind of the unit that calls
  UnitRecord* u = FiringUnit(w, unit);
  if (u == nullptr || !IsHeroShip(u->unitKind)) return;
  // The nearest flying unit (higher than 3) within 15; the firing unit and dead slots count.
  const Vector4d from = UnitPos(*u);
  double best = 15.0;
  for (int32_t j = 1; j < kUnitSlots; ++j) {
    if (!(w.units[j].posY > 3.0)) continue;
    const double d = Distance3(from, UnitPos(w.units[j]));
    if (d < best) {
      best = d;
      w.airTarget = j;
    }
  }
  const double h = u->rotY;
  GunSmokes(w, At(*u, 1.0, h, 0.3), kDarkSmoke, 0.3, 0.18, 3, false);
  Shoot(w, unit, kBall, kRocketVariant, At(*u, 0.4, h, 0.5),
        Along(0.0009, h, 0.0104 + 0.00032 * R()));
  u->reload = 0.0f;
  u->power = 0.0f;
  Sound(host, *u, sound::kShot);
}

void FireWeaponX(WorldState& w, PlayHost&, int32_t unit) {
  UnitRecord* u = FiringUnit(w, unit);
  if (u == nullptr) return;
  double slow = 0.0, turn = 0.0, r = 0.0, d = 0.0, s1Base = 0.0, s1Span = 0.0;
  switch (u->unitKind) {
    case kind::kPaddleSteamer:
    case kind::kSternWheeler:
    case kind::kCruiser:
      slow = 0.1, turn = 0.1, r = 1.2, d = 0.3, s1Base = 0.007, s1Span = 0.003;
      break;
    case kind::kFlameWallA:
    case kind::kFlameWallB:
      slow = 0.3, turn = 0.4, r = 1.2, d = 0.3, s1Base = 0.0045, s1Span = 0.0025;
      break;
    case kind::kPirateFlagship:
      slow = 0.3, turn = 1.0, r = 2.2, d = 0.9, s1Base = 0.007, s1Span = 0.003;
      break;
    default:
      return;
  }
  u->vel.x *= slow;
  u->vel.z *= slow;
  u->turnRate = static_cast<float>(u->turnRate * turn);
  const double a = u->rotY + 0.3 * R() - 0.15;  // one direction for the whole step
  const struct {
    double base, span;
  } kSprays[] = {{s1Base, s1Span}, {0.0045, 0.0025}, {0.003, 0.002}};
  for (const auto& spray : kSprays) {
    if (SharedRandom().Int(3) == 0) continue;
    const double s = spray.base + spray.span * R();
    const double s2 = spray.base + spray.span * R();
    Shoot(w, unit, kFlame, 0, At(*u, r, a, d),
          {-std::sin(a) * s * 2.1, 0.0008, -std::cos(a) * s2, 1.0});
  }
}

void FireWeaponZ(WorldState& w, PlayHost& host, int32_t unit) {
  UnitRecord* u = FiringUnit(w, unit);
  if (u == nullptr || !IsHeroShip(u->unitKind)) return;
  const double h = u->rotY;
  // 1 behind the centre at the absolute height 0.1, whatever the ship's own height.
  Shoot(w, unit, kBall, kMineVariant, {u->posX + std::sin(h), 0.1, u->posZ + std::cos(h), 0.0},
        {0.0, 0.0, 0.0, 1.0});
  u->sideReload = 0.0f;
  u->sidePower = 0.0f;
  Sound(host, *u, sound::kMine);
}

}  // namespace skerrow
