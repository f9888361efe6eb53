// DestroyUnit: the death event of each kind (debris pieces, splash and sounds), the area
// blast, the boss rewards and the found-item hints with their file-name fallback.
#include "enemies/destroy_unit.h"

#include <algorithm>

#include "enemies_fixture.h"
#include "simulation/units.h"

namespace skerrow::test {
namespace {

class DestroyTest : public EnemiesTest {
 protected:
  int CountProjectiles(int32_t kind) const {
    int n = 0;
    for (int32_t i = 1; i < kProjectileSlots; ++i)
      n += w.projectiles[i].active == 1 && w.projectiles[i].kind == kind;
    return n;
  }
  int CountParticles() const {
    int n = 0;
    for (int32_t i = 1; i <= kParticleSlots; ++i) n += w.particles[i].active;
    return n;
  }
  void ClearEffects() {
    for (ProjectileRecord& p : w.projectiles) p.active = 0;
    for (int32_t i = 1; i <= kParticleSlots; ++i) w.particles[i].active = 0;
    host.sounds.clear();
  }
};

TEST_F(DestroyTest, EveryUnitIsMarkedSinkingDeadAndUnalerted) {
  UnitRecord& u = Enemy(2, kind::kGunboat, 100.0, 104.0);
  w.unitAlerted[2] = 1;
  DestroyUnit(w, host, 2);
  EXPECT_EQ(+u.sinking, 1);
  EXPECT_EQ(+u.alive, 0);
  EXPECT_EQ(+w.unitAlerted[2], 0);
  for (int32_t bad : {0, -1, 256}) DestroyUnit(w, host, bad);  // ignored
}

TEST_F(DestroyTest, DebrisPiecesSplashAndSoundsByKind) {
  struct Case {
    int32_t kind;
    int leastPieces, mostPieces;
    int particles;  // all inside the visibility window, on the water
  };
  const Case cases[] = {
      {kind::kPatrolBoat, 3, 5, 3 + 2 + 5},  {kind::kFighter, 3, 5, 3 + 2 + 5},
      {kind::kTorpedoBoat, 3, 7, 3 + 2 + 5}, {kind::kSeaplane, 3, 7, 3 + 2 + 5},
      {kind::kBomber, 3, 9, 2 + 25},         {kind::kHeavyBomber, 3, 9, 2 + 25},
      {kind::kFireShip, 0, 0, 2 + 15 + 3},   {kind::kSeaMine, 0, 0, 2 + 15 + 3},
      {kind::kSteamRam, 0, 0, 2 + 7 + 3},    {kind::kIronclad, 3, 5, 3 + 2 + 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    int least = 100, most = -1;
    for (int k = 0; k < 60; ++k) {
      ClearEffects();
      Enemy(2, c.kind, 100.0, 104.0);
      DestroyUnit(w, host, 2);
      const int n = CountProjectiles(9);
      least = std::min(least, n);
      most = std::max(most, n);
      EXPECT_EQ(CountParticles(), c.particles);
      EXPECT_EQ(host.CountSound(sound::kWaterBlast), 1);
      EXPECT_EQ(host.CountSound(sound::kExplosion1) + host.CountSound(sound::kExplosion2), 1);
    }
    EXPECT_EQ(least, c.leastPieces);
    EXPECT_EQ(most, c.mostPieces);
  }
}

TEST_F(DestroyTest, DebrisPiecesFlyUpFromTheWreck) {
  UnitRecord& u = Enemy(2, kind::kPatrolBoat, 100.0, 104.0);
  u.posY = -0.5;
  DestroyUnit(w, host, 2);
  const ProjectileRecord& p = w.projectiles[1];
  ASSERT_EQ(+p.active, 1);
  EXPECT_EQ(+p.owner, 2);
  EXPECT_GE(+p.variant, 1);
  EXPECT_LE(+p.variant, 7);
  EXPECT_NEAR(+p.pos.y, -0.2, 1e-12);
  EXPECT_GE(+p.vel.y, 0.0094);
  EXPECT_LT(+p.vel.y, 0.0094 + 0.00032);
  EXPECT_LE(std::abs(p.vel.x), 0.0011);
}

TEST_F(DestroyTest, AWreckAboveTheWaterHasNoSplash) {
  UnitRecord& u = Enemy(2, kind::kPatrolBoat, 100.0, 104.0);
  u.posY = 0.001;
  DestroyUnit(w, host, 2);
  EXPECT_EQ(host.CountSound(sound::kWaterBlast), 0);
  EXPECT_EQ(CountParticles(), 3 + 5);
  for (int32_t i = 1; i <= kParticleSlots; ++i) {
    EXPECT_NE(+w.particles[i].kind, particle::kSplashRing);
    EXPECT_NE(+w.particles[i].kind, particle::kSplashColumn);
  }
}

TEST_F(DestroyTest, MineBlastByDistanceSparesItselfAndTheProtectedPlayer) {
  struct Case {
    double distance;
    double least, most;  // life lost
  };
  const Case cases[] = {{0.0, 50.4, 100.8}, {4.0, 25.2, 50.4}, {8.0, 0.0, 0.0}, {9.0, 0.0, 0.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.distance);
    UnitRecord& mine = Enemy(2, kind::kSeaMine, 50.0, 50.0);
    UnitRecord& ship = Enemy(3, kind::kGunboat, 50.0 + c.distance, 50.0);
    ship.life = 1000.0f;
    w.unitAlerted[3] = 0;
    DestroyUnit(w, host, 2);
    const double lost = 1000.0 - ship.life;
    EXPECT_GE(lost, c.least - 1e-3);
    EXPECT_LE(lost, c.most + 1e-3);
    EXPECT_EQ(+w.unitAlerted[3], c.distance < 8.0 ? 1 : 0);
    EXPECT_EQ(+mine.life, 100.0f);
  }

  // Protected player and an unprotected bystander at the same distance.
  Enemy(2, kind::kFireShip, 100.0, 101.0);
  UnitRecord& other = Enemy(3, kind::kGunboat, 101.0, 101.0);
  w.respawnProtection = 1.0;
  DestroyUnit(w, host, 2);
  EXPECT_EQ(+P().life, 100.0f);
  EXPECT_LT(+other.life, 100.0f);
  w.respawnProtection = 0.0;
  Enemy(2, kind::kFireShip, 100.0, 101.0);
  DestroyUnit(w, host, 2);
  EXPECT_LT(+P().life, 100.0f);
}

TEST_F(DestroyTest, BlastSkipsSinkingAndDeadUnits) {
  Enemy(2, kind::kSeaMine, 50.0, 50.0);
  UnitRecord& sinking = Enemy(3, kind::kGunboat, 51.0, 50.0);
  sinking.sinking = 1;
  UnitRecord& dead = Enemy(4, kind::kGunboat, 50.0, 51.0);
  dead.alive = 0;
  DestroyUnit(w, host, 2);
  EXPECT_EQ(+sinking.life, 100.0f);
  EXPECT_EQ(+dead.life, 100.0f);
}

TEST_F(DestroyTest, BossRewards) {
  UseGameFolder("bosses");
  WriteGameFile("gdata/ata/hints/Boss1.txt", "one\n");
  WriteGameFile("gdata/ata/hints/Boss2.txt", "two\n");
  WriteGameFile("gdata/ata/hints/Boss3.txt", "three\n");
  const std::string hints = w.appPath + "gdata\\ata\\hints\\";
  const std::string voices = w.appPath + "gdata\\sounds\\hints\\";

  Enemy(2, kind::kPirateFlagship, 100.0, 110.0);
  DestroyUnit(w, host, 2);
  EXPECT_EQ(host.musicStops, 1);
  EXPECT_EQ(+w.neighbourPlusZ, 202);
  EXPECT_EQ(+w.weaponXUnlocked, 1);
  ASSERT_EQ(host.hints.size(), 1u);
  EXPECT_EQ(host.hints[0].first, hints + "Boss1.txt");
  EXPECT_EQ(host.hints[0].second, voices + "Boss1.wav");

  Enemy(2, kind::kIronclad, 100.0, 110.0);
  DestroyUnit(w, host, 2);
  EXPECT_EQ(+w.neighbourPlusX, 203);
  EXPECT_EQ(host.musicStops, 1);
  ASSERT_EQ(host.hints.size(), 2u);
  EXPECT_EQ(host.hints[1].first, hints + "Boss2.txt");

  Enemy(3, kind::kGunboat, 10.0, 10.0);
  Enemy(2, kind::kFlyingFortress, 100.0, 110.0);
  DestroyUnit(w, host, 2);
  EXPECT_EQ(+w.units[3].alive, 0);
  EXPECT_EQ(+w.neighbourPlusX, 500);
  EXPECT_EQ(+w.neighbourPlusZ, 500);
  EXPECT_EQ(+w.neighbourMinusX, 500);
  EXPECT_EQ(+w.neighbourMinusZ, 500);
  ASSERT_EQ(host.hints.size(), 3u);
  EXPECT_EQ(host.hints[2].second, voices + "Boss3.wav");
}

TEST_F(DestroyTest, ShoreBatteryAndFoundItemsStayInTheTable) {
  UnitRecord& battery = Enemy(2, kind::kShoreBattery, 100.0, 110.0);
  DestroyUnit(w, host, 2);
  EXPECT_EQ(+battery.alive, 1);
  EXPECT_EQ(+battery.sinking, 1);
}

TEST_F(DestroyTest, FoundItemHintFileNamesAndFallback) {
  UseGameFolder("found");
  w.episode = 1;
  w.levelNumber = 2;
  const std::string hints = w.appPath + "gdata\\ata\\hints\\";
  struct Case {
    const char* levelFile;    // written when not null
    const char* generalFile;  // written when not null
    const char* text;         // expected text file, "" for no hint
    const char* voice;
  };
  const Case cases[] = {
      {"gdata/ata/hints/Get1-2-3.txt", "gdata/ata/hints/Get3.txt", "Get1-2-3.txt",
       "gdata\\sounds\\hints\\Get1-2-3.wav"},
      {nullptr, "gdata/ata/hints/Get3.txt", "Get3.txt", "gdata\\ata\\hints\\get3.wav"},
      {nullptr, nullptr, "", ""},
  };
  for (const Case& c : cases) {
    UseGameFolder("found");
    if (c.levelFile != nullptr) WriteGameFile(c.levelFile, "x\n");
    if (c.generalFile != nullptr) WriteGameFile(c.generalFile, "x\n");
    host.hints.clear();
    for (int32_t k : {kind::kMonitor, kind::kItemWreck22, kind::kItemWreck37, kind::kItemWreck50}) {
      UnitRecord& u = Enemy(2, k, 100.0, 110.0);
      u.acceleration = 3.7f;
      DestroyUnit(w, host, 2);
      EXPECT_EQ(+u.alive, 1);
      EXPECT_EQ(+u.sinking, 1);
    }
    if (*c.text == 0) {
      EXPECT_TRUE(host.hints.empty());
      continue;
    }
    ASSERT_EQ(host.hints.size(), 4u);
    EXPECT_EQ(host.hints[0].first, w.appPath + "gdata\\ata\\hints\\" + c.text);
    EXPECT_EQ(host.hints[0].second, w.appPath + c.voice);
  }
}

// A shot found-item wreck (class 4) through the unit update, down to the sea floor and past it:
// its hint is shown once, it stays in the table sinking, and play goes on (no hint per step).
TEST_F(DestroyTest, FoundItemWreckIsFoundOnceThroughTheUnitUpdate) {
  UseGameFolder("found_once");
  WriteGameFile("gdata/ata/hints/Get3.txt", "x\n");
  for (int32_t k : {kind::kMonitor, kind::kItemWreck22, kind::kItemWreck37, kind::kItemWreck50}) {
    SCOPED_TRACE(k);
    ASSERT_EQ(w.kindTable[k].kindClass, unit_class::kShipSunkAtOnce);
    host.hints.clear();
    UnitRecord& u = Enemy(2, k, 100.0, 110.0);
    u.acceleration = 3.7f;
    u.life = 0.0f;
    u.destroyed = 1;  // a stale mark from the level file does not hide the find
    for (int step = 0; step < 3000; ++step) UpdateUnits(w, host);  // the floor lies 5 down
    EXPECT_LT(+u.posY, -5.0);
    EXPECT_EQ(host.hints.size(), 1u);
    EXPECT_EQ(+u.alive, 1);
    EXPECT_EQ(+u.sinking, 1);
  }
}

TEST_F(DestroyTest, FoundItemNumberFromAHostileRecordIsADecimalNumber) {
  UseGameFolder("found_hostile");
  WriteGameFile("gdata/ata/hints/Get-2147483648.txt", "x\n");
  UnitRecord& u = Enemy(2, kind::kMonitor, 100.0, 110.0);
  u.acceleration = -1e30f;
  DestroyUnit(w, host, 2);
  ASSERT_EQ(host.hints.size(), 1u);
  EXPECT_EQ(host.hints[0].first, w.appPath + "gdata\\ata\\hints\\Get-2147483648.txt");
}

}  // namespace
}  // namespace skerrow::test
