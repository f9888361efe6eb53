// Weapons: the bow-gun salvo of every kind, the side batteries, weapons S, X and Z, the
// projectile spawner on a full table and the charge ratios with a zero maximum.
#include "simulation/weapons.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "simulation/sim_fixture.h"
#include "simulation/units.h"
#include "world/vocabulary.h"

namespace skerrow::test {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kH = 0.3;  // heading of the firing unit in every test

class WeaponsTest : public SimTest {
 protected:
  // A unit of `kind` in slot 2 at (100, 0, 100) heading kH, fully charged and reloaded.
  UnitRecord& Gunner(int32_t kind) {
    UnitRecord& u = MakeShip(2, kind, 100.0, 100.0);
    u.rotY = kH;
    u.rotX = 2.0;
    u.rotZ = -3.0;
    u.heel = 0.1;
    u.reload = u.maxReload = 1.0f;
    u.power = u.maxPower = 1.0f;
    u.sideReload = u.maxSideReload = 1.0f;
    u.sidePower = 0.0f;
    u.maxSidePower = 1.0f;
    w.gunFactor = 1.0;
    return u;
  }

  std::vector<int32_t> Shots() const {
    std::vector<int32_t> s;
    for (int32_t i = 1; i < kProjectileSlots; ++i)
      if (w.projectiles[i].active == 1) s.push_back(i);
    return s;
  }

  int Particles() const {
    int n = 0;
    for (int32_t i = 1; i <= kParticleSlots; ++i) n += w.particles[i].active == 1;
    return n;
  }

