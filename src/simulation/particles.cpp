// Particle pool, particle templates of ships and sea, and the snowfall.
#include "simulation/particles.h"

#include <array>
#include <cmath>
#include <numbers>

#include "platform/random.h"
#include "simulation/geometry.h"
#include "world/slots.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadToDeg = 180.0 / kPi;

// Age at which each particle kind ends; index = kind, row 0 unused.
constexpr std::array<double, particle::kCount> kLifetime = {
    0, 16, 16, 16, 30, 30, 30, 30, 15, 38, 45, 12, 12, 31, 31, 31, 16, 17, 18, 19, 20, 12};
static_assert(kLifetime.size() == particle::kCount, "particle kinds 1..21");

double R() {
  return SharedRandom().Real();
}

void DarkenColour(ParticleRecord& p, double factor) {
  p.colour.r = static_cast<float>(p.colour.r * factor);
  p.colour.g = static_cast<float>(p.colour.g * factor);
  p.colour.b = static_cast<float>(p.colour.b * factor);
}

// One funnel: k behind the centre along direction a, size divisor d, heights idle / moving.
struct Funnel {
  double k;
  double angleOffset;  // added to the heading, radians
  double divisor;
  double heightIdle;
  double heightMoving;
};

constexpr Funnel kOneFunnelKind1[] = {{0.39, 0.0, 9.5, 0.57, 0.59}};
constexpr Funnel kOneFunnelKind2[] = {{1.02, 0.0, 12.5, 0.15, 0.19}};
constexpr Funnel kFourFunnels[] = {{1.2, 0.0, 5.5, 0.97, 0.98},
                                   {1.0, 0.0, 7.5, 0.78, 0.78},
                                   {1.2, -0.1 * kPi, 9.5, 0.79, 0.79},
                                   {1.2, 0.04 * kPi, 9.5, 0.79, 0.79}};

}  // namespace

double ParticleLifetime(int32_t kind) {
  return kind >= 1 && kind < particle::kCount ? kLifetime[static_cast<size_t>(kind)] : 0.0;
}

bool InVisibilityWindow(const WorldState& w, double x, double z) {
  const double dz = w.cameraPos.z - z;
  return std::fabs(w.cameraPos.x - x) < 21.0 && dz > -33.0 && dz < 8.0;
}

int32_t SpawnParticle(WorldState& w, const ParticleRecord& tmpl) {
  int32_t from = 1;
  return SpawnParticleFrom(w, tmpl, from);
}

int32_t SpawnParticleFrom(WorldState& w, const ParticleRecord& tmpl, int32_t& searchFrom) {
  if (!InVisibilityWindow(w, tmpl.pos.x, tmpl.pos.z)) return 0;
  if (w.hqEffects != 1 && SharedRandom().Int(2) != 1) return 0;
  const int32_t i = FreeParticleSlot(w, searchFrom);
  searchFrom = i == 0 ? kParticleSlots + 1 : i + 1;
  if (i == 0) return 0;
  ParticleRecord& p = w.particles[i];
  p = tmpl;  // may be particleTemplate itself: a plain copy of another object
  p.active = 1;
  return i;
}

