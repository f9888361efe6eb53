// The kind table of the content pack and the kind pack / unit parameter records built from it.
#include "world_kinds.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/cp1251.h"

namespace skerrow::content {

namespace {

// A row of the table: the kind's name and class come from its role.
constexpr KindInfo Row(int32_t k, float alertRadius, float standoffMin, float standoffMax,
                       float speed, float turn, float life, float mass, float radius, float kren,
                       float reloadTime, float sideReloadTime, float chargeTime, uint8_t haveAI,
                       float flightHeight = 0) {
  const KindRole& role = kKindRoles[static_cast<size_t>(k)];
  return {k,          role.nameUtf8,  role.kindClass, alertRadius, standoffMin, standoffMax,
          speed,      turn,           life,           mass,        radius,      kren,
          reloadTime, sideReloadTime, chargeTime,     haveAI,      flightHeight};
}

// Flying heights. Bombers hover above 3, where the homing rockets find them, and drop their
// bombs straight down; the seaplane's level shells and the autogyro's lobbed ones reach a ship
// from where each holds off, about 6 and 4.5 units away, only from a low height.
constexpr float kBomberHeight = 3.5f;
constexpr float kSeaplaneHeight = 1.2f;
constexpr float kAutogyroHeight = 1.5f;
constexpr float kFortressHeight = 3.5f;
constexpr float kFighterHeight = 3.5f;

constexpr float kSwitchSeconds = 10.0f;  // a thrown switch stays triggered this long

// Each row: kind, alert radius, standoff min/max, speed (u/s), turn (rad/s), life, mass, radius,
// kren, reload s, side reload s, charge s, AI, and for an aircraft its flying height.
constexpr KindInfo kKinds[] = {
    Row(kind::kPaddleSteamer, 0, 0, 0, 4.0f, 1.6f, 100, 6, 0.75f, 60, 1.2f, 2.0f, 1.0f, 0),
    Row(kind::kSternWheeler, 0, 0, 0, 3.3f, 1.3f, 140, 9, 0.85f, 45, 1.5f, 2.4f, 1.2f, 0),
    Row(kind::kCruiser, 0, 0, 0, 4.8f, 1.9f, 80, 5, 0.7f, 70, 1.0f, 1.8f, 0.8f, 0),
    // Exit gate: its edge and target level are set where it is placed; a buoy only bobs.
    Row(kind::kSluiceGate, 0, 0, 0, 0, 0, 120, 100, 1.2f, 0, 0, 0, 0, 0),
    Row(kind::kBuoy, 0, 0, 0, 0, 0, 50, 5, 0.5f, 60, 0, 0, 0, 0),
    Row(kind::kPatrolBoat, 12, 0, 0, 3.4f, 1.8f, 25, 2, 0.5f, 40, 2.0f, 0, 0.5f, 1),
    Row(kind::kGunboat, 12, 0, 0, 2.6f, 1.2f, 40, 4, 0.65f, 50, 2.2f, 0, 0.6f, 1),
    Row(kind::kFireShip, 10, 0, 0, 3.6f, 1.4f, 20, 3, 0.6f, 50, 0, 0, 0, 1),
    Row(kind::kTorpedoBoat, 14, 0, 0, 3.8f, 1.8f, 25, 2, 0.5f, 40, 3.0f, 0, 0.5f, 1),
    Row(kind::kBrig, 12, 0, 0, 2.4f, 1.0f, 60, 6, 0.75f, 60, 1.6f, 0, 0.6f, 1),
    Row(kind::kSubmarine, 12, 0, 0, 2.6f, 1.1f, 50, 5, 0.7f, 20, 2.5f, 0, 0.6f, 1),
    Row(kind::kSteamRam, 10, 0, 0, 3.2f, 1.2f, 50, 8, 0.8f, 40, 0, 0, 0, 1),
    Row(kind::kCoastalFort, 8, 0, 0, 0, 0.9f, 80, 50, 0.8f, 0, 2.0f, 0, 0.6f, 1),
    Row(kind::kFortTower, 8, 0, 0, 0, 0.9f, 100, 50, 0.8f, 0, 1.8f, 0, 0.6f, 1),
    // Found-item wrecks: the item number goes into `acceleration` where they are placed.
    Row(kind::kMonitor, 0, 0, 0, 0, 0, 30, 20, 1.2f, 0, 0, 0, 0, 0),
    Row(kind::kFlameGunboat, 12, 0, 0, 2.6f, 1.2f, 45, 4, 0.65f, 50, 2.0f, 0, 0.6f, 1),
    Row(kind::kBomber, 14, 0, 0, 4.5f, 1.2f, 30, 2, 0.7f, 30, 2.5f, 0, 0.5f, 1, kBomberHeight),
    Row(kind::kHeavyBomber, 14, 0, 0, 4.0f, 1.0f, 45, 3, 0.8f, 30, 2.5f, 0, 0.5f, 1, kBomberHeight),
    Row(kind::kFrigate, 14, 4, 9, 2.8f, 1.1f, 90, 8, 0.85f, 60, 2.0f, 2.6f, 0.8f, 1),
    Row(kind::kShipOfTheLine, 14, 5, 10, 2.4f, 0.9f, 140, 12, 1.0f, 60, 2.0f, 3.0f, 0.8f, 1),
    Row(kind::kSkimmer, 14, 0, 0, 4.2f, 1.6f, 25, 2, 0.55f, 40, 2.0f, 0, 0.5f, 1),
    Row(kind::kItemWreck22, 0, 0, 0, 0, 0, 30, 20, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kCoinChest, 0, 0, 0, 0, 0, 10, 1, 0.5f, 30, 0, 0, 0, 1),
    Row(kind::kAutogyro, 14, 0, 0, 3.8f, 1.4f, 25, 2, 0.6f, 30, 2.2f, 0, 0.5f, 1, kAutogyroHeight),
    Row(kind::kSeaplane, 14, 0, 0, 4.2f, 1.4f, 30, 2, 0.6f, 30, 2.0f, 2.0f, 0.5f, 1,
        kSeaplaneHeight),
    Row(kind::kShoreBattery, 8, 0, 0, 0, 0, 60, 50, 0.9f, 0, 2.4f, 0, 0.6f, 1),
    Row(kind::kMortarBoat, 14, 0, 0, 2.2f, 1.0f, 50, 5, 0.7f, 50, 3.0f, 0, 0.8f, 1),
    Row(kind::kGate, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kKeyGate1, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kKeyGate3, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kKeyGate2, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kFlameWallA, 12, 0, 0, 3.0f, 1.5f, 35, 3, 0.6f, 50, 2.0f, 0, 0.5f, 1),
    Row(kind::kFlameWallB, 12, 0, 0, 2.7f, 1.3f, 50, 4, 0.7f, 50, 2.0f, 0, 0.5f, 1),
    Row(34, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    // A thrown switch stays triggered for its reload: long enough to sail through its sluice.
    Row(kind::kSwitch, 0, 0, 0, 0, 0, 100, 100, 0.6f, 0, kSwitchSeconds, 0, 0, 0),
    Row(kind::kLock, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kItemWreck37, 0, 0, 0, 0, 0, 30, 20, 1.0f, 0, 0, 0, 0, 0),
    Row(38, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kGate2, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kKeyGate1b, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kKeyGate3b, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kKeyGate2b, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kLock2, 0, 0, 0, 0, 0, 1000, 100, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kPirateFlagship, 16, 0, 0, 2.2f, 0.8f, 400, 30, 1.5f, 40, 1.5f, 2.5f, 0.8f, 1),
    // Linked gun: fires whenever its switch is triggered and its own reload is full, so its
    // reload outlasts the switch's: one heavy shell per throw.
    Row(kind::kHeavyGunship, 0, 0, 0, 0, 0, 100, 50, 0.7f, 0, kSwitchSeconds + 2.0f, 0, 0, 0),
    Row(kind::kFlyingFortress, 18, 0, 0, 2.5f, 0.8f, 120, 40, 2.0f, 20, 2.0f, 0, 0.8f, 1,
        kFortressHeight),
    Row(kind::kIronclad, 16, 0, 0, 2.0f, 0.8f, 500, 35, 1.5f, 40, 1.8f, 2.5f, 0.8f, 1),
    Row(kind::kSeaMine, 2, 0, 0, 0, 0, 5, 1, 0.4f, 0, 0, 0, 0, 1),
    Row(kind::kItemWreck50, 0, 0, 0, 0, 0, 30, 20, 1.0f, 0, 0, 0, 0, 0),
    Row(kind::kFighter, 16, 0, 0, 5.0f, 1.6f, 35, 2, 0.6f, 30, 1.5f, 1.5f, 0.5f, 1, kFighterHeight),
    Row(kind::kExitMarker, 0, 0, 0, 0, 0, 100000, 1, 0.1f, 0, 0, 0, 0, 0),
};

constexpr bool KindsAscending() {
  for (size_t i = 1; i < std::size(kKinds); ++i)
    if (kKinds[i].kind <= kKinds[i - 1].kind) return false;
  for (const KindInfo& k : kKinds)
    if (k.kind < 1 || k.kind >= kKindCount || k.nameUtf8 == nullptr) return false;
  return true;
}
static_assert(KindsAscending(), "kind rows must be unique, in order, and have a named role");

// Every named role has its row: the pack holds exactly the kinds the vocabulary names.
constexpr bool EveryRoleHasARow() {
  size_t named = 0;
  for (const KindRole& r : kKindRoles)
    if (r.nameUtf8 != nullptr) ++named;
  return named == std::size(kKinds);
}
static_assert(EveryRoleHasARow(), "a named kind role without a row of parameters");

// Play-rate conversions: one step is 40 ms at gameSpeed g = 40; rates are per millisecond.
constexpr double kG = 40.0;
constexpr double kDragPerStep = 0.998 - kG / 500.0;  // velocity factor per step
constexpr double kStepsPerSecond = 25.0;

// Thrust per step that gives `speed` world units per second at the drag equilibrium.
float AccelerationFor(double speed) {
  // Equilibrium velocity v = a g / (1 - drag); the unit moves g v per step.
  return static_cast<float>(speed / kStepsPerSecond * (1.0 - kDragPerStep) / (kG * kG));
}

// Turn acceleration giving `turn` radians per second at the turn-rate limit sqrt(g) rs 0.97/0.03.
float RotateSpeedFor(double turn) {
  double limit = turn / kStepsPerSecond / kG;  // turnRate per gameSpeed unit
  return static_cast<float>(limit * 0.03 / 0.97 / std::sqrt(kG));
}

// A counter growing by g * rate per step reaches `max` after `seconds`.
float RateFor(double max, double seconds) {
  return seconds > 0 ? static_cast<float>(max / (seconds * 1000.0)) : 0.0f;
}

}  // namespace

std::span<const KindInfo> WorldKinds() {
  return kKinds;
}

const KindInfo* FindKind(int32_t kind) {
  for (const KindInfo& k : kKinds)
    if (k.kind == kind) return &k;
  return nullptr;
}

UnitRecord MakeUnitRecord(const KindInfo& info) {
  UnitRecord u;
  std::memset(&u, 0, sizeof u);
  u.unitKind = info.kind;
  u.alive = 1;
  u.mass = info.mass;
  u.radius = info.radius;
  u.life = info.life;
  u.maxLife = info.life;
  u.lightLevel = 1.0;
  u.posY = info.flightHeight;
  u.haveAI = info.haveAI;
  u.acceleration = info.speed > 0 ? AccelerationFor(info.speed) : 0.0f;
  u.rotateSpeed = info.turn > 0 ? RotateSpeedFor(info.turn) : 0.0f;
  u.kren = info.kren;
  u.maxReload = 100;
  u.reload = 100;
  u.reloadSpeed = RateFor(100, info.reloadTime);
  u.maxSideReload = 100;
  u.sideReload = 100;
  u.sideReloadSpeed = RateFor(100, info.sideReloadTime);
  u.maxPower = 100;
  u.powerSpeed = RateFor(100, info.chargeTime);
  u.maxSidePower = 100;
  u.sidePowerSpeed = RateFor(100, info.chargeTime);
  return u;
}

std::vector<uint8_t> BuildKindPack() {
  auto table = std::make_unique<KindTable>();
  std::memset(table.get(), 0, sizeof(KindTable));
  for (const KindInfo& k : kKinds) {
    KindRecord& r = (*table)[k.kind];
    std::string name = Utf8ToCp1251(k.nameUtf8);
    if (name.size() > 255) throw std::runtime_error("kind name too long");
    r.kindName.length = static_cast<uint8_t>(name.size());
    std::memcpy(r.kindName.chars, name.data(), name.size());
    r.kindClass = k.kindClass;
    r.kindAlertRadius = k.alertRadius;
    r.kindStandoffMin = k.standoffMin;
    r.kindStandoffMax = k.standoffMax;
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(table.get());
  std::vector<uint8_t> out(bytes, bytes + sizeof(KindTable));
  if (out.size() != kKindPackSize) throw std::runtime_error("kind pack size");
  return out;
}

}  // namespace skerrow::content
