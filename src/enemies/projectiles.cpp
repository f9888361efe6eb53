// Projectile flight and impact: per-kind trails, homing, floating, torpedo runs, flames and
// tumbling debris; the ground, water and unit tests; damage, alerts, kill bonuses, the switch
// hit and the splash and explosion effects.
#include "enemies/projectiles.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "platform/numeric.h"
#include "platform/random.h"
#include "simulation/geometry.h"
#include "simulation/particles.h"
#include "simulation/play_host.h"
#include "simulation/weapons.h"
#include "world/level_files.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadToDeg = 180.0 / kPi;

// Projectile kinds (the weapons that fire them are in simulation/weapons.cpp).
constexpr int32_t kBall = 1;  // variant 0 cannonball, 1 homing rocket, 27 floating mine
constexpr int32_t kShell = 3;
constexpr int32_t kTrailShell = 5;
constexpr int32_t kLightShot = 6;
constexpr int32_t kWreckage = 9;  // variants 1..7: debris model
constexpr int32_t kDart = 11;
constexpr int32_t kSmallShell = 12;
constexpr int32_t kFireShell = 14;
constexpr int32_t kTorpedo = 16;
constexpr int32_t kFlame = 21;
constexpr int32_t kHeavyShell = 44;
constexpr int32_t kGuided = 121;
constexpr int32_t kRocketVariant = 1;
constexpr int32_t kMineVariant = 27;

constexpr int32_t kWakeOfTorpedo = 20;  // param168 of a torpedo's wake: its wake texture
constexpr double kFlameBurnOut = 5.7;   // flame age (start.w) at which it goes off

double R() {
  return SharedRandom().Real();
}

// "Detonates 1 in n": a draw of 1..n that comes up 1.
bool OneIn(int32_t n) {
  return SharedRandom().Int(n) == 0;
}

