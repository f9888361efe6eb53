// Emplacements, exit gates, doors, linked guns and floats: the class branches of the unit
// update for units that never move by thrust.
#include "simulation/fixed_units.h"

#include <algorithm>
#include <cmath>

#include "enemies/destroy_unit.h"
#include "platform/numeric.h"
#include "platform/random.h"
#include "simulation/geometry.h"
#include "simulation/particles.h"
#include "simulation/play_host.h"
#include "simulation/unit_rules.h"
#include "simulation/weapons.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

// pok += |vel| sqrt(g) 0.5 + g rate, below 2 pi; rotX and rotZ untouched.
float AdvancePhase(const UnitRecord& u, float phase, double g, double rate) {
  return static_cast<float>(WrapTwoPi(phase + Speed(u) * std::sqrt(g) * 0.5 + g * rate));
}

// Class 6.
void UpdateEmplacement(WorldState& w, PlayHost& host, int32_t i) {
  UnitRecord& u = w.units[i];
  const double g = w.gameSpeed;
  if (u.sinking == 1) {
    DestroyUnit(w, host, i);
    return;
  }
  if (u.life <= 0.0f) StartShipSinking(w, host, u, false);  // destroyed on the next step
  FireWeapons(w, host, i, Ship::kEnemy);
  if (SharedRandom().Int(3) == 1 && (InVisibilityWindow(w, u.posX, u.posZ) || w.editorPlanes == 1))
    LightFromShade(w, u, g);
  Turn(u, g, false);
  ChargeAndReload(u, g, 1.0);
  u.pok = AdvancePhase(u, u.pok, g, 0.0045);
}

// The edge of an exit gate: 1 +x, 2 +z, 3 -x, 4 -z; others none.
void OpenGateEdge(WorldState& w, const UnitRecord& u) {
  const int32_t level = TruncToInt(u.rotateSpeed);
  switch (TruncToInt(u.acceleration)) {
    case 1:
      w.neighbourPlusX = level;
      break;
    case 2:
      w.neighbourPlusZ = level;
      break;
    case 3:
      w.neighbourMinusX = level;
      break;
    case 4:
      w.neighbourMinusZ = level;
      break;
    default:
      break;
  }
}

// Class 7. A destroyed gate holds its edge open every step while its record stays live; the
// gate's own destruction opens it at once, since the destruction takes the record out of the
// unit loop.
void UpdateExitGate(WorldState& w, PlayHost& host, int32_t i) {
  UnitRecord& u = w.units[i];
  const double g = w.gameSpeed;
  if (u.sinking == 1) {
    OpenGateEdge(w, u);
    return;
  }
  if (u.life <= 0.0f) {
    u.sinking = 1;
    DestroyUnit(w, host, i);
    OpenGateEdge(w, u);
  }
  FireWeapons(w, host, i, Ship::kEnemy);
  u.lightLevel = 1.0;
  u.heel = 0.0;
  ChargeAndReload(u, g, 1.0);
  u.pok = AdvancePhase(u, u.pok, g, 0.0075);
}

// Door rules by kind: opening and closing distance and speeds; a key (1..3) or the linked
// switch opens some of them.
enum class Opener { kNever, kNear, kKey, kSwitch };
struct DoorRule {
  Opener opener;
  int32_t key;  // 0..2 for kKey
  double openSpeed;
  double closeSpeed;
};

DoorRule DoorRuleOf(int32_t k) {
  switch (k) {
    case kind::kGate:
    case kind::kGate2:
      return {Opener::kNear, 0, 0.05, 0.03};
    case kind::kKeyGate1:
    case kind::kKeyGate1b:
      return {Opener::kKey, 0, 0.05, 0.03};
    case kind::kKeyGate2:
    case kind::kKeyGate2b:
      return {Opener::kKey, 1, 0.05, 0.03};
    case kind::kKeyGate3:
    case kind::kKeyGate3b:
      return {Opener::kKey, 2, 0.05, 0.03};
    case kind::kLock:
    case kind::kLock2:
      return {Opener::kSwitch, 0, 0.07, 0.05};
    default:
      return {Opener::kNever, 0, 0.0, 0.0};  // walls 32..35, 37, 38
  }
}

// The door slid from its home (sinkMotion) along its heading by `amount`.
void PlaceDoor(UnitRecord& u, double amount) {
  u.posX = u.sinkMotion.x - std::sin(u.rotY) * amount;
  u.posY = u.sinkMotion.y;
  u.posZ = u.sinkMotion.z - std::cos(u.rotY) * amount;
}

