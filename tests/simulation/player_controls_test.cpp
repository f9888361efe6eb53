// Player controls: keyboard copy and latch, the Up and Down key sounds, the sinking lock-out,
// and both mouse steering rules.
#include "simulation/player_controls.h"

#include <cmath>
#include <numbers>

#include "platform/vk_codes.h"
#include "sim_fixture.h"

namespace skerrow::test {
namespace {

class ControlsTest : public SimTest {
 protected:
  // Places the mouse point at distance `dist` along heading `phi` from the player.
  void MouseAt(double phi, double dist) {
    w.mouseWorldPos = {P().posX - dist * std::sin(phi), P().posY, P().posZ - dist * std::cos(phi),
                       0.0};
  }
};

TEST_F(ControlsTest, KeysSetControlsAndTheLatchKeepsLastStep) {
  host.keysDown = {kVkLeft, kVkUp, 'W', 'Z', 'X'};
  P().ctlSpare8 = 7;
  UpdatePlayerControls(w, host);
  EXPECT_EQ(host.refreshes, 1);
  EXPECT_EQ(+P().ctlTurnLeft, 1);
  EXPECT_EQ(+P().ctlTurnRight, 0);
  EXPECT_EQ(+P().ctlForward, 1);
  EXPECT_EQ(+P().ctlMainGun, 1);
  EXPECT_EQ(+P().ctlWeaponZ, 1);
  EXPECT_EQ(+P().ctlWeaponX, 1);
  EXPECT_EQ(+P().ctlSpare8, 7);  // spare bytes are not keys
  host.keysDown = {kVkDown, 'A', 'D', 'S'};
  UpdatePlayerControls(w, host);
  EXPECT_EQ(+P().ctlPrevious[kCtlMainGun], 1);  // a release the weapons will see
  EXPECT_EQ(+P().ctlMainGun, 0);
  EXPECT_EQ(+P().ctlPrevious[kCtlSpare8], 7);
  EXPECT_EQ(+P().ctlBack, 1);
  EXPECT_EQ(+P().ctlSideLeft, 1);
  EXPECT_EQ(+P().ctlSideRight, 1);
  EXPECT_EQ(+P().ctlWeaponS, 1);
}

TEST_F(ControlsTest, UpKeySoundComesOneStepLateAndOnce) {
  host.keysDown = {kVkUp};
  UpdatePlayerControls(w, host);  // the key is read here
  EXPECT_EQ(host.CountSound(6), 0);
  UpdatePlayerControls(w, host);  // the press is seen against the copy
  EXPECT_EQ(host.CountSound(6), 1);
  for (int k = 0; k < 5; ++k) UpdatePlayerControls(w, host);
  EXPECT_EQ(host.CountSound(6), 1);
  host.keysDown = {kVkDown};
  UpdatePlayerControls(w, host);
  UpdatePlayerControls(w, host);
  EXPECT_EQ(host.CountSound(7), 1);
  EXPECT_EQ(host.sounds.back().x, +P().posX);
}

TEST_F(ControlsTest, SinkingShipIgnoresKeysAndSeesNoGunRelease) {
  host.keysDown = {kVkUp, 'W', 'A'};
  UpdatePlayerControls(w, host);
  UpdatePlayerControls(w, host);  // latched: a release would now be seen
  P().ctlWeaponS = 1;
  P().ctlPrevious[kCtlWeaponS] = 1;
  P().sinking = 1;
  UpdatePlayerControls(w, host);
  EXPECT_EQ(+P().ctlForward, 0);
  EXPECT_EQ(+P().ctlMainGun, 0);
  EXPECT_EQ(+P().ctlPrevious[kCtlMainGun], 0);
  EXPECT_EQ(+P().ctlSideLeft, 0);
  EXPECT_EQ(+P().ctlPrevious[kCtlSideLeft], 1);  // kept, as the controls it does not touch
  EXPECT_EQ(+P().ctlWeaponS, 1);
  EXPECT_EQ(+P().ctlPrevious[kCtlWeaponS], 1);
}

TEST_F(ControlsTest, MouseButtonsNeedMouseSteering) {
  w.mouseLeftHeld = 1;
  w.mouseRightHeld = 1;
  MouseAt(P().rotY + 1.0, 5.0);
  UpdatePlayerControls(w, host);
  EXPECT_EQ(+P().ctlForward, 0);
  EXPECT_EQ(+P().ctlTurnLeft, 0);
  EXPECT_EQ(+P().ctlTurnRight, 0);
}

TEST_F(ControlsTest, LeftButtonSailsToThePoint) {
  constexpr double kDeg = std::numbers::pi / 180.0;
  w.mouseSteering = 1;
  w.mouseLeftHeld = 1;
  struct Case {
    double offsetDeg;  // target direction relative to the heading; + is to the left
    bool left;
  };
  // Straight ahead the unequal probes (+60 against -36) pick the right turn... unless the
  // left probe is the nearer one; tables of both sides and of the dead ahead case.
  for (Case c :
       {Case{90, true}, Case{30, true}, Case{-30, false}, Case{-90, false}, Case{180, true}}) {
    P().rotY = 0.4;
    P().turnRate = 1e-4f;
    MouseAt(P().rotY + c.offsetDeg * kDeg, 6.0);
    UpdatePlayerControls(w, host);
    EXPECT_EQ(+P().ctlForward, 1) << c.offsetDeg;
    EXPECT_EQ(+P().ctlTurnLeft, c.left ? 1 : 0) << c.offsetDeg;
    EXPECT_EQ(+P().ctlTurnRight, c.left ? 0 : 1) << c.offsetDeg;
    EXPECT_EQ(+P().turnRate, 1e-4f) << c.offsetDeg;  // off course: the turn rate stays
  }
  // Dead ahead: on course, the turn rate is stopped, and one turn control is still held.
  P().turnRate = 1e-4f;
  MouseAt(P().rotY, 6.0);
  UpdatePlayerControls(w, host);
  EXPECT_EQ(+P().turnRate, 0.0f);
  EXPECT_EQ(P().ctlTurnLeft + P().ctlTurnRight, 1);
  // d(h - 36) against d(h + 60): the -36 probe is nearer to a point ahead, so it turns right.
  EXPECT_EQ(+P().ctlTurnRight, 1);
}

TEST_F(ControlsTest, RightButtonTurnsOnTheSpotAndWinsOverTheLeft) {
  constexpr double kDeg = std::numbers::pi / 180.0;
  w.mouseSteering = 1;
  w.mouseRightHeld = 1;
  // A target 10 degrees to the right: the left rule (+60 / -36 probes) and the right rule
  // (symmetric +-36 probes) agree; 20 degrees left of a point just left of ahead differ.
  MouseAt(P().rotY - 10 * kDeg, 6.0);
  UpdatePlayerControls(w, host);
  EXPECT_EQ(+P().ctlForward, 0);  // turns on the spot
  EXPECT_EQ(+P().ctlTurnRight, 1);
  MouseAt(P().rotY + 5 * kDeg, 6.0);
  UpdatePlayerControls(w, host);
  EXPECT_EQ(+P().ctlTurnLeft, 1);  // symmetric probes: the nearer is the left one
  w.mouseLeftHeld = 1;
  UpdatePlayerControls(w, host);
  EXPECT_EQ(+P().ctlForward, 1);   // the left button still drives forward
  EXPECT_EQ(+P().ctlTurnLeft, 1);  // the right rule decides the turn
  w.mouseRightHeld = 0;
  UpdatePlayerControls(w, host);
  EXPECT_EQ(+P().ctlTurnRight, 1);  // the left rule alone turns right for the same point
}

TEST_F(ControlsTest, InvalidPlayerUnitIsIgnored) {
  for (int32_t bad : {0, -1, 256, 1 << 30}) {
    w.playerUnit = bad;
    UpdatePlayerControls(w, host);
  }
  EXPECT_EQ(host.refreshes, 4);
}

}  // namespace
}  // namespace skerrow::test