  void ClearTables() {
    for (ProjectileRecord& p : w.projectiles) p.active = 0;
    for (ParticleRecord& p : w.particles.slots) p.active = 0;
    host.sounds.clear();
  }
};

// P(r, a, d) of a unit at (100, 0, 100): the muzzle point of the tables.
Vector4d Muzzle(double r, double a, double d) {
  return {100.0 - r * std::sin(a), d, 100.0 - r * std::cos(a), 0.0};
}

void ExpectNear(const Vector4d& got, const Vector4d& want, const char* what) {
  EXPECT_NEAR(got.x, want.x, 1e-9) << what;
  EXPECT_NEAR(got.y, want.y, 1e-9) << what;
  EXPECT_NEAR(got.z, want.z, 1e-9) << what;
}

// Every fixed salvo: how many shots of which kind and variant, where the first leaves, how many
// smoke puffs, which sound; reload and power go to 0.
TEST_F(WeaponsTest, MainGunSalvoByKind) {
  struct Row {
    int32_t unitKind;
    int shots;
    int32_t kind, variant;
    Vector4d first;
    int smoke;
    int32_t sound;  // -1: none
  };
  const Row rows[] = {
      {1, 1, 1, 0, Muzzle(1, kH, 0.43), 5, sound::kShot},
      {2, 2, 1, 0, Muzzle(0.97, kH - kPi / 4, 0.43), 10, sound::kShot},
      {3, 1, 1, 0, Muzzle(1, kH, 0.43), 5, sound::kShot},
      {6, 2, 12, 0, Muzzle(0.35, kH + kPi / 2, 0.3), 4, sound::kShot},
      {7, 1, 3, 0, Muzzle(0.5, kH, 0.3), 1, -1},
      {9, 1, 16, 0, Muzzle(0, kH, 0.3), 0, sound::kShot},
      {11, 1, 11, 0, {100 - std::sin(kH), 0.1, 100 - std::cos(kH), 0}, 0, sound::kElectricShot},
      {13, 1, 3, 13, Muzzle(0.5, kH, 0.3), 1, -1},
      {14, 1, 3, 14, Muzzle(0.5, kH, 0.3), 1, -1},
      {16, 1, 3, 5, Muzzle(1, kH + 0.1257, 0.3), 3, -1},
      {17, 2, 3, 5, Muzzle(0.35, kH + kPi / 2, -0.1), 0, -1},
      {18, 2, 3, 5, Muzzle(0.35, kH + kPi / 2, -0.1), 0, -1},
      {21, 3, 121, 0, Muzzle(0.6, kH, 0.6), 0, -1},
      {24, 3, 14, 1, Muzzle(0.3, kH, 0.4), 0, -1},
      {25, 3, 12, 0, Muzzle(0.35, kH, -0.3), 3, sound::kShot},  // low: posY 0
      {26, 1, 3, 5, Muzzle(0.5, kH + kPi / 4, 0.9), 3, -1},     // acceleration 1
      {27, 1, 14, 0, Muzzle(0.2, kH, 0.4), 0, -1},
      {44, 1, 44, 0, Muzzle(1.5, kH, 1.5), 5, sound::kShot},
      {45, 1, 44, 0, Muzzle(0.7, kH, 0.4), 5, sound::kShot},
      {47, 90, 21, 1, {}, 0, -1},
      {51, 3, 121, 1, {100 - 0.6 * std::sin(kH), -0.1, 100 - 0.5 * std::cos(kH), 0}, 0, -1},
  };
  for (const Row& row : rows) {
    ClearTables();
    UnitRecord& u = Gunner(row.unitKind);
    u.acceleration = 1.0f;
    FireMainGun(w, host, 2);
    const std::vector<int32_t> shots = Shots();
    ASSERT_EQ(static_cast<int>(shots.size()), row.shots) << "kind " << row.unitKind;
    for (int32_t s : shots) {
      const ProjectileRecord& p = w.projectiles[s];
      EXPECT_EQ(p.kind, row.kind) << "kind " << row.unitKind;
      EXPECT_EQ(p.variant, row.variant) << "kind " << row.unitKind;
      EXPECT_EQ(p.owner, 2);
      if (row.unitKind != 9) {
        EXPECT_EQ(p.vel.w, 1.0) << "kind " << row.unitKind;
      }
      EXPECT_EQ(p.start.x, 2.0);  // the unit's rotation vector
      EXPECT_EQ(p.start.y, kH);
      EXPECT_EQ(p.start.w, 0.1);
    }
    if (row.unitKind != 47) ExpectNear(w.projectiles[shots[0]].pos, row.first, "first shot");
    EXPECT_EQ(Particles(), row.smoke) << "kind " << row.unitKind;
    EXPECT_EQ(u.reload, 0.0f) << "kind " << row.unitKind;
    EXPECT_EQ(u.power, 0.0f) << "kind " << row.unitKind;
    EXPECT_EQ(host.sounds.size(), row.sound < 0 ? 0u : 1u) << "kind " << row.unitKind;
    if (row.sound >= 0 && !host.sounds.empty()) {
      EXPECT_EQ(host.sounds[0].sound, row.sound);
      EXPECT_EQ(host.sounds[0].x, 100.0);
    }
  }
}

TEST_F(WeaponsTest, KindsWithoutASalvoKeepTheirReload) {
  for (const int32_t k : {0, 4, 5, 8, 12, 15, 19, 20, 22, 23, 28, 35, 43, 48, 50, 52, 255, -7}) {
    ClearTables();
    UnitRecord& u = Gunner(k);
    FireMainGun(w, host, 2);
    EXPECT_TRUE(Shots().empty()) << k;
    EXPECT_EQ(u.reload, 1.0f) << k;
    EXPECT_EQ(u.power, 1.0f) << k;
    EXPECT_TRUE(host.sounds.empty()) << k;
  }
}

TEST_F(WeaponsTest, HeroShotRisesWithTheChargeAndFliesWithTheGunFactor) {
  for (const float power : {0.0f, 1.0f}) {
    ClearTables();
    UnitRecord& u = Gunner(1);
    u.power = power;
    w.gunFactor = 2.0;
    FireMainGun(w, host, 2);
    const ProjectileRecord& p = w.projectiles[Shots().at(0)];
    const double base = 0.0018 + 0.0053 * power;
    EXPECT_GE(p.vel.y, base);
    EXPECT_LT(p.vel.y, base + 0.00002);
    EXPECT_NEAR(std::hypot(p.vel.x, p.vel.z), 0.005 + 0.003 * 2.0, 1e-12);
    EXPECT_NEAR(std::atan2(-p.vel.x, -p.vel.z), kH, 1e-12);  // along the heading
  }
}

// A full table takes no shot; the smoke, the sound and the reset happen as usual. With one free
// slot a two-shot salvo gets its first shot only.
TEST_F(WeaponsTest, FullProjectileTableLosesTheShotsButStillResets) {
  for (int32_t i = 1; i < kProjectileSlots; ++i) w.projectiles[i].active = 1;
  UnitRecord& u = Gunner(3);
  FireMainGun(w, host, 2);
  EXPECT_EQ(Particles(), 5);
  EXPECT_EQ(host.CountSound(sound::kShot), 1);
  EXPECT_EQ(u.reload, 0.0f);
  EXPECT_EQ(u.power, 0.0f);
  for (int32_t i = 1; i < kProjectileSlots; ++i) EXPECT_NE(w.projectiles[i].kind, 1);

  w.projectiles[300].active = 0;
  Gunner(2);
  FireMainGun(w, host, 2);
  EXPECT_EQ(w.projectiles[300].kind, 1);
  const Vector4d first = Muzzle(0.97, kH - kPi / 4, 0.43);
  ExpectNear(w.projectiles[300].pos, first, "the first muzzle's shot");
  EXPECT_EQ(SpawnProjectile(w, 3, 2, {}, {}, {}, 0), 0);
}

TEST_F(WeaponsTest, SpawnTakesTheLowestFreeSlotAndTouchesNothingElse) {
  w.projectiles[1].active = 1;
  w.projectiles[2].reserved101[0] = 0xAB;
  const int32_t s = SpawnProjectile(w, 44, 9, {1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, 3);
  ASSERT_EQ(s, 2);
  const ProjectileRecord& p = w.projectiles[2];
  EXPECT_EQ(p.kind, 44);
  EXPECT_EQ(p.owner, 9);
  EXPECT_EQ(p.variant, 3);
  EXPECT_EQ(p.vel.w, 4.0);
  EXPECT_EQ(p.start.w, 8.0);
  EXPECT_EQ(p.pos.w, 12.0);
  EXPECT_EQ(p.reserved101[0], 0xAB);
  EXPECT_EQ(w.projectiles[0].active, 0);  // slot 0 is never used
}

// Kind 10 fires each side gun on its own even draw (0, 1 or 2 shots, a sound per shot); kind 25
// the same from both sides of its side battery whichever side was asked. The reload goes to 0
// even when nothing was fired.
TEST_F(WeaponsTest, RandomSalvosOfKinds10And25) {
  for (const bool side : {false, true}) {
    const int32_t k = side ? 25 : 10;
    int seen[3] = {0, 0, 0};
    for (uint64_t seed = 1; seed <= 40; ++seed) {
      SharedRandom().Seed(seed);
      ClearTables();
      UnitRecord& u = Gunner(k);
      if (side) {
        FireSideBattery(w, host, 2, 1);
      } else {
        FireMainGun(w, host, 2);
      }
      const std::vector<int32_t> shots = Shots();
      ASSERT_LE(shots.size(), 2u);
      ++seen[shots.size()];
      EXPECT_EQ(host.CountSound(sound::kShot), static_cast<int>(shots.size()));
      for (int32_t s : shots) {
        EXPECT_EQ(w.projectiles[s].kind, 5);
        EXPECT_NEAR(std::atan2(-w.projectiles[s].vel.x, -w.projectiles[s].vel.z), kH, 1e-12);
      }
      EXPECT_EQ(side ? u.sideReload : u.reload, 0.0f);
    }
    EXPECT_GT(seen[0], 0) << k;
    EXPECT_GT(seen[1], 0) << k;
    EXPECT_GT(seen[2], 0) << k;
  }
}

// The ironclad's side battery: a guided shell from each side on its own even draw, both
// fired ahead from 1.1 above the hull; the side reload resets even with none.
TEST_F(WeaponsTest, IroncladSideBatteryFiresFromBothSidesByChance) {
  int seen[3] = {0, 0, 0};
  for (uint64_t seed = 1; seed <= 30; ++seed) {
    SharedRandom().Seed(seed);
    ClearTables();
    UnitRecord& u = Gunner(kind::kIronclad);
    FireSideBattery(w, host, 2, 0);
    const std::vector<int32_t> shots = Shots();
    ASSERT_LE(shots.size(), 2u);
    ++seen[shots.size()];
    for (int32_t s : shots) {
      const ProjectileRecord& p = w.projectiles[s];
      EXPECT_EQ(p.kind, 121);
      EXPECT_EQ(p.variant, 0);
      EXPECT_EQ(p.pos.y, 1.1);
      EXPECT_NEAR(std::fabs(p.pos.x - 100.0), 0.6 * std::fabs(std::sin(kH + kPi / 2)), 1e-12);
      EXPECT_NEAR(std::atan2(-p.vel.x, -p.vel.z), kH, 1e-12);
    }
    EXPECT_EQ(u.sideReload, 0.0f);
    EXPECT_TRUE(host.sounds.empty());
  }
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[2], 0);
}

TEST_F(WeaponsTest, KindFortySixFiresStacksOfFour) {
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    SharedRandom().Seed(seed);
    ClearTables();
    Gunner(46);
    FireMainGun(w, host, 2);
    const std::vector<int32_t> shots = Shots();
    ASSERT_EQ(shots.size() % 4, 0u);
    for (size_t s = 0; s < shots.size(); s += 4)
      for (size_t k = 1; k < 4; ++k)
        EXPECT_EQ(w.projectiles[shots[s]].pos.x, w.projectiles[shots[s + k]].pos.x);
  }
}

