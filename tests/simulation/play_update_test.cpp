// The play step: order and pause, hero level, status icons, fades and respawn, camera and
// water grid, and the level bounds with neighbour levels and settling steps.
#include "simulation/play_update.h"

#include <cmath>

#include "sim_fixture.h"
#include "simulation/units.h"

namespace skerrow::test {
namespace {

class PlayUpdateTest : public SimTest {
 protected:
  void Step() { PlayUpdate(w, host); }
};

TEST_F(PlayUpdateTest, OpenWindowPausesTheWorldButNotCameraSkyOrRespawn) {
  host.windowOpen = true;
  w.skyFogTarget = {0.5f, 0.5f, 0.5f, 0.0f};
  w.bonusTimer = 1.0;
  w.pickupFlash = 1.0;
  P().vel = {0.01, 0.0, 0.0, 0.0};
  P().alive = 0;
  P().sinking = 1;
  w.lives = 1;
  w.respawnY = -0.2;
  w.screenFade = 0.1;
  Step();
  EXPECT_EQ(+w.bonusTimer, 1.0);
  EXPECT_EQ(+w.pickupFlash, 1.0);
  EXPECT_EQ(+w.aiPhase, 0);
  EXPECT_EQ(host.refreshes, 0);
  EXPECT_GE(+w.screenFade, 0.5);
  EXPECT_GT(+w.skyFogColour.r, 0.0f);
  EXPECT_EQ(+w.skyFogColour.a, 1.0f);
  EXPECT_NEAR(+w.cameraPos.z, 100.0 - 9.7 - 1.9, 1e-12);  // the camera still follows
  // Respawned in place.
  EXPECT_EQ(+P().alive, 1);
  EXPECT_EQ(+P().sinking, 0);
  EXPECT_EQ(+P().posY, -0.2);
  EXPECT_EQ(+P().vel.x, 0.0);
  EXPECT_EQ(+w.lives, 0);
  EXPECT_EQ(+w.respawnProtection, 3.0);
  EXPECT_EQ(+P().posX, 100.0);  // nothing moved

  host.windowOpen = false;
  Step();
  EXPECT_EQ(host.refreshes, 1);
  EXPECT_EQ(+w.aiPhase, 1);  // behaviour and triggers run on this step
  Step();
  EXPECT_EQ(+w.aiPhase, 0);  // and not on this one
}

TEST_F(PlayUpdateTest, DeathWithoutLivesEntersTheLevelAfreshAndKind51ReturnsControl) {
  w.levelNumber = 6;
  w.respawnY = -0.1;
  P().alive = 0;
  P().sinking = 1;
  P().life = 0.0f;
  P().posY = -4.0;
  P().vel = {0.0, -0.002, 0.0, 0.0};
  w.lives = 0;
  // The level file places the ship; the kept record must arrive alive.
  UnitRecord seen{};
  host.onEnterLevel = [&](int32_t) {
    seen = P();
    P().posX = 50.0;
  };
  Step();
  EXPECT_EQ(host.levelsEntered, std::vector<int32_t>{6});
  EXPECT_EQ(+seen.alive, 1);
  EXPECT_EQ(+seen.sinking, 0);
  EXPECT_EQ(+seen.life, 100.0f);
  EXPECT_EQ(+seen.posY, -0.1);
  EXPECT_EQ(+seen.vel.y, 0.0);
  EXPECT_EQ(+w.lives, 3);
  EXPECT_EQ(+P().alive, 1);
  EXPECT_EQ(+P().posX, 50.0);
  EXPECT_EQ(host.dispatches + host.saves, 0);  // no settling steps, no save
  // Play goes on: a second death spends a life again.
  P().alive = 0;
  Step();
  EXPECT_EQ(+w.lives, 2);
  EXPECT_EQ(host.levelsEntered.size(), 1u);
  host.onEnterLevel = nullptr;
  MakeShip(1, 1, 100, 100);
  MakeShip(40, 51, 100, 100).alive = 0;
  w.playerUnit = 40;
  Step();
  EXPECT_EQ(+w.playerUnit, 1);
}

TEST_F(PlayUpdateTest, HeroLevelThresholdsAndTheCapAt99) {
  EXPECT_EQ(HeroLevelThreshold(1), 1000);
  EXPECT_EQ(HeroLevelThreshold(2), 2625);
  EXPECT_EQ(HeroLevelThreshold(3), 5500);
  EXPECT_EQ(HeroLevelThreshold(1 << 30), 2147483647);  // saturates, no overflow
  w.experience = 999;
  Step();
  EXPECT_EQ(+w.heroLevel, 1);
  w.experience = 1000;
  w.infoPanelOpen = 1;
  Step();
  EXPECT_EQ(+w.heroLevel, 2);
  EXPECT_EQ(+w.upgradePoints, 5);
  EXPECT_EQ(+w.upgradePanelOpen, 1);
  EXPECT_EQ(+w.infoPanelOpen, 0);
  // Two thresholds at once: one level per step.
  w.experience = 5500;
  Step();
  EXPECT_EQ(+w.heroLevel, 3);
  Step();
  EXPECT_EQ(+w.heroLevel, 4);
  Step();
  EXPECT_EQ(+w.heroLevel, 4);
  EXPECT_EQ(+w.upgradePoints, 15);
  w.heroLevel = 98;
  w.experience = 2'000'000'000;
  Step();
  EXPECT_EQ(+w.heroLevel, 99);
  EXPECT_EQ(+w.upgradePoints, 20);
  Step();
  EXPECT_EQ(+w.heroLevel, 99);
  EXPECT_EQ(+w.upgradePoints, 20);
}

TEST_F(PlayUpdateTest, StatusIconsCompactOneStepAtATimeWithoutDuplicates) {
  w.keys[0] = 1;
  w.keys[2] = 1;
  w.bonusTimer = 0.03;
  UpdateStatusIcons(w);
  EXPECT_EQ(+w.statusIcons[1], 1);
  EXPECT_EQ(+w.statusIcons[2], 13);
  EXPECT_EQ(+w.statusIcons[3], 15);
  w.respawnProtection = 1.0;
  UpdateStatusIcons(w);
  EXPECT_EQ(+w.statusIcons[4], 12);
  // The bonus runs out (0.03 - 0.02 - 0.02 < 0) and key 1 goes: their slots empty.
  w.keys[0] = 0;
  UpdateStatusIcons(w);
  EXPECT_EQ(+w.bonusTimer, 0.0);
  UpdateStatusIcons(w);
  // Slots are walked from 10 down: each icon moves one slot per step into a gap below it.
  w.statusIcons[1] = 0;
  w.statusIcons[2] = 2;
  w.statusIcons[3] = 0;
  w.statusIcons[4] = 3;
  w.statusIcons[5] = 0;
  w.statusIcons[6] = 0;
  w.respawnProtection = 0;
  w.keys[2] = 0;
  UpdateStatusIcons(w);
  EXPECT_EQ(+w.statusIcons[1], 2);
  EXPECT_EQ(+w.statusIcons[2], 0);
  EXPECT_EQ(+w.statusIcons[3], 3);
  UpdateStatusIcons(w);
  EXPECT_EQ(+w.statusIcons[2], 3);
  EXPECT_EQ(+w.statusIcons[3], 0);
  w.keys[2] = 1;
  for (int k = 0; k < 20; ++k) UpdateStatusIcons(w);
  int fifteen = 0;
  for (int32_t s = 1; s <= kStatusIconSlots; ++s) fifteen += w.statusIcons[s] == 15;
  EXPECT_EQ(fifteen, 1);
  EXPECT_EQ(+w.bonuses[7].animFrame, std::fmod(26 * 0.5, 32.0));
}

TEST_F(PlayUpdateTest, CameraModesClampAndWaterGridFollows) {
  P().posX = 5.0;
  P().posZ = 5.0;
  UpdateCamera(w);
  EXPECT_EQ(+w.cameraPos.x, 15.0);
  EXPECT_EQ(+w.cameraPos.z, 0.0);
  EXPECT_NEAR(+w.cameraRot.x, -std::numbers::pi / 4 * 0.22, 1e-12);
  w.cameraNumber = 3;
  UpdateCamera(w);
  EXPECT_EQ(+w.cameraTargetRot.y, 89.0);
  w.cameraNumber = 7;
  w.cameraPos = {1, 2, 3, 4};
  UpdateCamera(w);
  EXPECT_EQ(+w.cameraPos.x, 1.0);

  // The water origin follows the camera in whole cells, 25 per step at most.
  w.cameraNumber = 1;
  P().posX = 100.0;
  P().posZ = 100.0;
  Step();
  const double dx = w.cameraPos.x - w.waterOriginX;
  EXPECT_EQ(+w.waterShiftX, -25);
  EXPECT_NEAR(+w.waterOriginX, 25 * 1.38 - 40 * 1e-5, 1e-9);
  EXPECT_GT(dx, 1.38);
  for (int k = 0; k < 40; ++k) Step();
  EXPECT_LE(std::fabs(w.cameraPos.x - w.waterOriginX), 1.38 + 1e-3);
  EXPECT_LE(std::fabs(w.cameraPos.z + 14 - w.waterOriginZ), 0.1545 + 1e-3);
}

TEST_F(PlayUpdateTest, EdgeBandEntersTheNeighbourAt15Not15001) {
  struct Case {
    double x, z;
    int32_t expected;  // level entered, 0 none
  };
  w.neighbourMinusX = 11;
  w.neighbourMinusZ = 12;
  w.neighbourPlusX = 13;
  w.neighbourPlusZ = 0;
  for (Case c :
       {Case{15.0, 100, 11}, Case{15.001, 100, 0}, Case{100, 15.0, 12}, Case{185.0, 100, 13},
        Case{184.999, 100, 0}, Case{100, 190, 0}, Case{3.0, 100, 11}}) {
    host.levelsEntered.clear();
    host.dispatches = host.saves = 0;
    P().posX = c.x;
    P().posZ = c.z;
    ApplyLevelBounds(w, host);
    if (c.expected == 0) {
      EXPECT_TRUE(host.levelsEntered.empty()) << c.x << "," << c.z;
    } else {
      EXPECT_EQ(host.levelsEntered, std::vector<int32_t>{c.expected}) << c.x << "," << c.z;
      EXPECT_EQ(host.dispatches, 16);
      EXPECT_EQ(host.saves, 1);
    }
  }
  EXPECT_EQ(+P().posX, 12.0);  // clamped 12 inside the edge
  P().posZ = 400.0;
  w.neighbourMinusX = 0;
  ApplyLevelBounds(w, host);
  EXPECT_EQ(+P().posZ, 188.0);
}

TEST_F(PlayUpdateTest, LevelChangeThatLeavesPlaySkipsSettlingAndLaterEdgesChangeNothing) {
  w.neighbourMinusX = 500;
  w.neighbourMinusZ = 7;
  P().posX = 14.0;
  P().posZ = 14.0;
  host.onEnterLevel = [this](int32_t level) {
    if (level == 500) w.GameMode = 1;
  };
  ApplyLevelBounds(w, host);
  EXPECT_EQ(host.levelsEntered, std::vector<int32_t>{500});
  EXPECT_EQ(host.dispatches, 0);
  EXPECT_EQ(host.saves, 0);
  // Staying in play: a corner of two linked edges still enters one level, the first edge's.
  w.GameMode = 2;
  host.levelsEntered.clear();
  host.onEnterLevel = nullptr;
  w.neighbourMinusX = 8;
  P().posX = 14.0;
  P().posZ = 14.0;
  Step();
  EXPECT_EQ(host.levelsEntered, std::vector<int32_t>{8});
  EXPECT_EQ(host.dispatches, 16);
  EXPECT_EQ(host.saves, 1);
  // The next step may change level again.
  Step();
  EXPECT_EQ(host.levelsEntered, (std::vector<int32_t>{8, 8}));
}

TEST_F(PlayUpdateTest, NeighboursThatHandTheShipBackAndForthLoadOneLevelPerStep) {
  w.neighbourMinusX = 3;
  w.neighbourPlusX = 4;
  P().posX = 14.0;
  // Each level places the ship in the band of the edge that leads back: every settling step
  // would cross again.
  host.onDispatch = [this] { PlayUpdate(w, host); };
  host.onEnterLevel = [this](int32_t level) {
    P().posX = level == 3 ? 186.0 : 14.0;
    w.neighbourMinusX = 3;
    w.neighbourPlusX = 4;
  };
  Step();
  EXPECT_EQ(host.levelsEntered, std::vector<int32_t>{3});
  EXPECT_EQ(host.dispatches, 16);  // the settling steps ran, none of them loaded
  EXPECT_EQ(host.saves, 1);
  host.onDispatch = nullptr;
  Step();
  EXPECT_EQ(host.levelsEntered, (std::vector<int32_t>{3, 4}));
  // A bounds pass of its own (outside a step) has the same allowance.
  host.levelsEntered.clear();
  host.onDispatch = [this] { PlayUpdate(w, host); };
  ApplyLevelBounds(w, host);
  EXPECT_EQ(host.levelsEntered, std::vector<int32_t>{3});
}

TEST_F(PlayUpdateTest, FadesTimersPhasesAndInvalidPlayer) {
  P().sinking = 1;
  Step();
  EXPECT_NEAR(+w.screenFade, 40 * 3.9e-4, 1e-15);
  P().sinking = 0;
  w.darknessOn = 1;
  w.radarContacts = 1;
  w.lastLagCount = 40;
  for (int k = 0; k < 500; ++k) Step();
  EXPECT_EQ(+w.screenFade, 0.0);
  EXPECT_EQ(+w.darkness, 1.0);
  EXPECT_EQ(+w.radarAlpha, 1.0);
  EXPECT_LT(+w.terrainAnimPhase, 32.0);
  EXPECT_LT(+w.wavePhase, 2 * std::numbers::pi);
  EXPECT_LT(+w.hudAnimFrame, 32.0);
  EXPECT_NEAR(+w.pickupFlashLevel, -10.0, 1e-6);
  for (int32_t bad : {0, -5, 256, 70000}) {
    w.playerUnit = bad;
    Step();
  }
}

}  // namespace
}  // namespace skerrow::test