// Class 8.
void UpdateDoor(WorldState& w, PlayHost& host, int32_t i) {
  UnitRecord& u = w.units[i];
  if (u.sinking == 1) return;
  const UnitRecord* player = PlayerUnit(w);
  const double d =
      player != nullptr ? Distance3(UnitPos(u), UnitPos(*player)) : HUGE_VAL;  // no player: far
  const DoorRule rule = DoorRuleOf(u.unitKind);
  const float before = u.acceleration;

  bool open = false;
  bool close = false;
  bool settle = false;
  switch (rule.opener) {
    case Opener::kNear:
      open = d <= 3.0;
      settle = !open;
      close = d >= 5.0;
      break;
    case Opener::kKey:
      open = d <= 5.0 && w.keys[rule.key] == 1;
      settle = d > 5.0;
      close = settle;
      break;
    case Opener::kSwitch: {
      const int32_t s = LinkedSwitch(w, i);
      open = s != 0 && SwitchThrown(w, s);
      settle = !open && d >= 5.0;
      close = settle;
      break;
    }
    case Opener::kNever:
      break;
  }

  if (open) {
    u.acceleration = static_cast<float>(std::min<double>(before + rule.openSpeed, kDoorOpen));
    PlaceDoor(u, u.acceleration);
    if (before == 0.0f && u.acceleration > 0.0f)
      host.PlaySound(sound::kGate, u.posX, u.posY, u.posZ);
  } else if (settle) {
    if (close) {
      u.acceleration = static_cast<float>(std::max<double>(before - rule.closeSpeed, 0.0));
      if (before == kDoorOpen && u.acceleration < kDoorOpen)
        host.PlaySound(sound::kGate, u.posX, u.posY, u.posZ);
    }
    // A door at rest and shut takes its present position as its home (a newly placed door);
    // one that has just closed goes back to the home it slid from, so it never creeps.
    if (u.acceleration == 0.0f && before == 0.0f) {
      u.sinkMotion.x = u.posX;
      u.sinkMotion.y = u.posY;
      u.sinkMotion.z = u.posZ;
    }
    PlaceDoor(u, u.acceleration);
  }
  u.lightLevel = 1.0;
  u.heel = 0.0;
  u.rotX = 0.0;
  u.rotZ = 0.0;
}

// Class 9: fires its main gun once per throw of its switch, as soon as its reload allows; it
// cannot be destroyed.
void UpdateLinkedGun(WorldState& w, PlayHost& host, int32_t i) {
  UnitRecord& u = w.units[i];
  const double g = w.gameSpeed;
  u.reload = static_cast<float>(std::min<double>(u.maxReload, u.reload + g * u.reloadSpeed));
  u.lightLevel = 1.0;
  u.maxLife = 100000.0f;
  u.life = 100000.0f;
  const int32_t s = LinkedSwitch(w, i);
  if (s != 0 && SwitchThrown(w, s) && u.reload >= u.maxReload) FireMainGun(w, host, i);
}

// Class 10: bobs, reloads, and never dies; rotateSpeed is its second animation phase.
void UpdateFloat(WorldState& w, int32_t i) {
  UnitRecord& u = w.units[i];
  const double g = w.gameSpeed;
  Bob(u, g, 0.0005);
  u.reload = static_cast<float>(std::min<double>(u.maxReload, u.reload + g * u.reloadSpeed));
  u.lightLevel = 1.0;
  u.rotateSpeed = AdvancePhase(u, u.rotateSpeed, g, 0.0075);
  u.life = u.maxLife;
}

}  // namespace

int32_t LinkedSwitch(const WorldState& w, int32_t i) {
  const int32_t s = TruncToInt(w.units[i].rotateSpeed);
  if (s < 1 || s >= kUnitSlots) return 0;
  return w.units[s].unitKind == kind::kSwitch ? s : 0;
}

bool SwitchThrown(const WorldState& w, int32_t s) {
  return w.units[s].reload < w.units[s].maxReload;
}

void UpdateFixedUnit(WorldState& w, PlayHost& host, int32_t unit, int32_t unitClass) {
  switch (unitClass) {
    case unit_class::kEmplacement:
      UpdateEmplacement(w, host, unit);
      break;
    case unit_class::kExitGate:
      UpdateExitGate(w, host, unit);
      break;
    case unit_class::kDoor:
      UpdateDoor(w, host, unit);
      break;
    case unit_class::kLinkedGun:
      UpdateLinkedGun(w, host, unit);
      break;
    case unit_class::kFloat:
      UpdateFloat(w, unit);
      break;
    default:
      break;
  }
}

}  // namespace skerrow
