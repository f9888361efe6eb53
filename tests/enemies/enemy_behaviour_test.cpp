// Enemy behaviour: the controls each behaviour holds after one update, the alert distance and
// latch, the probe tie, the player-sinking stop, the coin cache, the boss music and the
// summoning boss.
#include "enemies/enemy_behaviour.h"

#include <cstring>

#include "enemies_fixture.h"
#include "simulation/geometry.h"

namespace skerrow::test {
namespace {

class BehaviourTest : public EnemiesTest {
 protected:
  BehaviourTest() {
    for (int32_t k = 0; k < kKindCount; ++k) w.kindTable[k].kindAlertRadius = 20.0f;  // 23.5
    w.kindTable[kind::kFrigate].kindStandoffMin = 4.0f;
    w.kindTable[kind::kFrigate].kindStandoffMax = 9.0f;
  }
  void Update() { UpdateEnemyBehaviour(w, host); }
};

// The controls as a string: turn Left/Right, Forward, Back, Main gun, side battery l(eft) and
// r(ight), weapon X; '-' for a released control.
std::string Held(const UnitRecord& u) {
  std::string s;
  s += u.ctlTurnLeft == 1 ? 'L' : '-';
  s += u.ctlTurnRight == 1 ? 'R' : '-';
  s += u.ctlForward == 1 ? 'F' : '-';
  s += u.ctlBack == 1 ? 'B' : '-';
  s += u.ctlMainGun == 1 ? 'M' : '-';
  s += u.ctlSideLeft == 1 ? 'l' : '-';
  s += u.ctlSideRight == 1 ? 'r' : '-';
  s += u.ctlWeaponX == 1 ? 'X' : '-';
  return s;
}

TEST_F(BehaviourTest, ControlsHeldAfterOneUpdate) {
  // The enemy sits `ahead` units to +z of the player, heading -z (toward it); the player is
  // 0.5 to +x, so the right-hand probe is the nearer one unless the row says otherwise.
  struct Case {
    const char* name;
    int32_t kind;
    double ahead;
    const char* held;
    uint8_t aliveAfter;
  };
  const Case cases[] = {
      {"gunboat, aim probe off the player", kind::kPatrolBoat, 3, "-RF-----", 1},
      {"gunboat, aim probe on the player", kind::kPatrolBoat, 10, "-RF-M---", 1},
      {"long gunboat, aim probe on the player", kind::kTorpedoBoat, 13, "-RF-M---", 1},
      {"rammer closing in", kind::kFireShip, 10, "-RF-----", 1},
      {"rammer at contact", kind::kFireShip, 2, "-R------", 0},
      {"steam ram at its own contact distance", kind::kSteamRam, 2.5, "-R------", 0},
      {"mine out of reach", kind::kSeaMine, 5, "--------", 1},
      {"mine at contact", kind::kSeaMine, 1.8, "--------", 0},
      {"bomber over the player", kind::kBomber, 2, "-R--M---", 1},
      {"bomber away from the player", kind::kBomber, 10, "-R------", 1},
      {"fort within 10", kind::kCoastalFort, 5, "-R--M---", 1},
      {"fort beyond 10", kind::kCoastalFort, 12, "-R------", 1},
      {"skirmisher approaching", kind::kGunboat, 10, "-RF-----", 1},
      {"skirmisher firing", kind::kGunboat, 4, "-R--M---", 1},
      {"skirmisher backing off", kind::kGunboat, 2, "-R-BM---", 1},
      {"skimmer backing off below 5", kind::kSkimmer, 4.5, "-R-BM---", 1},
      {"mortar boat approaching beyond 9", kind::kMortarBoat, 9.5, "-RF-----", 1},
      {"seaplane, forward battery on the player", kind::kSeaplane, 10, "-RF--l--", 1},
      {"seaplane firing and backing off", kind::kSeaplane, 5, "-R-BM---", 1},
      {"close-range attacker flaming", kind::kFlameWallA, 3, "-R-----X", 1},
      {"close-range attacker backing off", kind::kFlameWallB, 1.5, "-R-B---X", 1},
      {"close-range attacker approaching", kind::kFlameWallA, 5, "-RF-----", 1},
      {"broadside closing in", kind::kFrigate, 20, "-RF-----", 1},
      {"broadside turning abeam", kind::kFrigate, 6, "-R------", 1},
      {"broadside opening the distance", kind::kFrigate, 3, "L-F-----", 1},
      {"fixed battery: controls stay released", kind::kShoreBattery, 5, "--------", 1},
      {"a door has no behaviour", kind::kGate, 5, "--------", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    P().posX = 100.5;
    UnitRecord& e = Enemy(2, c.kind, 100.0, 100.0 + c.ahead);
    w.unitAlerted[2] = 0;
    Update();
    EXPECT_EQ(Held(e), c.held);
    EXPECT_EQ(+e.alive, c.aliveAfter);
  }
}

TEST_F(BehaviourTest, FixedBatteryFiresThroughItsLatchedCopyWhileInRange) {
  UnitRecord& e = Enemy(2, kind::kShoreBattery, 100.0, 105.0);
  for (int k = 0; k < 3; ++k) {
    Update();
    EXPECT_EQ(+e.ctlMainGun, 0);
    EXPECT_EQ(+e.ctlPrevious[kCtlMainGun], 1);  // a release on every update
  }
  e.posZ = 110.0;  // D = 10: out of range
  Update();
  EXPECT_EQ(+e.ctlPrevious[kCtlMainGun], 0);
}

TEST_F(BehaviourTest, FireControlsToggleSoTheGunChargesAndThenFires) {
  UnitRecord& e = Enemy(2, kind::kCoastalFort, 100.0, 105.0);
  Update();
  EXPECT_EQ(+e.ctlMainGun, 1);
  Update();
  EXPECT_EQ(+e.ctlMainGun, 0);
  EXPECT_EQ(+e.ctlPrevious[kCtlMainGun], 1);  // released: the unit update fires it
}

TEST_F(BehaviourTest, AlertDistanceIsExclusiveAndTheLatchHolds) {
  UnitRecord& e = Enemy(2, kind::kGunboat, 100.0, 123.5);  // exactly 20 + 3.5
  e.ctlForward = 1;
  e.ctlTurnLeft = 1;
  Update();
  EXPECT_EQ(+w.unitAlerted[2], 0);
  EXPECT_EQ(Held(e), "--------");
  EXPECT_EQ(+e.ctlPrevious[kCtlForward], 0);

  e.posZ = 123.49;
  Update();
  EXPECT_EQ(+w.unitAlerted[2], 1);
  EXPECT_EQ(+e.ctlForward, 1);

  e.posZ = 500.0;  // far away: still alerted, still coming
  Update();
  EXPECT_EQ(+w.unitAlerted[2], 1);
  EXPECT_EQ(+e.ctlForward, 1);
}

TEST_F(BehaviourTest, EqualProbeDistancesTurnLeft) {
  UnitRecord& e = Enemy(2, kind::kGunboat, 100.0, 110.0);  // the player dead ahead
  Update();
  EXPECT_EQ(+e.ctlTurnLeft, 1);
  EXPECT_EQ(+e.ctlTurnRight, 0);
  P().posX = 99.5;
  Update();
  EXPECT_EQ(+e.ctlTurnLeft, 1);
  P().posX = 100.5;
  Update();
  EXPECT_EQ(+e.ctlTurnLeft, 0);
  EXPECT_EQ(+e.ctlTurnRight, 1);
}

TEST_F(BehaviourTest, UnitsWithoutAiDeadOrOfLargeKindsAreLeftAlone) {
  struct Case {
    uint8_t haveAI, alive;
    int32_t kind;
  };
  const Case cases[] = {{0, 1, kind::kGunboat},
                        {1, 0, kind::kGunboat},
                        {1, 1, 49},
                        {1, 1, kind::kFighter},
                        {1, 1, -1},
                        {1, 1, 1000000}};
  for (const Case& c : cases) {
    UnitRecord& e = Enemy(2, c.kind, 100.0, 104.0);
    e.haveAI = c.haveAI;
    e.alive = c.alive;
    e.ctlForward = 1;
    e.ctlPrevious[kCtlMainGun] = 1;
    UnitRecord before = e;
    Update();
    EXPECT_EQ(std::memcmp(&before, &e, sizeof e), 0) << c.kind;
    EXPECT_EQ(+w.unitAlerted[2], 0);
  }
}

TEST_F(BehaviourTest, PlayerSinkingStopsTheAlertedButNotTheWandererOrTheCoinCache) {
  UnitRecord& gunboat = Enemy(2, kind::kGunboat, 100.0, 104.0);
  Update();
  ASSERT_EQ(+gunboat.ctlTurnLeft, 1);
  gunboat.ctlSideLeft = 1;
  gunboat.ctlPrevious[kCtlSideLeft] = 0;
  UnitRecord& wanderer = Enemy(3, kind::kSternWheeler, 150.0, 150.0);
  UnitRecord& chest = Enemy(4, kind::kCoinChest, 101.0, 100.0);
  P().sinking = 1;
  Update();
  EXPECT_EQ(Held(gunboat), "-----l--");
  EXPECT_EQ(+gunboat.ctlPrevious[kCtlTurnLeft], 0);
  EXPECT_EQ(+gunboat.ctlPrevious[kCtlSideLeft], 0);  // no latch
  EXPECT_EQ(+wanderer.ctlForward, 1);
  EXPECT_EQ(+chest.alive, 0);
}

TEST_F(BehaviourTest, WandererLoopsLeftWithoutAnAlert) {
  UnitRecord& e = Enemy(2, kind::kSternWheeler, 180.0, 180.0);
  int left = 0;
  for (int k = 0; k < 200; ++k) {
    Update();
    EXPECT_EQ(+e.ctlForward, 1);
    EXPECT_EQ(+e.ctlTurnRight, 0);
    left += e.ctlTurnLeft;
  }
  EXPECT_GT(left, 60);
  EXPECT_LT(left, 140);
  EXPECT_EQ(+w.unitAlerted[2], 0);
}

TEST_F(BehaviourTest, CoinCacheAtExactlyTwoWithNinetyFiveCoinsGivesALife) {
  w.coins = 95;
  w.lives = 2;
  UnitRecord& chest = Enemy(2, kind::kCoinChest, 100.0, 102.0);
  chest.ctlForward = 1;
  chest.ctlPrevious[kCtlForward] = 1;
  Update();
  EXPECT_EQ(+chest.alive, 0);
  EXPECT_EQ(+chest.ctlForward, 0);
  EXPECT_EQ(+chest.ctlPrevious[kCtlForward], 0);
  EXPECT_EQ(+w.lives, 3);
  EXPECT_GE(+w.coins, 5);  // 95 + 10..29 - 100
  EXPECT_LE(+w.coins, 24);
  EXPECT_EQ(+w.pickupFlash, 2.5);
  EXPECT_EQ(host.CountSound(sound::kCoin), 1);

  UnitRecord& far = Enemy(3, kind::kCoinChest, 100.0, 102.000001);
  Update();
  EXPECT_EQ(+far.alive, 1);
}

TEST_F(BehaviourTest, BossMusicStartsOnlyWhenTheDistanceAlertsTheBoss) {
  w.appPath = "/game/";
  UnitRecord& boss = Enemy(2, kind::kPirateFlagship, 100.0, 110.0);
  Update();
  Update();
  EXPECT_EQ(host.musicStops, 1);
  ASSERT_EQ(host.musicPlayed.size(), 1u);
  EXPECT_EQ(host.musicPlayed[0], "/game/GData\\Music\\\xC1\xEE\xF1\xF1.mp3");

  // A boss alerted first by an impact never starts the music.
  FakeHost quiet;
  w.unitAlerted[3] = 1;
  Enemy(3, kind::kIronclad, 100.0, 150.0);
  boss.alive = 0;
  UpdateEnemyBehaviour(w, quiet);
  w.units[3].posZ = 105.0;
  UpdateEnemyBehaviour(w, quiet);
  EXPECT_EQ(quiet.musicStops, 0);
  EXPECT_TRUE(quiet.musicPlayed.empty());
}

TEST_F(BehaviourTest, SlowBossesActOnAboutOneUpdateInFive) {
  UnitRecord& e = Enemy(2, kind::kIronclad, 100.0, 120.0);  // D > 6: full ahead once it acts
  int acted = 0;
  for (int k = 0; k < 500; ++k) {
    e.ctlForward = 0;
    Update();
    acted += e.ctlForward;
  }
  EXPECT_GT(acted, 70);
  EXPECT_LT(acted, 130);
}

class SummonTest : public BehaviourTest {
 protected:
  void WriteMinions(size_t bytes) {
    for (int32_t k : {kind::kSeaplane, kind::kSkimmer, kind::kAutogyro}) {
      UnitRecord u = {};
      u.alive = 1;
      u.unitKind = k;
      u.life = 30.0f;
      u.maxLife = 30.0f;
      u.posY = 0.25;
      std::string b(reinterpret_cast<const char*>(&u), sizeof u);
      WriteGameFile("gdata/parameters/unit" + std::to_string(k) + ".par", b.substr(0, bytes));
    }
  }
};

TEST_F(SummonTest, MinionTakesTheFirstFreeSlotFarFromThePlayer) {
  UseGameFolder("summon");
  WriteMinions(sizeof(UnitRecord));
  w.episode = 3;
  w.levelSize = 300;
  for (int32_t i = 2; i <= 9; ++i) Enemy(i, kind::kGunboat, 10.0, 10.0);
  const int32_t j = SummonMinion(w);
  ASSERT_EQ(j, 10);
  const UnitRecord& m = w.units[j];
  EXPECT_EQ(+m.alive, 1);
  EXPECT_TRUE(m.unitKind == kind::kSeaplane || m.unitKind == kind::kSkimmer ||
              m.unitKind == kind::kAutogyro);
  EXPECT_EQ(+m.life, 90.0f);
  EXPECT_EQ(+m.maxLife, 90.0f);
  EXPECT_EQ(+m.posY, 0.25);
  EXPECT_GE(Distance3(UnitPos(m), UnitPos(P())), 35.0);
  EXPECT_LE(+m.posX, 300.0);
}

TEST_F(SummonTest, NothingWhenSlotsOneTo150AreFullOrTheFileIsMissingOrShort) {
  UseGameFolder("summon_full");
  WriteMinions(sizeof(UnitRecord));
  for (int32_t i = 2; i <= 150; ++i) Enemy(i, kind::kGunboat, 10.0, 10.0);
  EXPECT_EQ(SummonMinion(w), 0);  // slot 151 is free but beyond the boss's range

  w.units[150].alive = 0;
  UseGameFolder("summon_short");
  WriteMinions(sizeof(UnitRecord) - 1);
  EXPECT_EQ(SummonMinion(w), 0);
  EXPECT_EQ(+w.units[150].alive, 0);
  EXPECT_EQ(+w.units[150].unitKind, kind::kGunboat);  // untouched, no half-filled unit

  UseGameFolder("summon_missing");
  EXPECT_EQ(SummonMinion(w), 0);
  EXPECT_EQ(+w.units[150].alive, 0);
}

TEST_F(SummonTest, ALevelTooSmallForTheDistanceStillEnds) {
  UseGameFolder("summon_small");
  WriteMinions(sizeof(UnitRecord));
  w.levelSize = 10;
  EXPECT_EQ(SummonMinion(w), 2);
}

}  // namespace
}  // namespace skerrow::test
