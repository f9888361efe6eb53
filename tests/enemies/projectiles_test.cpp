// Projectile flight and impact: the arc under gravity, the water and the islands, torpedoes,
// mines, rockets and flames, hits by kind with damage, protection, alerts and kill bonuses,
// the switch hit, and damaged records from a hostile file.
#include "enemies/projectiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>

#include "simulation/particles.h"
#include "simulation/sim_fixture.h"
#include "simulation/weapons.h"
#include "support/temp_dir.h"
#include "world/vocabulary.h"

namespace skerrow::test {
namespace {

class ProjectilesTest : public SimTest {
 protected:
  ProjectilesTest() {
    w.units[1].posX = 300.0;  // the player's ship out of the way unless a test needs it
    w.aiPhase = 0;
    w.episode = 1;
    w.gunFactor = 1.0;
  }

  ProjectileRecord& Shot(int32_t slot, int32_t kind, int32_t variant, Vector4d pos, Vector4d vel,
                         int32_t owner = 0) {
    ProjectileRecord& p = w.projectiles[slot];
    p = ProjectileRecord{};
    p.active = 1;
    p.kind = kind;
    p.variant = variant;
    p.pos = pos;
    p.vel = vel;
    p.owner = owner;
    return p;
  }

  // Runs the projectile update as the play step does, toggling aiPhase first.
  void Steps(int n) {
    for (int k = 0; k < n; ++k) {
      w.aiPhase = w.aiPhase == 1 ? 0 : 1;
      UpdateProjectiles(w, host);
    }
  }