TEST_F(WeaponsTest, ShoreBatteryDirectionFromItsAcceleration) {
  for (int q = 1; q <= 4; ++q) {
    ClearTables();
    UnitRecord& u = Gunner(26);
    u.acceleration = static_cast<float>(q);
    FireMainGun(w, host, 2);
    const ProjectileRecord& p = w.projectiles[Shots().at(0)];
    const double d = kH + (q - 1) * kPi / 2 + kPi / 4;
    ExpectNear(p.pos, Muzzle(0.5, d, 0.9), "muzzle");
    EXPECT_NEAR(p.vel.x, -0.009 * std::sin(d), 1e-12);
  }
}

// Kind 51 aims its guided shells at the nearest other live unit within 25.
TEST_F(WeaponsTest, FighterTargetSearch) {
  Gunner(51);
  w.units[1].posX = 300.0;       // the player's ship far away
  MakeShip(5, 7, 110.0, 100.0);  // 10 away
  MakeShip(6, 7, 106.0, 100.0);  // 6 away, dead
  w.units[6].alive = 0;
  MakeShip(7, 7, 140.0, 100.0);  // 40 away
  w.airTarget = 99;
  FireMainGun(w, host, 2);
  EXPECT_EQ(w.airTarget, 5);
  MakeShip(4, 7, 90.0, 100.0);  // as near as unit 5: the lower index wins
  SearchAirTarget(w, 2);
  EXPECT_EQ(w.airTarget, 4);
  w.units[4].alive = 0;
  w.units[5].alive = 0;
  SearchAirTarget(w, 2);
  EXPECT_EQ(w.airTarget, 0);
}