void UpdateParticles(WorldState& w) {
  const double g = w.gameSpeed;
  for (int32_t i = 1; i <= kParticleSlots; ++i) {
    ParticleRecord& p = w.particles[i];
    if (p.active != 1) continue;
    p.age += g * p.fadeRate;
    p.size.x += g * p.vel.x;
    p.size.z += g * p.vel.z;
    p.angle += g * p.vel.w;
    switch (p.kind) {
      case particle::kWaterRing:
      case particle::kWake:
        DarkenColour(p, 0.99 * 0.99);
        break;
      case particle::kSplashRing:
        DarkenColour(p, 0.979 * 0.979);
        break;
      case particle::kSparkle:
        DarkenColour(p, 0.97 * 0.97);
        break;
      case particle::kGlint:
      case particle::kSpark:
        if (p.age < 8.8) {
          p.colour.a = static_cast<float>(std::fmin(p.colour.a * 1.03 * 1.03, 0.75));
        } else {
          p.colour.a = static_cast<float>(p.colour.a * 0.968 * 0.968);
          if (!(p.colour.a > 0.0f)) p.active = 0;
        }
        break;
      case particle::kSmoke:
      case particle::kWarmSmoke:
        p.pos.y += 2.0 * p.vel.y;  // fixed per step, not scaled by the game speed
        p.pos.x -= 0.0003;
        p.pos.z -= 0.00036;
        if (p.age < 3.0) {
          p.colour.a = static_cast<float>(std::fmin(p.colour.a + 6.8 * p.fadeRate, 0.37));
        } else {
          p.colour.a = static_cast<float>(p.colour.a - 3.2 * p.fadeRate);
          if (!(p.colour.a > 0.0f)) p.active = 0;
        }
        break;
      default:
        break;
    }
    // Kinds outside 1..21 (only from a damaged file) and NaN ages end at once.
    if (!(p.age < ParticleLifetime(p.kind))) p.active = 0;
  }
}

void SpawnSeaGlitter(WorldState& w) {
  const UnitRecord* pu = PlayerUnit(w);
  if (pu == nullptr) return;
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kGlint;
  t.fadeRate = 0.003 + 0.0005 * R();
  t.angle = -pu->rotY * kRadToDeg;
  const double gx = 9.7e-7 + 1e-7 * R();  // two draws, like every other template
  const double gz = 9.7e-7 + 1e-7 * R();
  t.vel = {gx, 0.0, gz, 0.0};
  t.colour = {1.0f, 1.0f, 1.0f, 0.05f};
  const double x = pu->posX + 45.0 * R() - 22.5;
  const double z = pu->posZ + 70.0 * R() - 35.0;
  t.pos = {x, 0.07, z, t.pos.w};
  t.size = {0.03, 0.0, 0.03, 1.0};
  if (IslandHeightAt(w, x, z) == 0.0) SpawnParticle(w, t);
}

void SpawnFunnelSmoke(WorldState& w, const UnitRecord& u) {
  const Funnel* funnels = nullptr;
  size_t count = 0;
  switch (u.unitKind) {
    case kind::kPaddleSteamer:
      funnels = kOneFunnelKind1;
      count = std::size(kOneFunnelKind1);
      break;
    case kind::kSternWheeler:
      funnels = kOneFunnelKind2;
      count = std::size(kOneFunnelKind2);
      break;
    case kind::kCruiser:
    case kind::kPirateFlagship:
    case kind::kIronclad:
      funnels = kFourFunnels;
      count = std::size(kFourFunnels);
      break;
    default:
      return;
  }
  Color4f colour;
  if (u.unitKind == kind::kPirateFlagship) {
    colour = {0.0f, 1.0f, 0.0f, 0.12f};
  } else if (u.unitKind == kind::kIronclad) {
    colour = u.reload >= u.maxReload ? Color4f{1.0f, 1.0f, 1.0f, 0.12f}
                                     : Color4f{1.0f, 0.0f, 0.0f, 0.12f};
  } else {
    const float alpha = u.unitKind == kind::kCruiser ? 0.12f : 0.15f;
    colour =
        w.bonusTimer > 0.0 ? Color4f{0.0f, 1.0f, 0.0f, alpha} : Color4f{1.0f, 1.0f, 1.0f, alpha};
  }
  const bool moving = u.ctlForward == 1 || u.ctlBack == 1;
  ParticleRecord& t = w.particleTemplate;
  for (size_t f = 0; f < count; ++f) {
    const Funnel& fn = funnels[f];
    if (!moving && SharedRandom().Int(5) != 1) continue;
    t.kind = particle::kSmoke;
    t.fadeRate = moving ? 0.011 + 0.0009 * R() : 0.003 + 0.0005 * R();
    t.angle = 360.0 * R();
    const double base = moving ? 0.00027 : 0.00007;
    const double gx = base + 0.0001 * R();
    const double gz = base + 0.0001 * R();
    t.vel = {gx, 0.0055, gz, 0.0};
    t.colour = colour;
    const double a = u.rotY + fn.angleOffset;
    t.pos = {u.posX + fn.k * std::sin(a), moving ? fn.heightMoving : fn.heightIdle,
             u.posZ + fn.k * std::cos(a), t.pos.w};
    const double s = u.radius / fn.divisor;
    t.size = {s, 0.0, s, 1.0};
    SpawnParticle(w, t);
  }
}