  int ParticlesOfKind(int32_t kind) const {
    int n = 0;
    for (int32_t i = 1; i <= kParticleSlots; ++i)
      n += w.particles[i].active == 1 && w.particles[i].kind == kind;
    return n;
  }
};

// Each step moves by the velocity of the step's start (two half moves), then gravity lowers
// vel.y: y_n = y0 + s n vy - g s^2 n (n - 1) / 2.
TEST_F(ProjectilesTest, CannonballArcFollowsTheIntegratedVelocity) {
  const ProjectileRecord& p = Shot(1, 1, 0, {50, 3, 50, 0}, {0.005, 0.004, -0.002, 1});
  const double s = 40, g = 0.000007;
  for (int n = 1; n <= 12; ++n) {
    Steps(1);
    ASSERT_EQ(p.active, 1) << n;
    EXPECT_NEAR(p.pos.x, 50 + s * n * 0.005, 1e-12);
    EXPECT_NEAR(p.pos.z, 50 - s * n * 0.002, 1e-12);
    EXPECT_NEAR(p.pos.y, 3 + s * n * 0.004 - g * s * s * n * (n - 1) / 2.0, 1e-12) << n;
    EXPECT_NEAR(p.vel.y, 0.004 - g * s * n, 1e-15);
  }
}

TEST_F(ProjectilesTest, GravityByKind) {
  const struct {
    int32_t kind;
    double g;
  } rows[] = {{1, 7e-6},  {3, 3e-6},  {5, 0},       {6, 3e-5},  {9, 1.8e-5}, {11, 0},   {12, 5e-6},
              {14, 8e-6}, {16, 5e-6}, {21, 1.8e-8}, {44, 3e-7}, {121, 5e-9}, {2, 3e-7}, {7, 3e-7},
              {8, 3e-5},  {0, 0},     {77, 0},      {-3, 0},    {1 << 30, 0}};
  for (const auto& r : rows) EXPECT_EQ(ProjectileGravity(r.kind), r.g) << r.kind;
}

// A shell reaching the water goes off there with a splash: sound 4, a ring and a column.
TEST_F(ProjectilesTest, ShellDetonatesOnTheWaterWithASplash) {
  w.cameraPos = {50, 8.8, 45, 0};
  const ProjectileRecord& p = Shot(1, 3, 0, {50, 0.1, 50, 0}, {0, -0.004, 0, 1});
  Steps(1);
  EXPECT_EQ(p.active, 0);
  ASSERT_EQ(host.CountSound(sound::kWaterBlast), 1);
  EXPECT_EQ(host.sounds.back().x, 50.0);
  EXPECT_EQ(ParticlesOfKind(particle::kSplashRing), 1);
  EXPECT_EQ(ParticlesOfKind(particle::kSplashColumn), 1);
  EXPECT_EQ(host.CountSound(sound::kExplosion1) + host.CountSound(sound::kExplosion2), 0);
}

// Above an island the same shell explodes: sound 8 or 9 and five debris of one kind.
TEST_F(ProjectilesTest, ShellExplodesOnAnIsland) {
  w.cameraPos = {50, 8.8, 45, 0};
  for (int a = 0; a < kPieceGridSize; ++a)
    for (int b = 0; b < kPieceGridSize; ++b) w.islandHeights[1][a][b] = 255;
  StaticRecord& st = w.statics[1];
  st.alive = 1;
  st.terrainKind = 1;
  st.posX = 50;
  st.posZ = 50;
  const ProjectileRecord& p = Shot(1, 3, 0, {50, 3, 50, 0}, {0, -0.01, 0, 1});
  for (int k = 0; k < 40 && p.active == 1; ++k) Steps(1);
  ASSERT_EQ(p.active, 0);
  EXPECT_EQ(host.CountSound(sound::kExplosion1) + host.CountSound(sound::kExplosion2), 1);
  const int debris = ParticlesOfKind(particle::kFireball) + ParticlesOfKind(particle::kExplosion) +
                     ParticlesOfKind(particle::kMiniExplosion);
  EXPECT_EQ(debris, 5);
  EXPECT_EQ(host.CountSound(sound::kWaterBlast), 0);
}

// A torpedo dropped into the water takes its heading from start.y, splashes once and runs on.
TEST_F(ProjectilesTest, TorpedoRunsOnThroughTheWater) {
  ProjectileRecord& p = Shot(1, 16, 0, {50, 0.3, 50, 0}, {0, 0, 0, 0});
  p.start.y = 0.4;
  // One running just below the surface, at or under the open water's height 0.
  ProjectileRecord& under = Shot(2, 16, 1, {20, -0.03, 20, 0}, {0, -0.01, 0, 0});
  SharedRandom().Seed(3);
  Steps(60);
  EXPECT_EQ(under.active, 1);
  EXPECT_EQ(under.pos.y, -0.03);
  ASSERT_EQ(p.active, 1);
  EXPECT_EQ(p.variant, 1);
  EXPECT_NEAR(p.vel.x, -0.009 * std::sin(0.4), 1e-15);
  EXPECT_NEAR(p.vel.z, -0.009 * std::cos(0.4), 1e-15);
  EXPECT_LE(p.pos.y, 0.1);
  EXPECT_GE(p.pos.y, -0.05);
  EXPECT_EQ(host.CountSound(sound::kWaterBlast), 1);  // the first touch only
  EXPECT_LT(p.pos.z, 50 - 40 * 0.009 * std::cos(0.4) * 30);
  // A unit in its path (other than the owner) stops it.
  MakeShip(5, 10, p.pos.x - 0.4 * std::sin(0.4), p.pos.z - 0.4 * std::cos(0.4)).posY = -0.3;
  Steps(2);
  EXPECT_EQ(p.active, 0);
  EXPECT_LT(w.units[5].life, 100.0f);
}

// A mine floats at 0.05, never hitting the water, until a unit comes within reach.
TEST_F(ProjectilesTest, MineWaitsThenGoesOffUnderAUnit) {
  const ProjectileRecord& p = Shot(1, 1, 27, {50, 0.1, 50, 0}, {0, 0, 0, 1});
  SharedRandom().Seed(5);
  Steps(100);
  ASSERT_EQ(p.active, 1);
  EXPECT_LT(std::fabs(p.pos.y - 0.05), 0.01);
  EXPECT_EQ(p.pos.x, 50.0);
  MakeShip(5, 10, 50.5, 50.0);
  Steps(2);
  EXPECT_EQ(p.active, 0);
  EXPECT_LT(w.units[5].life, 100.0f);
}

// The owner is never hit by its own shot, even inside it; another unit in the same place is.
TEST_F(ProjectilesTest, OwnerInsideItsOwnShotIsNotHit) {
  MakeShip(5, 10, 50, 50);
  const ProjectileRecord& p = Shot(1, 3, 0, {50, 0.3, 50, 0}, {0, 0, 0, 1}, 5);
  w.aiPhase = 0;
  Steps(1);  // aiPhase 1: the unit test runs
  EXPECT_EQ(p.active, 1);
  EXPECT_EQ(w.units[5].life, 100.0f);
  MakeShip(6, 10, 50, 50);
  w.aiPhase = 0;
  Steps(1);
  EXPECT_EQ(p.active, 0);
  EXPECT_EQ(w.units[5].life, 100.0f);
  EXPECT_LT(w.units[6].life, 100.0f);
}

// Units are tested only on steps where aiPhase is 1.
TEST_F(ProjectilesTest, UnitsAreTestedOnlyOnEverySecondStep) {
  MakeShip(5, 10, 50, 50);
  const ProjectileRecord& p = Shot(1, 3, 0, {50, 0.3, 50, 0}, {0, 0, 0, 1});
  w.aiPhase = 1;
  Steps(1);  // aiPhase 0
  EXPECT_EQ(p.active, 1);
  Steps(1);
  EXPECT_EQ(p.active, 0);
}

TEST_F(ProjectilesTest, ProtectedPlayerIsAlertedButUnharmed) {
  UnitRecord& pl = P();
  pl.posX = 50;
  pl.posZ = 50;
  for (const double protection : {2.0, 0.0}) {
    pl.life = 100.0f;
    w.unitAlerted[1] = 0;
    w.respawnProtection = protection;
    Shot(1, 3, 0, {50, 0.3, 50, 0}, {}, 7);
    DetonateProjectile(w, host, 1);
    EXPECT_EQ(w.unitAlerted[1], 1);
    if (protection > 0) {
      EXPECT_EQ(pl.life, 100.0f);
    } else {
      EXPECT_GE(pl.life, 100.0f - 19.0f);
      EXPECT_LE(pl.life, 100.0f - 15.0f);
    }
  }
}

// Damage by kind and variant: the range of one hit on a unit at the impact point.
TEST_F(ProjectilesTest, DamageByKindAndVariant) {
  const struct {
    int32_t kind, variant;
    double lo, hi;  // inclusive
  } rows[] = {
      {1, 0, 21 * 1.5, 30 * 1.5},  // times gunFactor 1.5
      {3, 0, 15, 19},
      {5, 0, 15, 19},
      {9, 3, 15, 19},
      {16, 1, 15, 19},
      {6, 5, 5, 9},
      {11, 0, 10, 14},
      {12, 0, 3, 5},
      {14, 0, 15, 24},
      {21, 0, 4, 6},
      {21, 1, 45, 79},
      {21, 2, 0, 0},
      {44, 0, 15000, 19999},
      {121, 0, 10, 12},
      {121, 1, 5000, 5999},
      {121, 2, 25, 39},
      {121, 3, 45, 59},
      {121, 4, 0, 0},
  };
  w.gunFactor = 1.5;
  for (const auto& r : rows) {
    for (int k = 0; k < 20; ++k) {
      UnitRecord& u = MakeShip(5, 10, 50, 50);
      u.life = 100000.0f;
      u.maxLife = 100000.0f;
      Shot(1, r.kind, r.variant, {50, 0.4, 50, 0}, {}, 7);
      DetonateProjectile(w, host, 1);
      const double damage = 100000.0 - u.life;
      EXPECT_GE(damage, r.lo - 1e-3) << r.kind << "/" << r.variant;
      EXPECT_LE(damage, r.hi + 1e-3) << r.kind << "/" << r.variant;
      EXPECT_EQ(w.unitAlerted[5], 1);
    }
  }
}

// Reach: 0.75 radius + 0.2 from the unit's centre raised by a third of its radius; cannonballs
// reach 0.5 gunFactor further, heavy shells 0.5 in all.
TEST_F(ProjectilesTest, ReachByKind) {
  const struct {
    int32_t kind;
    double reach;
  } rows[] = {{3, 0.95}, {1, 0.95 + 0.5 * 2.0}, {44, 1.25}};
  w.gunFactor = 2.0;
  for (const auto& r : rows) {
    for (const double off : {-0.01, 0.01}) {
      UnitRecord& u = MakeShip(5, 10, 50, 50);  // radius 1: centre at y = 1/3
      Shot(1, r.kind, 0, {50 + r.reach + off, 1.0 / 3.0, 50, 0}, {}, 7);
      DetonateProjectile(w, host, 1);
      EXPECT_EQ(u.life < 100.0f, off < 0) << r.kind << " " << off;
    }
  }
}

// A kind-1 hit that meets a unit already at life 0 grants the kill bonus again: two shots in
// the same step both grant it (maxLife x episode).
TEST_F(ProjectilesTest, KillBonusGrantedTwiceByTwoShotsInOneStep) {
  w.episode = 2;
  UnitRecord& u = MakeShip(5, 10, 50, 50);
  u.life = 1.0f;
  u.maxLife = 150.7f;
  w.experience = 1000;
  Shot(1, 1, 0, {50, 0.4, 50, 0}, {0, 0, 0, 1}, 1);
  Shot(2, 1, 0, {50, 0.4, 50, 0}, {0, 0, 0, 1}, 1);
  Steps(1);  // aiPhase 1
  EXPECT_EQ(w.projectiles[1].active, 0);
  EXPECT_EQ(w.projectiles[2].active, 0);
  EXPECT_EQ(w.experience, 1000 + 2 * 150 * 2);
}

TEST_F(ProjectilesTest, KillBonusByKind) {
  const struct {
    int32_t projectile, unitKind;
    int32_t bonus;  // with maxLife 80, episode 3
  } rows[] = {{1, 10, 240}, {1, 3, 0},   {1, 5, 0},    {1, 29, 0}, {1, 34, 0}, {1, 36, 0},
              {1, 37, 240}, {14, 3, 80}, {21, 10, 80}, {3, 10, 0}, {44, 10, 0}};
  w.episode = 3;
  for (const auto& r : rows) {
    UnitRecord& u = MakeShip(5, r.unitKind, 50, 50);
    u.life = 0.5f;
    u.maxLife = 80.0f;
    w.experience = 0;
    Shot(1, r.projectile, 0, {50, 0.4, 50, 0}, {}, 7);
    DetonateProjectile(w, host, 1);
    EXPECT_EQ(w.experience, r.bonus) << r.projectile << " on " << r.unitKind;
  }
}

TEST_F(ProjectilesTest, ExperienceStaysInsideInt32) {
  w.episode = 1000000;
  UnitRecord& u = MakeShip(5, 10, 50, 50);
  u.life = 0.0f;
  u.maxLife = 3e38f;
  w.experience = 2147483000;
  Shot(1, 1, 0, {50, 0.4, 50, 0}, {}, 7);
  DetonateProjectile(w, host, 1);
  EXPECT_EQ(w.experience, 2147483647);
}

// A charged ironclad (kind 47) ignores cannonballs: no damage, no alert from the hit.
TEST_F(ProjectilesTest, ChargedIroncladIgnoresCannonballs) {
  UnitRecord& u = MakeShip(5, kind::kIronclad, 50, 50);
  u.radius = 0.2f;  // the blast alert (3 radii) does not reach it
  for (const float reload : {1.0f, 0.5f}) {
    u.reload = reload;
    u.life = 100.0f;
    w.unitAlerted[5] = 0;
    Shot(1, 1, 0, {50, 0.7, 50, 0}, {}, 7);
    DetonateProjectile(w, host, 1);
    EXPECT_EQ(u.life < 100.0f, reload < 1.0f);
    EXPECT_EQ(w.unitAlerted[5], reload < 1.0f ? 1 : 0);
  }
}

// A cannonball throws a ready switch: its reload goes to 0, it keeps full life, sound 17; with
// acceleration 500 the player takes over the fighter of unit51.par in slot 255.
TEST_F(ProjectilesTest, CannonballThrowsASwitch) {
  const auto root = ScratchDir("switch");
  std::filesystem::create_directories(root / "gdata" / "parameters");
  UnitRecord fighter{};
  fighter.unitKind = 51;
  fighter.posY = 2.5;
  fighter.posX = 7.0;
  fighter.life = fighter.maxLife = 40.0f;
  {
    std::ofstream f(root / "gdata" / "parameters" / "unit51.par", std::ios::binary);
    f.write(reinterpret_cast<const char*>(&fighter), sizeof fighter);
  }
  w.appPath = root.string() + "/";
  w.upgradePanelUnlocked = 1;
  w.upgradePanelOpen = 1;
  for (const float acceleration : {0.0f, 500.0f}) {
    UnitRecord& sw = MakeShip(5, kind::kSwitch, 50, 50);
    sw.acceleration = acceleration;
    sw.reload = sw.maxReload = 1.0f;
    Shot(1, 1, 0, {50, 0.4, 50, 0}, {}, 1);
    DetonateProjectile(w, host, 1);
    EXPECT_EQ(sw.reload, 0.0f);
    EXPECT_EQ(sw.life, sw.maxLife);
    EXPECT_EQ(host.CountSound(sound::kKey), acceleration == 0 ? 1 : 2);
  }
  EXPECT_EQ(w.playerUnit, 255);
  const UnitRecord& f = w.units[255];
  EXPECT_EQ(f.unitKind, 51);
  EXPECT_EQ(f.alive, 1);
  EXPECT_EQ(f.posX, 80.0);
  EXPECT_EQ(f.posY, 2.5);
  EXPECT_EQ(f.posZ, 120.0);
  EXPECT_EQ(w.upgradePanelUnlocked, 0);
  EXPECT_EQ(w.upgradePanelOpen, 0);
  EXPECT_EQ(w.infoPanelOpen, 1);
}

// The rocket steers toward airTarget by 0.00025 per half step and goes off at height 7.
TEST_F(ProjectilesTest, RocketHomesOnTheAirTargetAndBurnsOutHigh) {
  MakeShip(5, 17, 60, 40).posY = 20.0;
  w.airTarget = 5;
  const ProjectileRecord& p = Shot(1, 1, 1, {50, 1, 50, 0}, {0, 0.0104, 0, 1}, 1);
  Steps(1);
  EXPECT_NEAR(p.vel.x, 0.0005, 1e-15);
  EXPECT_NEAR(p.vel.z, -0.0005, 1e-15);
  EXPECT_NEAR(p.start.x, 3900 * p.vel.x, 1e-12);
  for (int k = 0; k < 40 && p.active == 1; ++k) Steps(1);
  EXPECT_EQ(p.active, 0);
  EXPECT_GE(p.pos.y, 6.0);
  // No target, or one outside the table: it flies straight.
  for (const int32_t target : {0, -4, 256, 100000}) {
    w.airTarget = target;
    const ProjectileRecord& q = Shot(2, 1, 1, {50, 1, 50, 0}, {0, 0.0104, 0, 1}, 1);
    Steps(1);
    EXPECT_EQ(q.vel.x, 0.0) << target;
    EXPECT_EQ(q.vel.z, 0.0) << target;
  }
}

// Guided shells of variants 0 and 3 steer toward the player's ship, 1 and 2 toward airTarget,
// higher variants not at all; their height follows the target's + 0.7 by 0.03.
TEST_F(ProjectilesTest, GuidedShellsSteerByVariant) {
  SharedRandom().Seed(11);  // no chance detonation in these few steps
  MakeShip(5, 17, 80, 50).posY = 3.0;
  w.airTarget = 5;
  P().posX = 20;
  P().posZ = 50;
  const struct {
    int32_t variant;
    double vx;
  } rows[] = {{0, -0.0007}, {1, 0.0007}, {2, 0.0007}, {3, -0.0007}, {4, 0.0}};
  for (const auto& r : rows) {
    const ProjectileRecord& p = Shot(1, 121, r.variant, {50, 1, 50, 0}, {0, 0, 0, 1}, 9);
    w.aiPhase = 1;
    Steps(1);
    ASSERT_EQ(p.active, 1) << r.variant;
    EXPECT_NEAR(p.vel.x, r.vx, 1e-15) << r.variant;
    if (r.variant == 1) {
      EXPECT_NEAR(p.pos.y, 1.06, 1e-9);
    }
  }
}

// A flame ages by 0.43 per half step (0.12 for variant 1) and goes off at 5.7.
TEST_F(ProjectilesTest, FlameBurnsOut) {
  SharedRandom().Seed(1);
  const ProjectileRecord& p = Shot(1, 21, 0, {50, 3, 50, 0}, {0, 0, 0, 1});
  Steps(6);
  EXPECT_EQ(p.active, 1);
  EXPECT_NEAR(p.start.w, 12 * 0.43, 1e-12);
  for (int k = 0; k < 30 && p.active == 1; ++k) Steps(1);
  EXPECT_EQ(p.active, 0);
}

// A projectile with NaN or infinite position or velocity is ended, never followed; an unknown
// kind flies (without gravity) and is not removed by an impact.
TEST_F(ProjectilesTest, DamagedRecordsFromAFile) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  Shot(1, 1, 0, {nan, 1, 50, 0}, {0, 0, 0, 1});
  Shot(2, 3, 0, {50, 1, 50, 0}, {0, inf, 0, 1});
  Shot(3, 121, 0, {50, 1, 50, 0}, {1e308, 0, 0, 1});
  Shot(4, 77, -9, {50, -1, 50, 0}, {0, 0, 0, 1}, -400);
  Shot(5, 1, 0, {50, 0.05, 50, 0}, {0, -0.01, 0, 1}, 1 << 30);
  w.playerUnit = 9999;
  w.airTarget = -1;
  Steps(2);
  EXPECT_EQ(w.projectiles[1].active, 0);
  EXPECT_EQ(w.projectiles[2].active, 0);
  EXPECT_EQ(w.projectiles[3].active, 0);
  EXPECT_EQ(w.projectiles[4].active, 1);
  EXPECT_EQ(w.projectiles[5].active, 0);  // reached the water
  DetonateProjectile(w, host, 0);
  DetonateProjectile(w, host, 512);
  DetonateProjectile(w, host, -1);
}

// The projectile update's particle spawns go on from the last slot taken: the same slots as
// SpawnParticle while no particle ends, one look a spawn once the pool is full.
TEST_F(ProjectilesTest, ParticleBurstTakesTheSameSlotsAsSingleSpawns) {
  ParticleRecord t{};
  t.kind = particle::kSmoke;
  t.pos = {100, 1, 95, 0};
  for (int32_t i = 1; i <= 3; ++i) w.particles[i].active = 1;
  w.particles[5].active = 1;
  int32_t from = 1;
  EXPECT_EQ(SpawnParticleFrom(w, t, from), 4);
  EXPECT_EQ(from, 5);
  EXPECT_EQ(SpawnParticleFrom(w, t, from), 6);
  t.pos.x = 500;  // out of sight: dropped, the search point stays
  EXPECT_EQ(SpawnParticleFrom(w, t, from), 0);
  EXPECT_EQ(from, 7);
  t.pos.x = 100;
  for (int32_t i = 7; i <= kParticleSlots; ++i) w.particles[i].active = 1;
  EXPECT_EQ(SpawnParticleFrom(w, t, from), 0);
  EXPECT_EQ(from, kParticleSlots + 1);
  w.particles[2].active = 0;  // freed by someone else: a fresh search finds it
  EXPECT_EQ(SpawnParticle(w, t), 2);
}

}  // namespace
}  // namespace skerrow::test