// Broadsides of every kind that has one: shots, kinds, smoke, heel; kinds 1 to 3 at no charge
// and full charge.
TEST_F(WeaponsTest, SideBatteryByKind) {
  struct Row {
    int32_t unitKind;
    int shots;
    int32_t kind, variant;
    int smoke;
    bool heels;
  };
  const Row rows[] = {
      {1, 4, 1, 0, 8, true},  {2, 2, 1, 0, 4, true},     {3, 10, 1, 0, 20, true},
      {10, 3, 6, 5, 9, true}, {19, 5, 6, 0, 15, true},   {44, 5, 6, 0, 15, true},
      {20, 1, 6, 5, 2, true}, {51, 3, 121, 2, 0, false}, {7, 0, 0, 0, 0, false},
  };
  for (const Row& row : rows) {
    for (const int32_t side : {0, 1}) {
      for (const float charge : {0.0f, 1.0f}) {
        ClearTables();
        UnitRecord& u = Gunner(row.unitKind);
        u.sidePower = charge;
        u.heel = 0.25;
        FireSideBattery(w, host, 2, side);
        const std::vector<int32_t> shots = Shots();
        ASSERT_EQ(static_cast<int>(shots.size()), row.shots) << row.unitKind;
        EXPECT_EQ(Particles(), row.smoke) << row.unitKind;
        const double s = side == 0 ? kPi / 2 : -kPi / 2;
        const bool hero = row.unitKind <= 3;
        for (int32_t i : shots) {
          const ProjectileRecord& p = w.projectiles[i];
          EXPECT_EQ(p.kind, row.kind);
          EXPECT_EQ(p.variant, row.variant);
          if (row.unitKind == 51) continue;  // guided shells fly ahead
          EXPECT_NEAR(std::atan2(-p.vel.x, -p.vel.z), std::remainder(kH + s, 2 * kPi), 1e-12);
          EXPECT_EQ(p.start.y, kH + s);
          EXPECT_EQ(p.start.w, 1.0);
          if (hero) {
            const double base = 0.0018 + 0.0043 * charge;
            EXPECT_GE(p.vel.y, base);
            EXPECT_LT(p.vel.y, base + 0.00032);
          }
        }
        if (row.shots == 0) {
          EXPECT_EQ(u.sideReload, 1.0f);
          continue;
        }
        EXPECT_EQ(u.sideReload, 0.0f);
        EXPECT_EQ(u.sidePower, 0.0f);
        const double heel = hero ? -s / 3 - charge * s / 1.1 : (row.heels ? -s / 3 : 0.25);
        EXPECT_NEAR(u.heel, heel, 1e-12) << row.unitKind;
      }
    }
  }
}

