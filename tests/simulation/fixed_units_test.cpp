// Fixed units: doors by key, switch and distance with their gate sound, the exit gate's edge,
// the linked gun's switch rule, emplacements that sink and are destroyed, floats that never die.
#include "simulation/fixed_units.h"

#include <limits>

#include "enemies/enemies_fixture.h"
#include "simulation/units.h"

namespace skerrow::test {
namespace {

class FixedUnitsTest : public EnemiesTest {
 protected:
  // The camera far away: no unit pushes the player's ship off the doors.
  FixedUnitsTest() { w.cameraPos = {500.0, 8.8, 500.0, 0.0}; }
  void Step() { UpdateUnits(w, host); }
  UnitRecord& Door(int32_t kind, double x, double z, double heading = 0.0) {
    UnitRecord& d = MakeShip(2, kind, x, z);
    d.rotY = heading;
    d.acceleration = 0.0f;  // shut
    d.sinkMotion = {x, 0.0, z, 0.0};
    return d;
  }
};

TEST_F(FixedUnitsTest, KeyDoorsOpenOnlyWithTheirKeyAndSoundOnceEachWay) {
  struct Case {
    int32_t kind;
    int key;  // index into keys
  };
  const Case cases[] = {{kind::kKeyGate1, 0},  {kind::kKeyGate1b, 0}, {kind::kKeyGate2, 1},
                        {kind::kKeyGate2b, 1}, {kind::kKeyGate3, 2},  {kind::kKeyGate3b, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    host.sounds.clear();
    w.keys[0] = w.keys[1] = w.keys[2] = 1;
    w.keys[c.key] = 0;
    UnitRecord& d = Door(c.kind, 100.0, 100.0);  // the player at distance 0
    for (int k = 0; k < 5; ++k) Step();
    EXPECT_EQ(+d.acceleration, 0.0f);  // the other two keys do not open it

    w.keys[c.key] = 1;
    for (int k = 0; k < 40; ++k) Step();
    EXPECT_EQ(+d.acceleration, kDoorOpen);
    EXPECT_NEAR(+d.posZ, 100.0 - 1.3, 1e-6);  // slid along its heading (-z)
    EXPECT_EQ(host.CountSound(sound::kGate), 1);

    w.keys[c.key] = 0;  // open and the player within 5: it stays
    Step();
    EXPECT_EQ(+d.acceleration, kDoorOpen);

    P().posX = 110.0;  // beyond 5: it closes to its home
    for (int k = 0; k < 60; ++k) Step();
    EXPECT_EQ(+d.acceleration, 0.0f);
    EXPECT_NEAR(+d.posZ, 100.0, 1e-6);
    EXPECT_EQ(host.CountSound(sound::kGate), 2);
    P().posX = 100.0;
  }
}

TEST_F(FixedUnitsTest, PlainGateOpensNearAndKeepsItsAmountBetweenThreeAndFive) {
  UnitRecord& d = Door(kind::kGate, 102.0, 100.0);
  Step();
  EXPECT_FLOAT_EQ(d.acceleration, 0.05f);
  d.sinkMotion.x = 104.0;  // keeps its amount between 3 and 5 from the player
  d.posX = 104.0;
  Step();
  EXPECT_FLOAT_EQ(d.acceleration, 0.05f);
  d.sinkMotion.x = 106.0;
  d.posX = 106.0;
  Step();
  EXPECT_FLOAT_EQ(d.acceleration, 0.02f);
}

TEST_F(FixedUnitsTest, ANewlyPlacedShutDoorTakesItsPositionAsHome) {
  UnitRecord& d = Door(kind::kGate, 110.0, 100.0);
  d.sinkMotion = {};
  Step();
  EXPECT_EQ(+d.sinkMotion.x, 110.0);
  EXPECT_EQ(+d.sinkMotion.z, 100.0);
  EXPECT_EQ(+d.posX, 110.0);
}

TEST_F(FixedUnitsTest, LockOpensWhileItsSwitchIsThrown) {
  UnitRecord& sw = MakeShip(3, kind::kSwitch, 150.0, 150.0);
  sw.maxReload = 1.0f;
  sw.reload = 0.0f;  // thrown by a hit
  UnitRecord& d = Door(kind::kLock, 120.0, 120.0);
  d.rotateSpeed = 3.9f;
  Step();
  EXPECT_FLOAT_EQ(d.acceleration, 0.07f);
  EXPECT_EQ(host.CountSound(sound::kGate), 1);
  sw.reload = 1.0f;
  Step();
  EXPECT_FLOAT_EQ(d.acceleration, 0.02f);
}

TEST_F(FixedUnitsTest, WallsNeverMove) {
  for (int32_t k : {kind::kFlameWallA, kind::kFlameWallB, 34, kind::kSwitch + 2, 38}) {
    w.kindTable[k].kindClass = unit_class::kDoor;  // the pack may give these kinds other classes
    UnitRecord& d = Door(k, 100.0, 100.0);
    d.posX = 100.5;  // away from its stored home: no placing either
    Step();
    EXPECT_EQ(+d.acceleration, 0.0f);
    EXPECT_EQ(+d.posX, 100.5);
    EXPECT_EQ(+d.lightLevel, 1.0);
  }
}

TEST_F(FixedUnitsTest, DestroyedExitGateOpensLevelSevenAcrossTheMinusXEdge) {
  UnitRecord& gate = MakeShip(2, kind::kExitMarker, 50.0, 50.0);
  gate.acceleration = 3.0f;
  gate.rotateSpeed = 7.9f;
  Step();
  EXPECT_EQ(+w.neighbourMinusX, 0);
  gate.life = 0.0f;
  Step();
  EXPECT_EQ(+gate.sinking, 1);
  EXPECT_EQ(+w.neighbourMinusX, 7);
  EXPECT_EQ(+w.neighbourPlusX, 0);
}

TEST_F(FixedUnitsTest, ArmedExitMarkerWritesItsEdgeEveryStep) {
  struct Case {
    float edge;
    int32_t SavedState::*neighbour;
  };
  const Case cases[] = {{1.5f, &SavedState::neighbourPlusX},
                        {2.0f, &SavedState::neighbourPlusZ},
                        {3.0f, &SavedState::neighbourMinusX},
                        {4.9f, &SavedState::neighbourMinusZ}};
  for (const Case& c : cases) {
    w.neighbourPlusX = w.neighbourPlusZ = w.neighbourMinusX = w.neighbourMinusZ = 0;
    UnitRecord& gate = MakeShip(2, kind::kExitMarker, 50.0, 50.0);
    gate.sinking = 1;
    gate.acceleration = c.edge;
    gate.rotateSpeed = 12.0f;
    Step();
    EXPECT_EQ(w.*(c.neighbour), 12) << c.edge;
  }
  for (float bad : {0.0f, 5.0f, -3.0f, std::numeric_limits<float>::quiet_NaN()}) {
    w.neighbourPlusX = w.neighbourPlusZ = w.neighbourMinusX = w.neighbourMinusZ = 0;
    UnitRecord& gate = MakeShip(2, kind::kExitMarker, 50.0, 50.0);
    gate.sinking = 1;
    gate.acceleration = bad;
    gate.rotateSpeed = 12.0f;
    Step();
    EXPECT_EQ(w.neighbourPlusX + w.neighbourPlusZ + w.neighbourMinusX + w.neighbourMinusZ, 0);
  }
}

TEST_F(FixedUnitsTest, LinkedSwitchMustBeAUnitOfKind35) {
  MakeShip(3, kind::kSwitch, 150.0, 150.0);
  MakeShip(4, kind::kGunboat, 150.0, 150.0);
  struct Case {
    float link;
    int32_t expected;
  };
  const Case cases[] = {{3.9f, 3},
                        {4.0f, 0},
                        {0.0f, 0},
                        {-3.0f, 0},
                        {256.0f, 0},
                        {1e30f, 0},
                        {std::numeric_limits<float>::quiet_NaN(), 0}};
  for (const Case& c : cases) {
    UnitRecord& gun = MakeShip(2, 5, 120.0, 120.0);
    gun.rotateSpeed = c.link;
    EXPECT_EQ(LinkedSwitch(w, 2), c.expected) << c.link;
  }
}

TEST_F(FixedUnitsTest, LinkedGunReloadsAndCannotBeDestroyed) {
  w.kindTable[5].kindClass = unit_class::kLinkedGun;
  UnitRecord& gun = MakeShip(2, 5, 120.0, 120.0);
  gun.reload = 0.0f;
  gun.reloadSpeed = 0.01f;
  gun.life = -5.0f;
  Step();
  EXPECT_EQ(+gun.life, 100000.0f);
  EXPECT_EQ(+gun.maxLife, 100000.0f);
  EXPECT_FLOAT_EQ(gun.reload, 0.4f);
  Step();
  Step();
  EXPECT_EQ(+gun.reload, 1.0f);  // held at maxReload
  EXPECT_EQ(+gun.sinking, 0);
}

TEST_F(FixedUnitsTest, LinkedGunFiresOncePerSwitchShot) {
  // A one-shell gun linked to switch 3; the switch refills in 10 steps, the gun in 50.
  w.kindTable[kind::kShoreBattery].kindClass = unit_class::kLinkedGun;
  UnitRecord& sw = MakeShip(3, kind::kSwitch, 150.0, 150.0);
  sw.maxReload = 1.0f;
  sw.reload = 1.0f;
  sw.reloadSpeed = 0.0025f;
  UnitRecord& gun = MakeShip(2, kind::kShoreBattery, 120.0, 120.0);
  gun.rotateSpeed = 3.0f;
  gun.acceleration = 1.0f;  // a fixed direction: no random draw
  gun.maxReload = 1.0f;
  gun.reload = 1.0f;
  gun.reloadSpeed = 0.0005f;
  const auto shots = [&] {
    int32_t n = 0;
    for (int32_t i = 1; i < kProjectileSlots; ++i) n += w.projectiles[i].active == 1;
    return n;
  };
  for (int k = 0; k < 5; ++k) Step();
  EXPECT_EQ(shots(), 0);  // the switch is at rest
  sw.reload = 0.0f;       // shot: thrown until it has reloaded
  for (int k = 0; k < 60; ++k) Step();
  EXPECT_EQ(shots(), 1);  // once, though the switch stayed thrown for ten steps
  sw.reload = 0.0f;
  Step();
  EXPECT_EQ(shots(), 2);  // the next shot, with the gun reloaded
}

TEST_F(FixedUnitsTest, EmplacementSinksThenIsDestroyedOnTheNextStep) {
  UnitRecord& fort = MakeShip(2, kind::kCoastalFort, 120.0, 120.0);
  fort.life = -1.0f;
  fort.ctlTurnLeft = 1;
  fort.rotateSpeed = 1e-4f;
  Step();
  EXPECT_EQ(+fort.sinking, 1);
  EXPECT_EQ(+fort.life, 0.0f);
  EXPECT_EQ(host.CountSound(sound::kSinking), 1);
  EXPECT_EQ(+fort.alive, 1);
  EXPECT_NE(+fort.rotY, 0.0);  // still turning that step
  Step();
  EXPECT_EQ(+fort.alive, 0);
}

TEST_F(FixedUnitsTest, FloatsBobAndNeverDie) {
  UnitRecord& chest = MakeShip(2, kind::kCoinChest, 120.0, 120.0);
  chest.life = -50.0f;
  Step();
  EXPECT_EQ(+chest.life, 100.0f);
  EXPECT_NEAR(+chest.pok, 40 * 0.0005, 1e-7);
  EXPECT_NEAR(+chest.rotateSpeed, 3.6e-6 + 40 * 0.0075, 1e-6);
  EXPECT_EQ(+chest.lightLevel, 1.0);
}

}  // namespace
}  // namespace skerrow::test