void SpawnWake(WorldState& w, const UnitRecord& u, bool forward, bool atUnitHeight) {
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kWake;
  t.fadeRate = 0.016 + 0.001 * R();
  t.angle = forward ? 180.0 - u.rotY * kRadToDeg : -u.rotY * kRadToDeg;
  const double gx = 0.00097 + 0.0001 * R();
  const double gz = 0.00097 + 0.0001 * R();
  t.vel = {gx, 0.0, gz, 0.0};
  t.colour = forward ? Color4f{0.35f, 0.35f, 0.35f, 1.0f} : Color4f{0.3f, 0.3f, 0.3f, 1.0f};
  t.pos = {u.posX, atUnitHeight ? u.posY : 0.01, u.posZ, t.pos.w};
  const double s = u.radius / 2.5;
  t.size = {s, 0.0, s, 1.0};
  t.param168 = u.unitKind;
  SpawnParticle(w, t);
}

void SpawnBubbles(WorldState& w, const UnitRecord& u) {
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kSmoke;
  t.fadeRate = 0.008 + 0.0009 * R();
  t.angle = 360.0 * R();
  const double gx = 0.00097 + 0.0001 * R();
  const double gz = 0.00097 + 0.0001 * R();
  t.vel = {gx, 0.0055, gz, 0.0};
  t.colour = {0.0f, 0.0f, 0.0f, 0.15f};
  t.pos = {u.posX + 0.01 * std::sin(u.rotY), u.posY, u.posZ + 0.01 * std::cos(u.rotY), t.pos.w};
  const double s = u.radius / 5.5;
  t.size = {s, 0.0, s, 1.0};
  SpawnParticle(w, t);
}

void UpdateSnow(WorldState& w) {
  const UnitRecord* pu = PlayerUnit(w);
  // 1. New flakes.
  const double chance = R();
  if (chance < w.snowDensity && w.snowOn == 1 && pu != nullptr) {
    const int32_t n = SharedRandom().Int(3) + 1;
    for (int32_t k = 0; k < n; ++k) {
      SnowflakeRecord* flake = w.snowflakes.at(FreeSnowflakeSlot(w));
      if (flake == nullptr) break;
      flake->active = 1;
      const double x = pu->posX + 21.0 * R() - 10.5;
      const double y = 8.0 + R();
      const double z = pu->posZ + 25.0 * R() - 18.5;
      flake->pos = {x, y, z, 1.0};
      flake->angle = 2.0 * kPi * R();
      const double vx = (0.9 + 0.2 * R()) * w.snowDrift.x;
      const double vy = -0.05 - 0.1 * R();
      const double vz = (0.9 + 0.2 * R()) * w.snowDrift.z;
      flake->vel = {vx, vy, vz, 1.0};
      flake->variant = static_cast<uint8_t>(SharedRandom().Int(3) + 1);
    }
  }
  // 2. Density.
  if (w.snowOn == 1) {
    w.snowDensity = std::fmin(w.snowDensity + 0.005, 1.0);
  } else {
    w.snowDensity = std::fmax(w.snowDensity - 0.003, 0.0);
    if (w.snowDensity == 0.0) w.snowActive = 0;
  }
  // 3. Fall, a fixed amount per step.
  for (int32_t i = 1; i <= kSnowflakeSlots; ++i) {
    SnowflakeRecord& f = w.snowflakes[i];
    if (f.active != 1) continue;
    f.pos.x += f.vel.x;
    f.pos.y += f.vel.y;
    f.pos.z += f.vel.z;
    if (!(f.pos.y >= 0.0)) f.active = 0;  // below the water (or NaN from a damaged file)
  }
}

}  // namespace skerrow