TEST_F(WeaponsTest, CruiserBroadsideWithFewFreeSlotsArmsTheFirstGuns) {
  for (int32_t i = 1; i < kProjectileSlots - 4; ++i) w.projectiles[i].active = 1;
  UnitRecord& u = Gunner(3);
  FireSideBattery(w, host, 2, 0);
  const double a = kH + kPi / 2;
  ExpectNear(w.projectiles[508].pos, Muzzle(1, a - kPi / 2.9, 0.63), "gun 1");
  ExpectNear(w.projectiles[510].pos, Muzzle(0.9, a - kPi / 4.1, 0.63), "gun 3");
  EXPECT_EQ(Particles(), 20);
  EXPECT_EQ(u.sideReload, 0.0f);
}

TEST_F(WeaponsTest, WeaponSRocketWithAndWithoutAFlyingTarget) {
  UnitRecord& u = Gunner(1);
  MakeShip(8, 17, 108.0, 100.0).posY = 5.0;   // flying, within 15
  MakeShip(9, 17, 104.0, 100.0).posY = 2.0;   // too low
  MakeShip(10, 17, 130.0, 100.0).posY = 9.0;  // too far
  FireWeaponS(w, host, 2);
  EXPECT_EQ(w.airTarget, 8);
  const ProjectileRecord& p = w.projectiles[Shots().at(0)];
  EXPECT_EQ(p.kind, 1);
  EXPECT_EQ(p.variant, 1);
  ExpectNear(p.pos, Muzzle(0.4, kH, 0.5), "launcher");
  EXPECT_GE(p.vel.y, 0.0104);
  EXPECT_LT(p.vel.y, 0.0104 + 0.00032);
  EXPECT_NEAR(std::hypot(p.vel.x, p.vel.z), 0.0009, 1e-12);
  EXPECT_EQ(Particles(), 3);
  EXPECT_EQ(u.reload, 0.0f);
  EXPECT_EQ(host.CountSound(sound::kShot), 1);

  w.units[8].posY = 0.0;
  FireWeaponS(w, host, 2);
  EXPECT_EQ(w.airTarget, 0);
  EXPECT_EQ(Shots().size(), 2u);

  // Any other kind clears the target and fires nothing, keeping its reload.
  ClearTables();
  w.airTarget = 8;
  UnitRecord& g = Gunner(7);
  FireWeaponS(w, host, 2);
  EXPECT_EQ(w.airTarget, 0);
  EXPECT_TRUE(Shots().empty());
  EXPECT_EQ(g.reload, 1.0f);
}

