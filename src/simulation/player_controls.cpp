// Keyboard and mouse steering of the player's unit.
#include "simulation/player_controls.h"

#include <cmath>

#include "platform/vk_codes.h"
#include "simulation/geometry.h"
#include "simulation/play_host.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr double k15Deg = 0.2617994;
constexpr double k36Deg = 0.6283185;
constexpr double k60Deg = 1.0471976;

// Key of each control byte (kCtl* order); 0 for the two spare bytes.
constexpr int kControlKeys[kControlCount] = {
    kVkLeft, kVkRight, kVkUp, kVkDown, 'S', 'W', 'A', 'D', 0, 'X', 0, 'Z',
};
static_assert(std::size(kControlKeys) == kControlCount);

// Distance from the probe point half a unit ahead along heading `phi` to the mouse point.
double Probe(const WorldState& w, const UnitRecord& p, double phi) {
  const Vector4d q = {p.posX - 0.5 * std::sin(phi), p.posY, p.posZ - 0.5 * std::cos(phi), 0.0};
  return Distance3(q, w.mouseWorldPos);
}

// Stops the built-up turn when the ship points at the mouse point, then turns toward it by
// comparing the right probe (h - 36 deg) with the left one (h + leftAngle).
void SteerToMouse(const WorldState& w, UnitRecord& p, double leftAngle) {
  const double h = p.rotY;
  const double ahead = Probe(w, p, h);
  if (Probe(w, p, h - k15Deg) > ahead && Probe(w, p, h + k15Deg) > ahead) {
    p.ctlTurnLeft = 0;
    p.ctlTurnRight = 0;
    p.turnRate = 0.0f;
  }
  if (Probe(w, p, h - k36Deg) >= Probe(w, p, h + leftAngle)) {
    p.ctlTurnLeft = 1;
    p.ctlTurnRight = 0;
  } else {
    p.ctlTurnLeft = 0;
    p.ctlTurnRight = 1;
  }
}

}  // namespace

void UpdatePlayerControls(WorldState& w, PlayHost& host) {
  host.RefreshKeyboard();
  UnitRecord* player = PlayerUnit(w);
  if (player == nullptr) return;
  UnitRecord& p = *player;
  auto prev = PreviousControls(p);
  auto ctl = Controls(p);

  if (p.sinking != 0) {
    p.ctlTurnLeft = p.ctlTurnRight = p.ctlForward = p.ctlBack = 0;
    p.ctlMainGun = p.ctlSideLeft = p.ctlSideRight = 0;
    prev[kCtlTurnLeft] = prev[kCtlTurnRight] = prev[kCtlForward] = prev[kCtlBack] = 0;
    prev[kCtlMainGun] = 0;
    return;
  }

  // Engine sounds: last step's controls against the copies latched the step before.
  if (prev[kCtlForward] == 0 && p.ctlForward == 1)
    host.PlaySound(sound::kEngineAhead, p.posX, p.posY, p.posZ);
  if (prev[kCtlBack] == 0 && p.ctlBack == 1)
    host.PlaySound(sound::kEngineAstern, p.posX, p.posY, p.posZ);

  for (int c = 0; c < kControlCount; ++c) prev[c] = ctl[c];
  for (int c = 0; c < kControlCount; ++c) {
    if (kControlKeys[c] != 0) ctl[c] = host.KeyDown(kControlKeys[c]) ? 1 : 0;
  }

  if (w.mouseSteering == 0) return;
  if (w.mouseLeftHeld == 1) {
    p.ctlForward = 1;
    SteerToMouse(w, p, k60Deg);
  }
  if (w.mouseRightHeld == 1) SteerToMouse(w, p, k36Deg);
}

}  // namespace skerrow
