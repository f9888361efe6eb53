// Unit update: drag, turn-rate limit, thrust, speed bonus, unit push, land push, sinking and
// destruction by class, hover name, and units whose kind is outside the kind table.
#include "simulation/units.h"

#include <cmath>
#include <limits>

#include "sim_fixture.h"
#include "simulation/geometry.h"

namespace skerrow::test {
namespace {

class UnitsTest : public SimTest {
 protected:
  void Step() { UpdateUnits(w, host); }
  // Slots of units that were placed (a kind) and have been destroyed (alive 0).
  std::vector<int32_t> Destroyed() const {
    std::vector<int32_t> out;
    for (int32_t i = 1; i < kUnitSlots; ++i)
      if (w.units[i].unitKind != 0 && w.units[i].alive == 0) out.push_back(i);
    return out;
  }
};

TEST_F(UnitsTest, DragAtGameSpeed40AndMove) {
  P().vel = {0.01, 0.0, -0.02, 0.0};
  Step();
  EXPECT_NEAR(+P().vel.x, 0.01 * 0.918, 1e-15);
  EXPECT_NEAR(+P().vel.z, -0.02 * 0.918, 1e-15);
  EXPECT_NEAR(+P().posX, 100.0 + 40 * 0.01 * 0.918, 1e-12);
  EXPECT_NEAR(+P().posZ, 100.0 - 40 * 0.02 * 0.918, 1e-12);
  // No control held: the ship slows geometrically and never quite stops.
  for (int k = 0; k < 50; ++k) Step();
  EXPECT_NEAR(+P().vel.x, 0.01 * std::pow(0.918, 51), 1e-15);
  EXPECT_GT(+P().vel.x, 0.0);
}

TEST_F(UnitsTest, TurnRateApproachesItsLimitAndHeelFollows) {
  P().ctlTurnLeft = 1;
  for (int k = 0; k < 3000; ++k) Step();
  const double limit = std::sqrt(40.0) * 3.6e-6 * 0.97 / 0.03;
  EXPECT_NEAR(+P().turnRate, limit, limit * 1e-4);
  EXPECT_NEAR(+P().heel, limit * 30.0, limit * 30.0 * 1e-3);
  P().ctlTurnLeft = 0;
  P().ctlTurnRight = 1;
  for (int k = 0; k < 3000; ++k) Step();
  EXPECT_NEAR(+P().turnRate, -limit, limit * 1e-4);
}

TEST_F(UnitsTest, ThrustSetsWakeAndSpeedBonusDoublesTheDistanceOnly) {
  P().rotY = 0.0;  // forward is -z
  P().ctlForward = 1;
  Step();
  EXPECT_EQ(+w.wakeDirection, -3);
  const double v = -static_cast<double>(1.4e-6f) * 40 * (0.998 - 40 / 500.0);
  EXPECT_NEAR(+P().vel.z, v, 1e-15);
  EXPECT_NEAR(+P().posZ, 100.0 + 40 * v, 1e-12);
  int wakes = 0;
  for (int32_t i = 1; i <= kParticleSlots; ++i)
    if (w.particles[i].active == 1 && w.particles[i].kind == 8) ++wakes;
  EXPECT_EQ(wakes, 1);

  // Same again with the speed bonus: equal velocity, twice the distance.
  MakeShip(1, 1, 100.0, 100.0).ctlForward = 1;
  w.bonusTimer = 1.0;
  Step();
  EXPECT_NEAR(+P().vel.z, v, 1e-15);
  EXPECT_NEAR(+P().posZ, 100.0 + 2 * 40 * v, 1e-12);
  P().ctlForward = 0;
  P().ctlBack = 1;
  Step();
  EXPECT_EQ(+w.wakeDirection, 2);
}

TEST_F(UnitsTest, UnitPushEqualAndUnequalMasses) {
  struct Case {
    float massI, massJ;
    double share;  // of 1.1 |d| that unit i moves
  };
  for (Case c : {Case{1, 1, 0.5}, Case{1000, 1, 1.0 / 1001}, Case{1, 1000, 1000.0 / 1001},
                 Case{0, 0, 0.5}}) {
    UnitRecord& i = MakeShip(5, 10, 50.0, 60.0);
    UnitRecord& j = MakeShip(6, 10, 50.6, 60.8);
    i.mass = c.massI;
    j.mass = c.massJ;
    const double before = Distance3(UnitPos(i), UnitPos(j));
    const double d = before - 0.7 * 2.0;
    ASSERT_LT(d, 0.0);
    PushUnit(w, 5);
    EXPECT_NEAR(Distance3(UnitPos(i), UnitPos(j)), before + c.share * 1.1 * -d, 1e-9)
        << c.massI << "/" << c.massJ;
    EXPECT_EQ(+j.posX, 50.6);  // only i moves
  }
  // Same z, same x: the push still separates the units along the axis.
  UnitRecord& a = MakeShip(5, 10, 50.0, 60.0);
  MakeShip(6, 10, 50.5, 60.0);
  PushUnit(w, 5);
  EXPECT_LT(+a.posX, 50.0);
  EXPECT_EQ(+a.posZ, 60.0);
  UnitRecord& b = MakeShip(5, 10, 50.0, 60.0);
  MakeShip(6, 10, 50.0, 59.5);
  PushUnit(w, 5);
  EXPECT_GT(+b.posZ, 60.0);
  // Kind 133 is never an obstacle; dead units neither.
  UnitRecord& c = MakeShip(5, 10, 50.0, 60.0);
  MakeShip(6, 133, 50.5, 60.5);
  MakeShip(7, 10, 50.2, 60.2).alive = 0;
  PushUnit(w, 5);
  EXPECT_EQ(+c.posX, 50.0);
  EXPECT_EQ(+c.posZ, 60.0);
}

TEST_F(UnitsTest, LandPushOnlyForMovingShipsAndAwayFromLand) {
  for (auto& row : w.islandHeights[1])
    for (int32_t& c : row) c = 200;
  StaticRecord& s = w.statics[1];
  s.alive = 1;
  s.terrainKind = 1;
  s.posX = 100.0 + 5.3;  // land begins 0.3 east of the ship
  s.posZ = 100.0;
  P().rotY = std::numbers::pi / 2;  // broadside to the land: probes reach +-0.5 along x
  P().vel = {0.0, 0.0, 0.0, 0.0};
  Step();
  EXPECT_EQ(+P().vel.x, 0.0);  // stationary: not pushed
  P().vel = {1e-5, 0.0, 1e-5, 0.0};
  Step();
  EXPECT_LT(+P().vel.x, 1e-5 * 0.918);  // pushed west, away from the land
  EXPECT_NEAR(+P().vel.z, 1e-5 * 0.918, 1e-18);
}

// A ship heading exactly along an axis (vel.x or vel.z exactly 0, as every level starts the
// hero at heading 0) is pushed off land like any moving ship: with the forward control held
// toward an island it never reaches the island's middle, from any of the four sides.
TEST_F(UnitsTest, AShipHeadingAlongAnAxisDoesNotSailThroughAnIsland) {
  for (auto& row : w.islandHeights[1])
    for (int32_t& c : row) c = 200;
  StaticRecord& s = w.statics[1];
  s.alive = 1;
  s.terrainKind = 1;
  s.posX = 100.0;
  s.posZ = 100.0;
  ASSERT_GT(IsLandAt(w, 100.0, 100.0), 0.0);
  const double kHalfPi = std::numbers::pi / 2;
  const struct {
    double x, z, heading;  // forward is (-sin heading, -cos heading)
  } kApproaches[] = {
      {100.0, 115.0, 0.0}, {100.0, 85.0, 2 * kHalfPi}, {115.0, 100.0, kHalfPi},
      {85.0, 100.0, -kHalfPi}};
  for (const auto& c : kApproaches) {
    SCOPED_TRACE(c.heading);
    UnitRecord& u = MakeShip(1, 1, c.x, c.z);
    u.rotY = c.heading;
    u.ctlForward = 1;
    double nearest = 1e9;
    for (int step = 0; step < 1000; ++step) {
      u.ctlForward = 1;
      Step();
      nearest = std::fmin(nearest, std::hypot(u.posX - 100.0, u.posZ - 100.0));
    }
    EXPECT_GT(nearest, 3.0);
    EXPECT_EQ(IsLandAt(w, u.posX, u.posZ), 0.0);
  }
}

// One step of land push on a ship whose +x probe is on land and -x probe on water: the push
// sin(10 * 0.49 / (pi (r + 0.0007))) 1e-4 per unit game speed, times 0.25 for the player on
// every step, 0.7 for other ships on even steps only; then drag.
TEST_F(UnitsTest, LandPushRateByRadiusAndFactorByUnitAndPhase) {
  for (auto& row : w.islandHeights[1])
    for (int32_t& c : row) c = 200;
  for (int32_t k : {1, 2}) {
    StaticRecord& s = w.statics[k];
    s.alive = 1;
    s.terrainKind = 1;
    s.posX = (k == 1 ? 100.0 : 60.0) + 5.3;  // land begins 0.3 east of each ship
    s.posZ = k == 1 ? 100.0 : 60.0;
  }
  struct Case {
    int32_t unit;
    float radius;
    uint8_t aiPhase;
    double push;  // expected one-step change of vel.x before drag
  };
  const Case cases[] = {
      {1, 1.0f, 0, -9.999259595619603e-05 * 40 * 0.25},
      {1, 1.0f, 1, -9.999259595619603e-05 * 40 * 0.25},
      {2, 2.0f, 0, -7.029853009799696e-05 * 40 * 0.7},
      {2, 2.0f, 1, 0.0},
  };
  for (const Case& c : cases) {
    MakeShip(1, 1, 100.0, 100.0);
    MakeShip(2, 10, 60.0, 60.0);
    UnitRecord& u = w.units[c.unit];
    u.radius = c.radius;
    u.rotY = std::numbers::pi / 2;  // broadside: the probes reach r/2 along x
    u.vel = {1e-5, 0.0, 1e-5, 0.0};
    w.aiPhase = c.aiPhase;
    UpdateUnits(w, host);
    EXPECT_NEAR(+u.vel.x, (1e-5 + c.push) * 0.918, 1e-17) << c.unit << " phase " << +c.aiPhase;
    EXPECT_NEAR(+u.vel.z, 1e-5 * 0.918, 1e-18) << c.unit;
  }
}

// The first sinking step by class and kind: ships sink at 5.7e-5 per unit game speed (then
// drag) and ease heel and tilt toward their sink pose; small craft sink at their kind's rate.
TEST_F(UnitsTest, SinkingRatesByClassAndKind) {
  struct Case {
    int32_t kind;
    int32_t kindClass;
    double velY;
  };
  const Case cases[] = {
      {1, 1, -40 * 5.7e-5 * 0.918}, {10, 5, -40 * 5.7e-5 * 0.918},
      {6, 2, -40 * 2.8e-5},         {9, 2, -40 * 2.8e-5},
      {17, 2, -40 * 7.8e-5},        {18, 2, -40 * 7.8e-5},
      {25, 2, -40 * 7.8e-5},        {51, 2, -40 * 7.8e-5},
      {46, 2, -40 * 5.8e-5},        {7, 2, 0.0},
  };
  for (const Case& c : cases) {
    w.kindTable[c.kind].kindClass = c.kindClass;
    UnitRecord& u = MakeShip(5, c.kind, 60.0, 60.0);
    u.sinking = 1;
    u.sinkMotion = {50.0, 0.0, -50.0, 1.0};
    UpdateUnits(w, host);
    EXPECT_NEAR(+u.vel.y, c.velY, 1e-18) << "kind " << c.kind;
    EXPECT_NEAR(+u.posY, 40 * c.velY, 1e-15) << "kind " << c.kind;
    if (c.kindClass == 2) {
      EXPECT_EQ(+u.heel, 40.0) << "kind " << c.kind;  // + game speed x the heel rate
      EXPECT_EQ(+u.rotX, 2000.0) << "kind " << c.kind;
    } else {
      EXPECT_NEAR(+u.heel, 40 * 3e-4, 1e-15) << "kind " << c.kind;
      EXPECT_NEAR(+u.rotX, 40 * 0.009, 1e-15) << "kind " << c.kind;
      EXPECT_NEAR(+u.rotZ, -40 * 0.009, 1e-15) << "kind " << c.kind;
    }
  }
}

TEST_F(UnitsTest, ShipSinksAndIsDestroyedOnTheFloor) {
  P().life = -3.0f;
  P().posY = 0.0;
  Step();
  EXPECT_EQ(+P().sinking, 1);
  EXPECT_EQ(+P().life, 0.0f);
  EXPECT_EQ(+w.respawnY, 0.0);
  EXPECT_EQ(host.CountSound(5), 1);
  EXPECT_GE(+P().sinkMotion.x, -90.0);
  EXPECT_LT(+P().sinkMotion.x, 90.0);
  // The map floor lies 5 below the water: it sinks until it reaches it.
  int steps = 0;
  while (P().alive == 1 && steps < 10000) {
    Step();
    ++steps;
  }
  EXPECT_EQ(Destroyed(), std::vector<int32_t>{1});
  EXPECT_LT(+P().posY, -4.9);
  EXPECT_GT(steps, 40);

  // A class 4 ship is destroyed on its first sinking step; a sinking enemy of kind 12 too.
  w.kindTable[12].kindClass = 5;
  MakeShip(7, 4, 60.0, 60.0).life = 0.0f;
  MakeShip(8, 12, 70.0, 60.0).life = 0.0f;
  Step();
  EXPECT_EQ(Destroyed().size(), 1u);
  Step();
  EXPECT_EQ(Destroyed(), (std::vector<int32_t>{1, 7, 8}));
}

TEST_F(UnitsTest, SmallCraftUnderAnIslandIsDestroyedOnItsFirstSinkingStep) {
  for (auto& row : w.islandHeights[1])
    for (int32_t& c : row) c = 100;
  StaticRecord& s = w.statics[1];
  s.alive = 1;
  s.terrainKind = 1;
  s.posX = 60.0;
  s.posZ = 60.0;
  UnitRecord& u = MakeShip(9, 6, 60.0, 60.0);
  u.life = 0.0f;
  w.unitAlerted[9] = 1;
  Step();  // starts sinking: sound 10
  EXPECT_EQ(+u.sinking, 1);
  EXPECT_EQ(host.CountSound(10), 1);
  EXPECT_EQ(+u.lightLevel, 1.0);
  EXPECT_TRUE(Destroyed().empty());
  EXPECT_EQ(+w.unitAlerted[9], 1);
  Step();
  EXPECT_EQ(Destroyed(), std::vector<int32_t>{9});
  EXPECT_EQ(+u.sinking, 1);
  EXPECT_EQ(+w.unitAlerted[9], 0);  // destruction clears the alert
}

TEST_F(UnitsTest, HoverNameAndDamagedUnits) {
  w.kindTable[10].kindName.Set("Frigate");
  MakeShip(20, 10, 30.0, 30.0).radius = 2.0f;
  w.mouseWorldPos = {31.0, 0.0, 31.0, 0.0};
  Step();
  EXPECT_EQ(w.hoverName, "Frigate");
  w.mouseWorldPos = {0.0, 0.0, 0.0, 0.0};
  Step();
  EXPECT_EQ(w.hoverName, "");
  // Kinds outside the table, NaN positions and masses: skipped or harmless.
  MakeShip(21, -4, 30.0, 30.0);
  MakeShip(22, 1 << 20, 30.0, 30.0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  UnitRecord& bad = MakeShip(23, 10, nan, nan);
  bad.mass = std::numeric_limits<float>::quiet_NaN();
  bad.pok = std::numeric_limits<float>::infinity();
  w.editorPlanes = 1;
  for (int k = 0; k < 3; ++k) Step();
  EXPECT_EQ(+w.units[21].posX, 30.0);
  EXPECT_EQ(+w.units[22].posX, 30.0);
}

}  // namespace
}  // namespace skerrow::test

namespace skerrow::test {
namespace {

// The firing rule by weapon: which control and latch fire it, which reload gates it, and which
// unlock flag the player's full ship needs. Each row starts from a unit whose every weapon
// would fire (all released, reloads full, all flags set) and changes one thing.
TEST_F(UnitsTest, FiringRuleByWeaponControlReloadAndUnlockFlag) {
  struct Weapon_ {
    Weapon weapon;
    int ctl;
    bool mainReload;  // gated by reload (else by sideReload); X by neither
    uint8_t WorldState::*flag;
    const char* name;
  };
  const Weapon_ weapons[] = {
      {Weapon::kMainGun, kCtlMainGun, true, &WorldState::gunsUnlocked, "main gun"},
      {Weapon::kWeaponX, kCtlWeaponX, true, &WorldState::weaponXUnlocked, "X"},
      {Weapon::kWeaponZ, kCtlWeaponZ, false, &WorldState::weaponZUnlocked, "Z"},
      {Weapon::kWeaponS, kCtlWeaponS, true, &WorldState::weaponSUnlocked, "S"},
      {Weapon::kSideLeft, kCtlSideLeft, false, &WorldState::gunsUnlocked, "left"},
      {Weapon::kSideRight, kCtlSideRight, false, &WorldState::gunsUnlocked, "right"},
  };
  enum Change { kNone, kHeld, kNotLatched, kMainNotReady, kSideNotReady, kFlagOff };
  for (const Weapon_& wp : weapons) {
    const bool x = wp.weapon == Weapon::kWeaponX;
    for (const Change change :
         {kNone, kHeld, kNotLatched, kMainNotReady, kSideNotReady, kFlagOff}) {
      for (const bool needsUnlock : {true, false}) {
        UnitRecord u = P();
        w.gunsUnlocked = w.weaponXUnlocked = w.weaponZUnlocked = w.weaponSUnlocked = 1;
        u.maxReload = 10;
        u.reload = 10;
        u.maxSideReload = 5;
        u.sideReload = 5;
        // X fires while held; the others on the release after a latch.
        Controls(u)[wp.ctl] = x ? 1 : 0;
        PreviousControls(u)[wp.ctl] = 1;
        switch (change) {
          case kNone:
            break;
          case kHeld:  // control still down
            Controls(u)[wp.ctl] = x ? 0 : 1;
            break;
          case kNotLatched:
            PreviousControls(u)[wp.ctl] = 0;
            break;
          case kMainNotReady:
            u.reload = 9.999f;
            break;
          case kSideNotReady:
            u.sideReload = 4.999f;
            break;
          case kFlagOff:
            w.*wp.flag = 0;
            break;
        }
        bool expected = true;
        if (change == kHeld) expected = false;
        if (change == kNotLatched && !x) expected = false;
        if (change == kMainNotReady && !x && wp.mainReload) expected = false;
        if (change == kSideNotReady && !x && !wp.mainReload) expected = false;
        if (change == kFlagOff && needsUnlock) expected = false;
        EXPECT_EQ(WeaponFires(w, u, needsUnlock, wp.weapon), expected)
            << wp.name << ", change " << change << ", needsUnlock " << needsUnlock;
      }
    }
  }
}

}  // namespace
}  // namespace skerrow::test