TEST_F(WeaponsTest, WeaponZLaysAMineBehindTheShip) {
  UnitRecord& u = Gunner(2);
  u.posY = 0.7;
  FireWeaponZ(w, host, 2);
  const ProjectileRecord& p = w.projectiles[Shots().at(0)];
  EXPECT_EQ(p.kind, 1);
  EXPECT_EQ(p.variant, 27);
  ExpectNear(p.pos, {100 + std::sin(kH), 0.1, 100 + std::cos(kH), 0}, "mine");
  EXPECT_EQ(p.vel.x, 0.0);
  EXPECT_EQ(p.vel.w, 1.0);
  EXPECT_EQ(u.sideReload, 0.0f);
  EXPECT_EQ(host.CountSound(sound::kMine), 1);
  ClearTables();
  Gunner(10);
  FireWeaponZ(w, host, 2);
  EXPECT_TRUE(Shots().empty());
}

TEST_F(WeaponsTest, WeaponXSlowsTheShipAndSpraysFlames) {
  struct Row {
    int32_t kind;
    double slow, turn, r, d;
  };
  for (const Row& row : {Row{1, 0.1, 0.1, 1.2, 0.3}, Row{33, 0.3, 0.4, 1.2, 0.3},
                         Row{44, 0.3, 1.0, 2.2, 0.9}, Row{7, 1.0, 1.0, 0, 0}}) {
    ClearTables();
    UnitRecord& u = Gunner(row.kind);
    u.vel = {0.01, 0.005, 0.02, 0.0};
    u.turnRate = 0.001f;
    FireWeaponX(w, host, 2);
    EXPECT_NEAR(u.vel.x, 0.01 * row.slow, 1e-15) << row.kind;
    EXPECT_NEAR(u.vel.z, 0.02 * row.slow, 1e-15);
    EXPECT_EQ(u.vel.y, 0.005);
    EXPECT_NEAR(u.turnRate, 0.001 * row.turn, 1e-9);
    EXPECT_EQ(u.reload, 1.0f);
    for (int32_t s : Shots()) {
      const ProjectileRecord& p = w.projectiles[s];
      EXPECT_EQ(p.kind, 21);
      EXPECT_EQ(p.variant, 0);
      EXPECT_NEAR(p.pos.y, row.d, 1e-12);
      const double a = std::atan2(100.0 - p.pos.x, 100.0 - p.pos.z);
      EXPECT_NEAR(std::hypot(p.pos.x - 100.0, p.pos.z - 100.0), row.r, 1e-12);
      EXPECT_LE(std::fabs(a - kH), 0.15 + 1e-12);
      EXPECT_EQ(p.vel.y, 0.0008);
    }
    if (row.kind == 7) {
      EXPECT_TRUE(Shots().empty());
    }
  }
  // Up to three flames a step, none on about one step in 27.
  int total = 0;
  for (int k = 0; k < 270; ++k) {
    ClearTables();
    Gunner(1);
    FireWeaponX(w, host, 2);
    ASSERT_LE(Shots().size(), 3u);
    total += static_cast<int>(Shots().size());
  }
  EXPECT_NEAR(total / 270.0, 2.0, 0.25);
}