bool Finite(const Vector4d& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

double MoveToward(double v, double target, double stepSize) {
  if (v < target) return std::fmin(v + stepSize, target);
  if (v > target) return std::fmax(v - stepSize, target);
  return v;
}

// experience += amount, held inside int32 whatever maxLife and episode a file gave.
void AddExperience(WorldState& w, double amount) {
  const double total = static_cast<double>(w.experience) + amount;
  w.experience = TruncToInt(total);
}

// One run of the projectile update (or one detonation from outside it). No particle ends
// while it runs, so the free-slot search of its particle spawns goes on from the last slot
// taken: with a full pool every further spawn costs one look.
// The units a projectile can strike (live, not sinking, with a reach above 0), gathered once
// per update: nothing in the update moves, sinks or raises a unit, except a switch that puts
// a new unit into the table, after which they are gathered again.
struct Targets {
  int32_t count;
  int32_t unit[kUnitSlots];
  double x[kUnitSlots], y[kUnitSlots], z[kUnitSlots];  // the centre raised by radius / 3
  double reach2[kUnitSlots];                           // (0.75 radius + 0.2) squared
};

struct Flight {
  WorldState& w;
  PlayHost& host;
  int32_t particleFrom = 1;
  bool targetsStale = true;
  Targets targets = {};
};

void Emit(Flight& f, const ParticleRecord& t) {
  SpawnParticleFrom(f.w, t, f.particleFrom);
}

void Detonate(Flight& f, int32_t i);

// ---- Trails ----

// A trail particle: kind, fade rate base + span R, growth base + 0.0001R in x and z, rise
// base + span R, turn base + span R, colour (green + span R), height offset, size base + span
// R in x and z. Angle 360R.
struct Trail {
  int32_t kind;
  double fade, fadeSpan;
  double grow;
  double rise, riseSpan;
  double turn, turnSpan;
  Color4f colour;
  double greenSpan;
  double yOffset;
  double size, sizeSpan;
};

// The smoke of balls, shells and side-battery shots: fade 0.03 + 0.001R, growth 0.00003 +
// 0.0001R, rise 0.007 + 0.0001R, turn 0.0007 + 0.001R, size 0.15 + 0.03R.
constexpr Trail ShotSmoke(int32_t kind, Color4f c) {
  return {kind, 0.03, 0.001, 0.00003, 0.007, 0.0001, 0.0007, 0.001, c, 0.0, 0.0, 0.15, 0.03};
}

// The rising smoke and fire of rockets and fire shells: fade base + 0.0009R, growth 0.00027 +
// 0.0001R, rise 0.0055, no turn.
constexpr Trail Rising(int32_t kind, double fade, Color4f c, double size, double sizeSpan) {
  return {kind, fade, 0.0009, 0.00027, 0.0055, 0.0, 0.0, 0.0, c, 0.0, 0.0, size, sizeSpan};
}

constexpr Trail Lowered(Trail t, double yOffset) {
  t.yOffset = yOffset;
  return t;
}

constexpr Trail kBallSmoke = ShotSmoke(particle::kDestructB, {0.16f, 0.16f, 0.16f, 1.0f});
constexpr Trail kShellSmoke = ShotSmoke(particle::kDestructB, {0.32f, 0.16f, 0.16f, 1.0f});
constexpr Trail kSideShotTrail = ShotSmoke(particle::kDestructA, {0.55f, 0.35f, 0.1f, 1.0f});
// Kind 5 shells make the rocket's trail at their own height; rockets 0.25 below.
constexpr Trail kShellRocketSmoke =
    Rising(particle::kSmoke, 0.011, {0.5f, 0.5f, 0.5f, 0.15f}, 0.35, 0.03);
constexpr Trail kShellRocketFire =
    Rising(particle::kWarmSmoke, 0.019, {1.0f, 0.7f, 0.3f, 0.75f}, 0.15, 0.016);
constexpr Trail kRocketSmoke = Lowered(kShellRocketSmoke, -0.25);
constexpr Trail kRocketFire = Lowered(kShellRocketFire, -0.25);
constexpr Trail kWreckSmoke = {
    particle::kSmoke,          0.011, 0.0009, 0.00017, 0.0, 0.0, 0.0, 0.0,
    {0.0f, 0.0f, 0.0f, 0.15f}, 0.0,   0.0,    0.15,    0.03};
constexpr Trail kFireShellSmoke[2] = {
    Rising(particle::kSmoke, 0.011, {0.25f, 0.25f, 0.25f, 0.15f}, 0.35, 0.03),
    Rising(particle::kSmoke, 0.011, {1.0f, 0.5f, 0.1f, 0.15f}, 0.35, 0.03)};
// Fire-shell fire: green + 0.1R; variant 1 grows slower (0.00021 + 0.0001R).
constexpr Trail FireShellFire(Color4f c, double grow, double size) {
  Trail t = Rising(particle::kWarmSmoke, 0.012, c, size, 0.03);
  t.grow = grow;
  t.greenSpan = 0.1;
  return t;
}
constexpr Trail kFireShellFire[2] = {FireShellFire({1.0f, 0.3f, 0.2f, 0.75f}, 0.00027, 0.1),
                                     FireShellFire({0.2f, 0.3f, 1.0f, 0.75f}, 0.00021, 0.05)};
constexpr Trail kHeavySmoke =
    Rising(particle::kSmoke, 0.011, {0.5f, 0.5f, 0.5f, 0.15f}, 0.95, 0.05);
constexpr Trail kHeavyFire =
    Rising(particle::kWarmSmoke, 0.019, {1.0f, 0.4f, 0.3f, 0.75f}, 0.55, 0.028);
constexpr Trail kGuidedSmoke[4] = {
    Rising(particle::kSmoke, 0.011, {0.2f, 0.4f, 0.1f, 0.15f}, 0.35, 0.03),
    Rising(particle::kSmoke, 0.011, {0.4f, 0.1f, 0.1f, 0.15f}, 0.35, 0.03),
    Rising(particle::kSmoke, 0.011, {0.1f, 0.3f, 0.4f, 0.15f}, 0.35, 0.03),
    Rising(particle::kSmoke, 0.011, {0.1f, 0.1f, 0.6f, 0.15f}, 0.35, 0.03)};
constexpr Trail kGuidedFire[4] = {
    Rising(particle::kWarmSmoke, 0.019, {0.3f, 0.6f, 0.2f, 0.75f}, 0.15, 0.016),
    Rising(particle::kWarmSmoke, 0.019, {0.6f, 0.2f, 0.2f, 0.75f}, 0.15, 0.016),
    Rising(particle::kWarmSmoke, 0.019, {0.3f, 0.5f, 0.6f, 0.75f}, 0.15, 0.016),
    Rising(particle::kWarmSmoke, 0.019, {0.3f, 0.3f, 0.9f, 0.75f}, 0.15, 0.016)};

void SpawnTrail(Flight& f, const ProjectileRecord& p, const Trail& tr) {
  WorldState& w = f.w;
  ParticleRecord& t = w.particleTemplate;
  t.kind = tr.kind;
  t.fadeRate = tr.fade + tr.fadeSpan * R();
  t.angle = 360.0 * R();
  const double gx = tr.grow + 0.0001 * R();
  const double rise = tr.rise + tr.riseSpan * R();
  const double gz = tr.grow + 0.0001 * R();
  const double turn = tr.turn + tr.turnSpan * R();
  t.vel = {gx, rise, gz, turn};
  t.colour = tr.colour;
  if (tr.greenSpan != 0.0) t.colour.g = static_cast<float>(tr.colour.g + tr.greenSpan * R());
  t.pos = {p.pos.x, p.pos.y + tr.yOffset, p.pos.z, t.pos.w};
  SetParticleSize(t, tr.size, tr.sizeSpan);
  Emit(f, t);
}

// Index 0..count-1 of a variant's row; variants outside the table (from a damaged file) take
// row 0.
int32_t Row(int32_t variant, int32_t count) {
  return variant >= 0 && variant < count ? variant : 0;
}

// ---- Impact effects ----

void SplashRing(Flight& f, const Vector4d& at, double size) {
  WorldState& w = f.w;
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kSplashRing;
  t.fadeRate = 0.016 + 0.001 * R();
  t.angle = SharedRandom().Int(360);
  const double gx = 0.00037 + 0.00008 * R();
  const double gz = 0.00037 + 0.00008 * R();
  t.vel = {gx, 0.0, gz, 0.0};
  t.colour = {1.0f, 1.0f, 1.0f, 1.0f};
  t.pos = {at.x, 0.01, at.z, t.pos.w};
  t.size = {size, 0.0, size, 1.0};
  Emit(f, t);
}

// A splash column of size base + span R (x and z drawn apart), standing on the water ahead of
// the impact; `jitter` adds the random 0.005 offsets in x and z.
void SplashColumn(Flight& f, const Vector4d& at, double base, double span, bool jitter) {
  WorldState& w = f.w;
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kSplashColumn;
  t.fadeRate = 0.03 + 0.009 * R();
  t.angle = 0.0;
  t.vel = MuzzleSmokeMotion();
  t.colour = {1.0f, 1.0f, 1.0f, 1.0f};
  SetParticleSize(t, base, span);
  const double dx = jitter ? -0.005 + 0.01 * R() : 0.0;
  const double dz = jitter ? -0.005 + 0.01 * R() : 0.0;
  t.pos = {at.x + dx, t.size.x / 1.7, at.z + dz + t.size.z / 1.5, t.pos.w};
  Emit(f, t);
}

// `count` debris particles, all of `kind`, within 0.05 of the impact and 0.1..0.2 above it.
void Debris(Flight& f, const Vector4d& at, int32_t kind, int count, double base, double span,
            Color4f colour, bool jitter) {
  WorldState& w = f.w;
  ParticleRecord& t = w.particleTemplate;
  for (int k = 0; k < count; ++k) {
    t.kind = kind;
    t.fadeRate = 0.03 + 0.009 * R();
    t.angle = SharedRandom().Int(360);
    t.vel = MuzzleSmokeMotion();
    t.colour = colour;
    const double x = jitter ? at.x - 0.05 + 0.1 * R() : at.x;
    const double y = at.y + 0.1 + 0.1 * R();
    const double z = jitter ? at.z - 0.05 + 0.1 * R() : at.z;
    t.pos = {x, y, z, t.pos.w};
    SetParticleSize(t, base, span);
    Emit(f, t);
  }
}

// Fills the fire flash template at the impact (the caller spawns it, once or more).
ParticleRecord& FireFlash(WorldState& w, const Vector4d& at) {
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kWarmSmoke;
  t.fadeRate = 0.0017 + 0.0011 * R();
  t.angle = 360.0 * R();
  const double gx = 0.00042 + 0.0003 * R();
  const double gz = 0.00042 + 0.0003 * R();
  t.vel = {gx, 0.0, gz, 0.0};
  t.colour = {0.7f, static_cast<float>(0.13 + 0.3 * R()), 0.1f, 0.15f};
  t.pos = {at.x, at.y, at.z, t.pos.w};
  SetParticleSize(t, 0.1, 0.03);
  return t;
}

constexpr Color4f kWhite = {1.0f, 1.0f, 1.0f, 1.0f};

int32_t DebrisKind() {
  constexpr int32_t kKinds[3] = {particle::kFireball, particle::kExplosion,
                                 particle::kMiniExplosion};
  return kKinds[SharedRandom().Int(3)];
}

void ExplosionSound(PlayHost& host, const Vector4d& at) {
  const int32_t s = SharedRandom().Int(2) == 0 ? sound::kExplosion1 : sound::kExplosion2;
  host.PlaySound(s, at.x, at.y, at.z);
}

// Sizes of a splash-or-explosion impact.
struct Blast {
  double ring;
  int columns;
  double columnBase, columnSpan;
  int debris;
  double debrisBase, debrisSpan;
  Color4f debrisColour;
};

// A splash on the water when the projectile is low (y < 0.001), an explosion otherwise.
void SplashOrExplode(Flight& f, const Vector4d& at, const Blast& b) {
  PlayHost& host = f.host;
  if (at.y < 0.001) {
    host.PlaySound(sound::kWaterBlast, at.x, at.y, at.z);
    SplashRing(f, at, b.ring);
    for (int k = 0; k < b.columns; ++k) SplashColumn(f, at, b.columnBase, b.columnSpan, true);
    return;
  }
  ExplosionSound(host, at);
  Debris(f, at, DebrisKind(), b.debris, b.debrisBase, b.debrisSpan, b.debrisColour, true);
}

void ImpactEffects(Flight& f, const ProjectileRecord& p) {
  WorldState& w = f.w;
  PlayHost& host = f.host;
  const Vector4d at = p.pos;
  constexpr Blast kShellBlast = {0.3, 1, 0.5, 0.3, 5, 0.3, 0.5, kWhite};
  switch (p.kind) {
    case kBall: {
      const double g = w.gunFactor;
      SplashOrExplode(f, at, {0.1 + 0.1 * g, 1, 0.5 + 0.1 * g, 0.3, 5, 0.3 + 0.1 * g, 0.5, kWhite});
      break;
    }
    case kShell:
    case kTrailShell:
    case kLightShot:
    case kTorpedo:
      SplashOrExplode(f, at, kShellBlast);
      break;
    case kGuided:
      if (p.variant == 1) {
        SplashOrExplode(f, at, {0.3, 1, 0.5, 0.3, 5, 0.7, 0.3, {1.0f, 0.0f, 0.0f, 1.0f}});
      } else {
        SplashOrExplode(f, at, kShellBlast);
      }
      break;
    case kWreckage:
      SplashOrExplode(f, at, {0.3, 1, 0.5, 0.3, 3, 0.1, 0.3, kWhite});
      break;
    case kHeavyShell:
      SplashOrExplode(f, at, {0.5, 2, 1.0, 0.5, 15, 0.9, 1.5, kWhite});
      break;
    case kSmallShell:
      if (at.y < 0.001) {
        host.PlaySound(sound::kWaterBlast, at.x, at.y, at.z);
        SplashColumn(f, at, 0.1, 0.01, false);
      } else {
        Debris(f, at, DebrisKind(), 5, 0.1, 0.0, kWhite, false);
      }
      break;
    case kFireShell: {
      ParticleRecord& t = FireFlash(w, at);
      const int flashes = SharedRandom().Int(3) + 1;
      for (int k = 0; k < flashes; ++k) Emit(f, t);
      ExplosionSound(host, at);
      Debris(f, at, DebrisKind(), 3, 0.3, 0.5, kWhite, true);
      break;
    }
    default:
      break;  // the flame's flash comes before the hits; the dart leaves nothing
  }
}

// ---- Hits ----

// Projectile kinds that damage what they hit. Any other kind (none is fired by a weapon)
// alerts but hits nothing and is not removed by an impact.
bool Damages(int32_t kind) {
  switch (kind) {
    case kBall:
    case kShell:
    case kTrailShell:
    case kLightShot:
    case kWreckage:
    case kDart:
    case kSmallShell:
    case kFireShell:
    case kTorpedo:
    case kFlame:
    case kHeavyShell:
    case kGuided:
      return true;
    default:
      return false;
  }
}

// Reach of a hit beyond 0.75 radius of the unit.
double ReachBeyondHull(const WorldState& w, int32_t kind) {
  if (kind == kBall) return 0.2 + 0.5 * w.gunFactor;
  return kind == kHeavyShell ? 0.5 : 0.2;
}

// Damage of one hit, drawn afresh for every unit hit (N(n) = 0..n-1).
double Damage(const WorldState& w, int32_t kind, int32_t variant) {
  const auto n = [](int32_t range) { return static_cast<double>(SharedRandom().Int(range)); };
  switch (kind) {
    case kBall:
      return (21.0 + n(10)) * w.gunFactor;
    case kShell:
    case kTrailShell:
    case kWreckage:
    case kTorpedo:
      return 15.0 + n(5);
    case kLightShot:
      return 5.0 + n(5);
    case kDart:
      return 10.0 + n(5);
    case kSmallShell:
      return 3.0 + n(3);
    case kFireShell:
      return 15.0 + n(10);
    case kFlame:
      if (variant == 0) return 4.0 + n(3);
      return variant == 1 ? 45.0 + n(35) : 0.0;
    case kHeavyShell:
      return 15000.0 + n(5000);
    case kGuided:
      switch (variant) {
        case 0:
          return 10.0 + n(3);
        case 1:
          return 5000.0 + n(1000);
        case 2:
          return 25.0 + n(15);
        case 3:
          return 45.0 + n(15);
        default:
          return 0.0;
      }
    default:
      return 0.0;
  }
}

// Kinds that give no experience when a cannonball sinks them: the heroes' ships and allies
// (1..5), gates (28..31) and the switch, lock and wall (34..36).
bool GivesNoBallBonus(int32_t k) {
  return (k >= 1 && k <= 5) || (k >= 28 && k <= 31) || (k >= 34 && k <= 36);
}

// The switch's special position: a hit with acceleration exactly 500 hands the player the
// fighter from unit51.par in slot 255.
constexpr float kShipChangeSwitch = 500.0f;
constexpr int32_t kShipChangeSlot = 255;

// True when the player changed ship (a unit record was loaded).
bool ThrowSwitch(WorldState& w, PlayHost& host, UnitRecord& u, const Vector4d& at) {
  u.reload = 0.0f;  // a switch counts as thrown while it reloads
  host.PlaySound(sound::kKey, at.x, at.y, at.z);
  u.life = u.maxLife;
  if (u.acceleration != kShipChangeSwitch) return false;
  w.upgradePanelUnlocked = 0;
  w.upgradePanelOpen = 0;
  w.infoPanelOpen = 1;
  UnitRecord& fighter = w.units[kShipChangeSlot];
  LoadUnitParameters(fighter, w.appPath + "gdata\\parameters\\unit51.par");
  fighter.alive = 1;
  fighter.posX = 80.0;
  fighter.posZ = 120.0;
  w.playerUnit = kShipChangeSlot;
  return true;
}

// Damages every unit in reach; true when a switch put a new unit into the table.
bool HitUnits(WorldState& w, PlayHost& host, const ProjectileRecord& p) {
  bool changed = false;
  const double reach = ReachBeyondHull(w, p.kind);
  for (int32_t j = 1; j < kUnitSlots; ++j) {
    UnitRecord& u = w.units[j];
    if (u.alive != 1 || u.sinking != 0 || j == p.owner) continue;
    const bool ready = u.reload >= u.maxReload;
    // A charged ironclad shrugs off cannonballs: no damage, no alert.
    if (p.kind == kBall && u.unitKind == kind::kIronclad && ready) continue;
    const Vector4d centre = {u.posX, u.posY + u.radius / 3.0, u.posZ, 0.0};
    if (!(Distance3(centre, p.pos) < 0.75 * u.radius + reach)) continue;
    w.unitAlerted[j] = 1;
    const double damage = Damage(w, p.kind, p.variant);
    const bool protectedPlayer = j == w.playerUnit && w.respawnProtection > 0.0;
    if (!protectedPlayer) u.life = static_cast<float>(u.life - damage);
    if (u.life <= 0.0f) {
      // Kill bonus A of the cannonball (scaled by the episode), B of fire shells and flames.
      const double maxLife = TruncToInt(u.maxLife);
      if (p.kind == kBall && !GivesNoBallBonus(u.unitKind)) AddExperience(w, maxLife * w.episode);
      if (p.kind == kFireShell || p.kind == kFlame) AddExperience(w, maxLife);
    }
    if (p.kind == kBall && u.unitKind == kind::kSwitch && ready)
      changed = ThrowSwitch(w, host, u, p.pos) || changed;
  }
  return changed;
}

// ---- Flight ----

// The unit a homing projectile steers toward: airTarget or the player's ship, checked.
const UnitRecord* Target(const WorldState& w, int32_t unit) {
  return unit >= 1 && unit < kUnitSlots ? &w.units[unit] : nullptr;
}

void SteerToward(ProjectileRecord& p, const UnitRecord& t, double rate) {
  if (p.pos.x < t.posX) p.vel.x += rate;
  if (p.pos.x > t.posX) p.vel.x -= rate;
  if (p.pos.z < t.posZ) p.vel.z += rate;
  if (p.pos.z > t.posZ) p.vel.z -= rate;
}

void SpawnFlameParticle(Flight& f, const ProjectileRecord& p) {
  WorldState& w = f.w;
  ParticleRecord& t = w.particleTemplate;
  const double age = p.start.w;
  t.kind = particle::kWarmSmoke;
  t.fadeRate = 0.009 + 0.0009 * R();
  t.angle = 360.0 * R();
  const double gx = 0.0003 + 0.0001 * R() + 0.00025 * age;
  const double gz = 0.0003 + 0.0001 * R() + 0.00025 * age;
  t.vel = {gx, 0.0, gz, 0.0};
  if (SharedRandom().Int(4) != 0) {
    t.colour = {0.7f, static_cast<float>(0.13 + 0.3 * R()), 0.1f, 0.15f};
  } else {
    t.colour = {0.2f, 0.15f, 0.7f, 0.15f};
  }
  const double x = p.pos.x - 0.1 + 0.2 * R();
  const double z = p.pos.z - 0.1 + 0.2 * R();
  t.pos = {x, p.pos.y, z, t.pos.w};
  SetParticleSize(t, 0.03, 0.01);
  Emit(f, t);
}

void TorpedoWake(Flight& f, const ProjectileRecord& p) {
  WorldState& w = f.w;
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kWake;
  t.param168 = kWakeOfTorpedo;
  t.fadeRate = 0.016 + 0.001 * R();
  t.angle = 180.0 - p.start.y * kRadToDeg;
  const double gx = 0.00097 + 0.0001 * R();
  const double gz = 0.00097 + 0.0001 * R();
  t.vel = {gx, 0.0, gz, 0.0};
  t.colour = {0.35f, 0.35f, 0.35f, 1.0f};
  t.pos = {p.pos.x, 0.01, p.pos.z, t.pos.w};
  t.size = {0.1, 0.0, 0.1, 1.0};
  Emit(f, t);
}

void RunTorpedo(Flight& f, int32_t i) {
  WorldState& w = f.w;
  PlayHost& host = f.host;
  ProjectileRecord& p = w.projectiles[i];
  if (p.pos.y <= 0.05) p.vel.y = 0.0;
  p.pos.y = std::fmax(p.pos.y, -0.05);
  if (p.pos.y <= 0.1) {
    // In the water: runs at 0.009 along its launch heading.
    p.vel.x = -0.009 * std::sin(p.start.y);
    p.vel.y = 0.0;
    p.vel.z = -0.009 * std::cos(p.start.y);
    TorpedoWake(f, p);
    if (p.variant == 0) {
      p.variant = 1;
      SplashRing(f, p.pos, 0.15);
      SplashColumn(f, p.pos, 0.5, 0.3, true);
      host.PlaySound(sound::kWaterBlast, p.pos.x, p.pos.y, p.pos.z);
    }
  }
  if (OneIn(2000)) Detonate(f, i);
}

// One in-flight behaviour of projectile i, run before each half move.
void FlightBehaviour(Flight& f, int32_t i) {
  WorldState& w = f.w;
  ProjectileRecord& p = w.projectiles[i];
  switch (p.kind) {
    case kBall:
      if (p.variant == 0) {
        SpawnTrail(f, p, kBallSmoke);
      } else if (p.variant == kRocketVariant) {
        SpawnTrail(f, p, kRocketSmoke);
        SpawnTrail(f, p, kRocketFire);
        if (p.pos.y >= 7.0) {
          Detonate(f, i);
          return;
        }
        if (const UnitRecord* t = Target(w, w.airTarget)) SteerToward(p, *t, 0.00025);
        p.start.x = 3900.0 * p.vel.x;  // the drawn rocket points along its velocity
        p.start.z = 3900.0 * p.vel.z;
      } else if (p.variant == kMineVariant) {
        p.pos.y = 0.05;  // floats
        p.vel.y = 0.0;
        if (OneIn(1000)) Detonate(f, i);
      }
      break;
    case kShell:
      SpawnTrail(f, p, kShellSmoke);
      break;
    case kTrailShell:
      SpawnTrail(f, p, kShellRocketSmoke);
      SpawnTrail(f, p, kShellRocketFire);
      if (OneIn(1000)) Detonate(f, i);
      break;
    case kLightShot:
      SpawnTrail(f, p, kSideShotTrail);
      break;
    case kWreckage:
      p.start.x += p.vel.w;  // tumbling
      p.start.z += p.vel.w;
      SpawnTrail(f, p, kWreckSmoke);
      break;
    case kDart:
      if (OneIn(100)) Detonate(f, i);
      break;
    case kFireShell: {
      const int32_t v = p.variant == 1 ? 1 : 0;
      SpawnTrail(f, p, kFireShellSmoke[v]);
      SpawnTrail(f, p, kFireShellFire[v]);
      if (OneIn(v == 1 ? 1500 : 1000)) Detonate(f, i);
      break;
    }
    case kTorpedo:
      RunTorpedo(f, i);
      break;
    case kFlame: {
      const int puffs = SharedRandom().Int(2) + 1;
      for (int k = 0; k < puffs; ++k) SpawnFlameParticle(f, p);
      p.start.w += p.variant == 1 ? 0.12 : 0.43;  // the flame's age
      if (p.start.w >= kFlameBurnOut) Detonate(f, i);
      break;
    }
    case kHeavyShell:
      SpawnTrail(f, p, kHeavySmoke);
      SpawnTrail(f, p, kHeavyFire);
      if (OneIn(2500)) Detonate(f, i);
      break;
    case kGuided: {
      const int32_t row = Row(p.variant, 4);
      SpawnTrail(f, p, kGuidedSmoke[row]);
      SpawnTrail(f, p, kGuidedFire[row]);
      if (OneIn(750)) {
        Detonate(f, i);
        if (p.active != 1) return;
      }
      const UnitRecord* t = nullptr;
      if (p.variant == 0 || p.variant == 3) t = PlayerUnit(w);
      if (p.variant == 1 || p.variant == 2) t = Target(w, w.airTarget);
      if (t != nullptr) {
        SteerToward(p, *t, 0.00035);
        p.pos.y = MoveToward(p.pos.y, t->posY + 0.7, 0.03);
      }
      break;
    }
    default:
      break;  // kinds 2, 7, 8 and unknown kinds only fall
  }
}

// Stops following a projectile that has ended or been damaged into NaN or infinity.
bool StillFlying(ProjectileRecord& p) {
  if (p.active != 1) return false;
  if (Finite(p.pos) && Finite(p.vel)) return true;
  p.active = 0;
  return false;
}

void HalfMove(ProjectileRecord& p, double s) {
  p.pos.x += s * p.vel.x / 2.0;
  p.pos.y += s * p.vel.y / 2.0;
  p.pos.z += s * p.vel.z / 2.0;
}

// The first live unit other than the owner whose centre (raised by a third of its radius)
// lies within 0.75 radius + 0.2 of the projectile.
bool TouchesUnit(Flight& f, const ProjectileRecord& p) {
  Targets& t = f.targets;
  if (f.targetsStale) {
    t.count = 0;
    for (int32_t j = 1; j < kUnitSlots; ++j) {
      const UnitRecord& u = f.w.units[j];
      const double reach = 0.75 * u.radius + 0.2;
      if (u.alive != 1 || u.sinking != 0 || !(reach > 0.0)) continue;
      t.unit[t.count] = j;
      t.x[t.count] = u.posX;
      t.y[t.count] = u.posY + u.radius / 3.0;
      t.z[t.count] = u.posZ;
      t.reach2[t.count] = reach * reach;
      ++t.count;
    }
    f.targetsStale = false;
  }
  for (int32_t k = 0; k < t.count; ++k) {
    const double dx = t.x[k] - p.pos.x;
    const double dy = t.y[k] - p.pos.y;
    const double dz = t.z[k] - p.pos.z;
    if (dx * dx + dy * dy + dz * dz < t.reach2[k] && t.unit[k] != p.owner) return true;
  }
  return false;
}

}  // namespace

double ProjectileGravity(int32_t kind) {
  switch (kind) {
    case kBall:
      return 0.000007;
    case kShell:
      return 0.000003;
    case kLightShot:
    case 8:
      return 0.00003;
    case kWreckage:
      return 0.000018;
    case kSmallShell:
    case kTorpedo:
      return 0.000005;
    case kFireShell:
      return 0.000008;
    case kFlame:
      return 0.000000018;
    case kHeavyShell:
    case 2:
    case 7:
      return 0.0000003;
    case kGuided:
      return 0.000000005;
    default:
      return 0.0;
  }
}

void DetonateProjectile(WorldState& w, PlayHost& host, int32_t i) {
  if (i < 1 || i >= kProjectileSlots) return;
  Flight f{w, host};
  Detonate(f, i);
}

namespace {

void Detonate(Flight& f, int32_t i) {
  WorldState& w = f.w;
  PlayHost& host = f.host;
  ProjectileRecord& p = w.projectiles[i];
  // Every unit within three of its radii notices the blast.
  for (int32_t j = 1; j < kUnitSlots; ++j) {
    const UnitRecord& u = w.units[j];
    if (Distance3(UnitPos(u), p.pos) < 3.0 * u.radius) w.unitAlerted[j] = 1;
  }
  if (p.kind == kFlame) Emit(f, FireFlash(w, p.pos));
  if (!Damages(p.kind)) return;  // unknown kinds: alert only, stay
  if (HitUnits(w, host, p)) f.targetsStale = true;
  ImpactEffects(f, p);
  if (p.kind == kFlame && SharedRandom().Int(3) != 0) return;  // burns on
  p.active = 0;
}

}  // namespace

void UpdateProjectiles(WorldState& w, PlayHost& host) {
  Flight f{w, host};
  const double s = w.gameSpeed;
  for (int32_t i = 1; i < kProjectileSlots; ++i) {
    ProjectileRecord& p = w.projectiles[i];
    if (!StillFlying(p)) continue;
    FlightBehaviour(f, i);
    if (!StillFlying(p)) continue;
    HalfMove(p, s);
    FlightBehaviour(f, i);
    if (!StillFlying(p)) continue;
    HalfMove(p, s);
    p.vel.y -= ProjectileGravity(p.kind) * s;
    if (!StillFlying(p)) continue;
    // A torpedo runs on through open water (height up to 0.01) and goes off against an
    // island or a unit.
    const double ground = IslandHeightAt(w, p.pos.x, p.pos.z);
    if (p.pos.y <= ground && (p.kind != kTorpedo || ground > 0.01)) {
      Detonate(f, i);
      continue;
    }
    if (w.aiPhase == 1 && TouchesUnit(f, p)) Detonate(f, i);
  }
}

}  // namespace skerrow