// Held through the unit update, weapon X keeps a hero ship under full thrust nearly still.
TEST_F(WeaponsTest, HoldingWeaponXHoldsTheShipNearlyStill) {
  w.weaponXUnlocked = 1;
  UnitRecord& p = P();
  p.ctlForward = 1;
  for (int k = 0; k < 50; ++k) UpdateUnits(w, host);
  const double free = std::hypot(p.vel.x, p.vel.z);
  p.ctlWeaponX = 1;
  for (int k = 0; k < 50; ++k) UpdateUnits(w, host);
  EXPECT_LT(std::hypot(p.vel.x, p.vel.z), free / 5.0);
  EXPECT_FALSE(Shots().empty());
}

// The player's bow gun through the unit update fires only with the guns unlocked.
TEST_F(WeaponsTest, PlayerBowGunNeedsTheGunsUnlocked) {
  for (const uint8_t unlocked : {0, 1}) {
    ClearTables();
    w.gunsUnlocked = unlocked;
    UnitRecord& p = P();
    p.reload = p.maxReload = 1.0f;
    p.ctlMainGun = 0;
    p.ctlPrevious[kCtlMainGun] = 1;
    UpdateUnits(w, host);
    EXPECT_EQ(Shots().size(), unlocked ? 1u : 0u);
  }
}

// sp and pp with a maximum of 0 (or a damaged value) count as no charge.
TEST(ChargeRatio, ZeroOrDamagedMaximumIsNoCharge) {
  EXPECT_EQ(ChargeRatio(0.5, 1.0), 0.5);
  EXPECT_EQ(ChargeRatio(3.0, 0.0), 0.0);
  EXPECT_EQ(ChargeRatio(0.0, 0.0), 0.0);
  EXPECT_EQ(ChargeRatio(1.0, -2.0), 0.0);
  EXPECT_EQ(ChargeRatio(std::nan(""), 1.0), 0.0);
  EXPECT_EQ(ChargeRatio(1.0, std::nan("")), 0.0);
  EXPECT_EQ(ChargeRatio(1e300, 1e-300), 0.0);
}

TEST_F(WeaponsTest, ZeroMaximumsLeaveNoNaNInTheShotsOrSmoke) {
  UnitRecord& u = Gunner(3);
  u.maxPower = 0.0f;
  u.maxSidePower = 0.0f;
  u.sidePower = 0.0f;
  FireMainGun(w, host, 2);
  FireSideBattery(w, host, 2, 0);
  for (int32_t s : Shots()) EXPECT_TRUE(std::isfinite(w.projectiles[s].vel.y));
  for (int32_t i = 1; i <= kParticleSlots; ++i) {
    if (w.particles[i].active != 1) continue;
    EXPECT_TRUE(std::isfinite(w.particles[i].size.x));
    EXPECT_TRUE(std::isfinite(w.particles[i].colour.r));
  }
  EXPECT_TRUE(std::isfinite(u.heel));
}

TEST_F(WeaponsTest, UnitIndicesOutsideTheTableFireNothing) {
  for (const int32_t bad : {0, -1, 256, 1 << 30}) {
    FireMainGun(w, host, bad);
    FireSideBattery(w, host, bad, 0);
    FireWeaponS(w, host, bad);
    FireWeaponX(w, host, bad);
    FireWeaponZ(w, host, bad);
    SearchAirTarget(w, bad);
  }
  EXPECT_TRUE(Shots().empty());
}

}  // namespace
}  // namespace skerrow::test
